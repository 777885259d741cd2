// A leva shop told of the euro, going over from the menu as the shop keeper does, and selling in
// euro afterwards: the showcase, the invoice and the profit report across the change.
#include "SaleCounter.h"

#include "app/support/MessageRecorder.h"
#include "catalogue/Form4.h"
#include "reports/DateField.h"
#include "reports/Form12.h"
#include "search/Form3.h"
#include "search/Listings.h"
#include "search/SearchSteps.h"
#include "search/Tyrsene.h"
#include "showcase/core/ShowcaseData.h"
#include "store/window/CellText.h"

#include <QAction>
#include <QLabel>
#include <QTest>

namespace {

namespace col = store::layout::article;
namespace index = store::layout::index;

const QString kBall = QStringLiteral("Топка");

} // namespace

TEST(EuroShop, ALevaShopGoesOverFromTheMenuAndSellsInEuro)
{
    const SaleShop shop;
    MessageRecorder messages;
    Counter c(shop);
    EXPECT_TRUE(c.w.evroNotice->isVisible());
    EXPECT_TRUE(c.w.evro->isVisible());
    EXPECT_TRUE(messages.messages().empty()) << "the notice stops no work";

    // Two balls sold in leva at 5.50, bought at 3.00.
    c.add(SaleShop::kToys, kBall, 2);
    c.sell();

    c.add(SaleShop::kToys, kBall, 1);
    c.w.evro->trigger();
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("Кошницата не е празна"));
    c.undo();

    const QByteArray leva = shop.folder.bytes(QStringLiteral("Danni.xls"));
    messages.clear();
    messages.answerNext(app::Answer::No);
    c.w.evro->trigger();
    ASSERT_EQ(messages.ofKind(app::MessageKind::YesNo).size(), 1u);
    EXPECT_TRUE(messages.texts().value(0).contains(QStringLiteral("Ще бъдат превърнати 8 цени (продажни и доставни) на 4 стоки")))
        << qPrintable(messages.texts().value(0));
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(shop.folder.bytes(QStringLiteral("Danni.xls")), leva);
    EXPECT_EQ(c.data().currency(), store::Currency::Leva);

    messages.clear();
    messages.answerNext(app::Answer::Yes);
    c.w.evro->trigger();
    ASSERT_EQ(messages.ofKind(app::MessageKind::Information).size(), 1u) << qPrintable(messages.texts().join(u'|'));
    EXPECT_EQ(c.data().currency(), store::Currency::Euro);
    EXPECT_FALSE(c.w.evroNotice->isVisible());
    EXPECT_FALSE(c.w.evro->isVisible());

    // 5.50 лв. = 2.8121 €; bought at 3.00 лв. = 1.5339 €.
    c.chooseArticle(SaleShop::kToys);
    EXPECT_EQ(c.w.Label2->text(), QStringLiteral("2,81"));
    EXPECT_EQ(c.w.Label18->text(), QStringLiteral("€"));
    c.invoiceChoice(true);
    c.add(SaleShop::kToys, kBall, 1);
    c.sell();
    sales::Form6* dialog = c.invoiceDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    flushClosedWindows();
    EXPECT_EQ(ledgerRow(c.data().indexSheet(), 3), expectedRow(kBall, 1, 2.81, QStringLiteral("0000000001"), 1.53));
    EXPECT_EQ(store::window::shownCellText(c.document(), store::layout::invoice::lineRow(1),
                                           store::layout::invoice::kPriceColumn),
              QStringLiteral("2,81 €"));

    // Profit today: (5.50 − 3.00) × 2 = 5.00 лв. = 2.5565 €, and 2.81 − 1.53 = 1.28 €.
    c.w.Pechalba->trigger();
    auto* report = qobject_cast<reports::Form12*>(c.shop().windows.window(12));
    ASSERT_NE(report, nullptr);
    report->DTPicker1->setDate(QDate::currentDate());
    report->DTPicker2->setDate(QDate::currentDate());
    QTest::mouseClick(report->Command1, Qt::LeftButton);
    EXPECT_EQ(report->Text1->text(), QStringLiteral("3,84"));
    EXPECT_EQ(report->Label10->text(), QStringLiteral("€"));
}

TEST(EuroShop, AShopInEuroIsNotToldAndOffersNoChange)
{
    SaleShop shop;
    shop.folder.data().setCell(index::kCurrency, store::Value(index::kEuroCode));
    shop.folder.save();
    MessageRecorder messages;
    Counter c(shop);
    EXPECT_FALSE(c.w.evroNotice->isVisible());
    EXPECT_FALSE(c.w.evro->isVisible());
    c.chooseArticle(SaleShop::kToys);
    EXPECT_EQ(c.w.Label18->text(), QStringLiteral("€"));
    const store::Worksheet& toys = c.sheet(SaleShop::kToys);
    EXPECT_TRUE(showcase::detailsText(toys, 2).contains(QStringLiteral("цена: 5,50 €\r\n")));
    EXPECT_TRUE(search::recordText(toys, 2).contains(QStringLiteral("цена: 5,50 €\r\n")));
    EXPECT_EQ(search::priceEntries(toys, 4).value(0), QStringLiteral("5,50 €"));
    EXPECT_EQ(search::priceListing(toys, 4, 5.5, 5.5), QStringLiteral("Топка   цена: 5,5 €\r\n"));

    c.w.pocena->trigger();
    search::Form3* search = c.w.tyrsene().dialog();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->Label2->text(), QStringLiteral("€"));
    EXPECT_GE(search->Combo2->findText(QStringLiteral("0 €")), 0);
    EXPECT_GE(search->Combo2->findText(QStringLiteral("5,50 €")), 0);
    c.w.Command5->click();
    auto* editor = qobject_cast<catalogue::Form4*>(c.shop().windows.window(4));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Label8->text(), QStringLiteral("€"));
    EXPECT_TRUE(messages.messages().empty());
}
