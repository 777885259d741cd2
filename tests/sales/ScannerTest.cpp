// A barcode scanner at the till: a code typed into the main window faster than a person types,
// then Enter, puts one piece of its goods into the basket, whatever control has the focus; keys
// typed by a person go on to the control as ever.
#include "SaleCounter.h"

#include "app/support/Keyboard.h"
#include "app/support/MessageRecorder.h"

#include "app/ScannerKeys.h"
#include "sales/SalePanel.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace col = store::layout::article;

const QString& kToys = SaleShop::kToys;
const QString kTrainCode = QStringLiteral("4006381333931");
const QString kBallCode = QStringLiteral("96385074");
const QString kTrain = QStringLiteral("Влак");

// The sale shop with barcodes: the ball (Играчки, row 2) and a train with 2 in stock (row 6), on
// the showcase's second page after the bricks.
struct ScanShop {
    ScanShop()
    {
        store::Worksheet& toys = shop.folder.workbook().sheets(kToys);
        addGoodsBought(shop.folder, toys, QStringLiteral("Кубчета"), 3.0, 4, 1.5);
        addGoodsBought(shop.folder, toys, kTrain, 20.0, 2, 11.0);
        toys.setValue(2, col::kBarcode, store::Value(kBallCode));
        toys.setValue(6, col::kBarcode, store::Value(kTrainCode));
        shop.folder.save();
    }
    SaleShop shop;
};

// The main window logged in with an editable text field holding the focus, and the scanner's
// clock going on by `step` milliseconds at each key.
class Scanner : public ::testing::Test {
protected:
    Scanner() : c(s.shop), field(new QLineEdit(c.w.centralWidget()))
    {
        field->setObjectName(QStringLiteral("testField"));
        field->show();
        activate(&c.w);
        field->setFocus();
        keysEvery(5);
    }
    void keysEvery(qint64 step)
    {
        c.w.scanner().setClock([t = qint64(0), step]() mutable { return t += step; });
    }
    void scan(const QString& code)
    {
        QTest::keyClicks(field, code);
        QTest::keyClick(field, Qt::Key_Return);
    }
    const sales::Koshnica& basket() { return c.w.salePanel().basket(); }

    ScanShop s;
    Counter c;
    QLineEdit* field;
    MessageRecorder messages;
};

} // namespace

TEST_F(Scanner, ACodeAtScannerSpeedShowsItsGoodsAndPutsOnePieceInTheBasketTypingNothing)
{
    c.chooseArticle(SaleShop::kBooks);
    field->setFocus();
    scan(kTrainCode);
    EXPECT_TRUE(field->text().isEmpty()) << "the scanned keys reached the field";
    EXPECT_EQ(entries(c.w.List1).value(currentRow(c.w.List1)), QStringLiteral("  ") + kToys);
    EXPECT_EQ(c.w.NachalenRed, 5) << "the page that holds the train";
    EXPECT_EQ(c.w.Label4->toolTip(), QStringLiteral("Кубчета"));
    EXPECT_EQ(entries(c.w.List2).value(currentRow(c.w.List2)), kTrain);
    ASSERT_EQ(basket().lines(), 1);
    EXPECT_EQ(basket().line(1).name, kTrain);
    EXPECT_EQ(c.stock(kToys, 6), 1);

    // The same goods again: one more on their line; then none is left to scan.
    scan(kTrainCode);
    ASSERT_EQ(basket().lines(), 1);
    EXPECT_EQ(basket().line(1).count, 2);
    EXPECT_EQ(c.stock(kToys, 6), 0);
    EXPECT_EQ(c.sold(kToys, 6), 2);
    scan(kTrainCode);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Стоката „Влак“ не е налична.")});
    EXPECT_EQ(basket().line(1).count, 2);
    EXPECT_EQ(c.stock(kToys, 6), 0);
    EXPECT_TRUE(field->text().isEmpty());
}

TEST_F(Scanner, AFullBasketTakesNoNewLineButRaisesTheLineThatHoldsTheGoods)
{
    for (int i = 1; i < sales::kBasketLines; ++i) c.add(kToys, QStringLiteral("Топка"), 1);
    c.add(kToys, QStringLiteral("Кукла"), 1);
    scan(kBallCode);
    ASSERT_EQ(basket().lines(), sales::kBasketLines);
    EXPECT_EQ(basket().line(1).count, 2);
    EXPECT_EQ(c.stock(kToys, 2), 0);
    EXPECT_TRUE(messages.texts().isEmpty());
    scan(kTrainCode);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().front().startsWith(QStringLiteral("Кошницата е пълна"))) << qPrintable(messages.texts().front());
    EXPECT_EQ(c.stock(kToys, 6), 2);
}

TEST_F(Scanner, KeysTypedAtAPersonsSpeedOrTooFewReachTheField)
{
    keysEvery(200);
    scan(kTrainCode);
    EXPECT_EQ(field->text(), kTrainCode);
    keysEvery(5);
    field->clear();
    scan(QStringLiteral("12345"));
    EXPECT_EQ(field->text(), QStringLiteral("12345")) << "five keys are no code";
    field->clear();
    QTest::keyClicks(field, kBallCode);
    QTRY_COMPARE(field->text(), kBallCode);   // no Enter: after a pause the keys were typing
    EXPECT_TRUE(basket().isEmpty());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(Scanner, AnUnknownCodeIsToldAndTakesNothing)
{
    scan(QStringLiteral("1234567"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Няма стока с баркод „1234567“.")});
    EXPECT_EQ(messages.messages().front().title, app::kWarningTitle);
    EXPECT_TRUE(basket().isEmpty());
    EXPECT_TRUE(field->text().isEmpty());
}
