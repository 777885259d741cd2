// The showcase driven by clicks: article choice, paging, the empty looks, the sale lists and the
// fallbacks for pictures and prices.
#include "app/support/MessageRecorder.h"
#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"
#include "app/support/ShopFolder.h"
#include "tests/support/XlsRewrite.h"

#include "common/Controls.h"
#include "showcase/Vitrina.h"
#include "store/xls/BiffRecords.h"
#include "tools/DemoShop.h"
#include "app/support/Lists.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kGreen(40, 170, 60);

QStringList names(const app::Form1& w)
{
    return {w.Label4->text(), w.Label6->text(), w.Label9->text()};
}

QStringList prices(const app::Form1& w)
{
    return {w.Label2->text(), w.Label8->text(), w.Label11->text()};
}

// The visible parts of slot k: picture, name, "цена:", price, "лв.", details link.
std::vector<bool> slotShown(const app::Form1& w, int k)
{
    const std::array<std::array<const QWidget*, 5>, 3> labels{{
        {w.Label4, w.Label3, w.Label2, w.Label18, w.Label12},
        {w.Label6, w.Label7, w.Label8, w.Label19, w.Label13},
        {w.Label9, w.Label10, w.Label11, w.Label20, w.Label14}}};
    std::vector<bool> shown{!w.Image1[size_t(k)]->isHidden()};
    for (const QWidget* l : labels[size_t(k)]) shown.push_back(!l->isHidden());
    return shown;
}

const std::vector<bool> kFilled(6, true);
const std::vector<bool> kHidden(6, false);
const std::vector<bool> kPictureOnly{true, false, false, false, false, false};

std::vector<QWidget*> salePanel(const app::Form1& w)
{
    return {w.Label15, w.List2, w.List3, w.Combo1, w.Image8, w.Image9, w.Text4,
            w.Command1, w.Command9, w.Label16, w.Option1, w.Option2, w.Image7};
}

bool saleOpen(const app::Form1& w)
{
    const auto panel = salePanel(w);
    return std::all_of(panel.begin(), panel.end(), [](QWidget* c) { return !c->isHidden(); });
}

bool saleClosed(const app::Form1& w)
{
    const auto panel = salePanel(w);
    return std::all_of(panel.begin(), panel.end(), [](QWidget* c) { return c->isHidden(); });
}

bool detailsOpen(const app::Form1& w)
{
    return !w.Label21->isHidden() && !w.Image5->isHidden() && !w.Text3->isHidden() && !w.Image2->isHidden();
}

bool detailsClosed(const app::Form1& w)
{
    return w.Label21->isHidden() && w.Image5->isHidden() && w.Text3->isHidden() && w.Image2->isHidden();
}

} // namespace

TEST(Showcase, PagingThroughFourGoodsStopsAtBothEnds)
{
    ShopFolder shop;
    store::Worksheet& article = shop.addArticle(QStringLiteral("Кубчета"));
    for (int i = 1; i <= 4; ++i) shop.addGoods(article, {QStringLiteral("Стока %1").arg(i), double(i), i});
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    QSignalSpy listed(&w.vitrina(), &showcase::Vitrina::articleListed);
    clickRow(w.List1, 0);
    EXPECT_EQ(w.ImeNaList, QStringLiteral("Кубчета"));
    ASSERT_EQ(listed.count(), 1);
    EXPECT_EQ(listed[0][0].toString(), QStringLiteral("  Кубчета"));
    EXPECT_EQ(names(w), (QStringList{QStringLiteral("Стока 1"), QStringLiteral("Стока 2"), QStringLiteral("Стока 3")}));
    EXPECT_EQ(prices(w), (QStringList{QStringLiteral("1,00"), QStringLiteral("2,00"), QStringLiteral("3,00")}));
    for (int k = 0; k < 3; ++k) EXPECT_EQ(slotShown(w, k), kFilled) << k;

    QTest::mouseClick(w.Image6, Qt::LeftButton);
    EXPECT_EQ(w.NachalenRed, 5);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Стока 4"));
    EXPECT_EQ(slotShown(w, 0), kFilled);
    EXPECT_EQ(slotShown(w, 1), kHidden);
    EXPECT_EQ(slotShown(w, 2), kHidden);
    QTest::mouseClick(w.Image6, Qt::LeftButton);
    EXPECT_EQ(w.NachalenRed, 5);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Стока 4"));

    QTest::mouseClick(w.Image3, Qt::LeftButton);
    EXPECT_EQ(w.NachalenRed, 2);
    EXPECT_EQ(names(w), (QStringList{QStringLiteral("Стока 1"), QStringLiteral("Стока 2"), QStringLiteral("Стока 3")}));
    for (int k = 0; k < 3; ++k) EXPECT_EQ(slotShown(w, k), kFilled) << k;
    QTest::mouseClick(w.Image3, Qt::LeftButton);
    EXPECT_EQ(w.NachalenRed, 2);

    // Choosing the article again starts from its first page.
    QTest::mouseClick(w.Image6, Qt::LeftButton);
    clickRow(w.List1, 0);
    EXPECT_EQ(w.NachalenRed, 2);
}

TEST(Showcase, ArticleWithoutGoodsAndARowWithoutName)
{
    ShopFolder shop;
    shop.addArticle(QStringLiteral("Празен"));
    store::Worksheet& gaps = shop.addArticle(QStringLiteral("С дупка"));
    gaps.setValue(2, store::layout::article::kName, store::Value(QStringLiteral("Първа")));
    gaps.setValue(4, store::layout::article::kName, store::Value(QStringLiteral("Трета")));
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    ASSERT_EQ(entries(w.List1), (QStringList{QStringLiteral("  С дупка"), QStringLiteral("  Празен")}));

    clickRow(w.List1, 0);
    EXPECT_EQ(slotShown(w, 0), kFilled);
    EXPECT_EQ(slotShown(w, 1), kHidden);
    EXPECT_EQ(slotShown(w, 2), kFilled);
    EXPECT_EQ(w.Label9->text(), QStringLiteral("Трета"));
    EXPECT_TRUE(saleOpen(w));

    clickRow(w.List1, 1);
    EXPECT_EQ(slotShown(w, 0), kPictureOnly);
    EXPECT_TRUE(nearColour(shownColour(w.Image1[0]), ShopFolder::kNoGoodsColour));
    EXPECT_EQ(slotShown(w, 1), kHidden);
    EXPECT_EQ(slotShown(w, 2), kHidden);
    EXPECT_TRUE(saleClosed(w));
    EXPECT_EQ(w.BroiStoki, 0);
    EXPECT_TRUE(entries(w.List2).size() == 0 && entries(w.List3).size() == 0);
    EXPECT_EQ(entries(w.Combo1), QStringList{QStringLiteral("Брой")});
}

TEST(Showcase, PricesAndPicturesFallBackInsteadOfStopping)
{
    ShopFolder shop;
    const QString toys = QStringLiteral("Играчки");
    store::Worksheet& article = shop.addArticle(toys);
    shop.addGoods(article, {QStringLiteral("Топка"), 5.5, 1, QStringLiteral("топка.jpg")});
    shop.addGoods(article, {QStringLiteral("Кукла"), store::Value(), 1});
    shop.addGoods(article, {QStringLiteral("Мече"), store::Value(QStringLiteral("по договаряне")), 1, QStringLiteral("няма.jpg")});
    shop.addGoods(article, {QStringLiteral("Кола"), 12345.5, 1, QStringLiteral("../BezArtikul.JPG")});
    shop.addGoods(article, {QStringLiteral("Влак"), 2.0, 1, QStringLiteral("вагони/влак.jpg")});
    shop.addGoods(article, {QStringLiteral("Книжка"), 3.0, 1, QStringLiteral("счупена.jpg")});
    shop.putPicture(toys, QStringLiteral("топка.jpg"), kGreen);
    QDir(shop.file(QStringLiteral("Kartini/Играчки"))).mkdir(QStringLiteral("вагони"));
    shop.putPicture(toys, QStringLiteral("вагони/влак.jpg"), kGreen);
    QFile broken(shop.file(QStringLiteral("Kartini/Играчки/счупена.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xff\xd8 not really a picture");
    broken.close();
    shop.save();

    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    clickRow(w.List1, 0);
    EXPECT_EQ(prices(w), (QStringList{QStringLiteral("5,50"), QStringLiteral("0,00"), QStringLiteral("по договаряне")}));
    EXPECT_TRUE(nearColour(shownColour(w.Image1[0]), kGreen));
    EXPECT_TRUE(nearColour(shownColour(w.Image1[1]), ShopFolder::kNoPictureColour));
    EXPECT_TRUE(nearColour(shownColour(w.Image1[2]), ShopFolder::kNoPictureColour));

    QTest::mouseClick(w.Image6, Qt::LeftButton);
    EXPECT_EQ(names(w), (QStringList{QStringLiteral("Кола"), QStringLiteral("Влак"), QStringLiteral("Книжка")}));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("12345,50"));
    // Neither a climb out of the article's folder nor a folder inside it is followed.
    for (const app::ImageBox* picture : w.Image1) {
        EXPECT_TRUE(nearColour(shownColour(picture), ShopFolder::kNoPictureColour)) << picture->objectName().toStdString();
        EXPECT_TRUE(picture->pictureFile().endsWith(QStringLiteral("/Kartini/BezKartina.JPG")));
    }
    EXPECT_TRUE(messages.messages().empty());
}

// A phone's photo is read at the size it is shown at; one larger than any camera takes shows the
// "no picture" picture.
TEST(Showcase, PhonePhotosShowAndPicturesTooLargeFallBack)
{
    ShopFolder shop;
    const QString toys = QStringLiteral("Играчки");
    store::Worksheet& article = shop.addArticle(toys);
    shop.addGoods(article, {QStringLiteral("Топка"), 1.0, 1, QStringLiteral("снимка.jpg")});
    shop.addGoods(article, {QStringLiteral("Кукла"), 1.0, 1, QStringLiteral("огромна.jpg")});
    writePhoto(shop.file(QStringLiteral("Kartini/Играчки/снимка.jpg")), kGreen, QSize(8000, 6000));
    writePhotoClaimingSize(shop.file(QStringLiteral("Kartini/Играчки/огромна.jpg")), QSize(20000, 12000));
    shop.save();

    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    clickRow(w.List1, 0);
    EXPECT_TRUE(nearColour(shownColour(w.Image1[0]), kGreen));
    EXPECT_LT(w.Image1[0]->pixmap().width(), 8000 / 4);
    EXPECT_TRUE(nearColour(shownColour(w.Image1[1]), ShopFolder::kNoPictureColour));
    EXPECT_TRUE(messages.messages().empty());
}

// Another program renamed the article's sheet to more than the 31 characters one may type here.
TEST(Showcase, ArticleRenamedElsewhereToALongNameIsListed)
{
    ShopFolder shop;
    shop.addGoods(shop.addArticle(QStringLiteral("Играчки")), {QStringLiteral("Топка"), 2.0, 1});
    shop.save();
    const QString longName = QStringLiteral("Играчки за най-малките от нула до три години");
    const QString danni = shop.file(QStringLiteral("Danni.xls"));
    int sheet = 0;
    testsupport::rewriteXls(danni, danni + QStringLiteral(".new"),
                            [&](const testsupport::RawRecord& r) -> std::optional<testsupport::RawRecord> {
                                if (r.id != store::xls::rec::BoundSheet || sheet++ != 0) return r;
                                return testsupport::RawRecord{r.id, testsupport::boundSheetNamed(r.data, longName)};
                            });
    ASSERT_TRUE(QFile::remove(danni) && QFile::rename(danni + QStringLiteral(".new"), danni));

    MessageRecorder messages;
    RunningProgram run(shop.path());
    ASSERT_TRUE(run.started()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    app::Form1& w = run.logIn();
    EXPECT_EQ(entries(w.List1), (QStringList{QStringLiteral("  ") + longName}));
    clickRow(w.List1, 0);
    EXPECT_EQ(names(w)[0], QStringLiteral("Топка"));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(Showcase, GoodsAndStockListsStayTogetherAndFillTheQuantityBox)
{
    ShopFolder shop;
    store::Worksheet& article = shop.addArticle(QStringLiteral("Колички"));
    shop.addGoods(article, {QStringLiteral("Лятна"), 300.0, 2});
    shop.addGoods(article, {QStringLiteral("Зимна"), 450.0, 0});
    shop.addGoods(article, {QStringLiteral("Двойна"), 520.0, 5});
    shop.addArticle(QStringLiteral("Празен"));
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    clickRow(w.List1, 1);
    EXPECT_EQ(w.BroiStoki, 3);
    EXPECT_EQ(entries(w.List2), (QStringList{QStringLiteral("Лятна"), QStringLiteral("Зимна"), QStringLiteral("Двойна")}));
    EXPECT_EQ(entries(w.List3), (QStringList{QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("5")}));
    EXPECT_EQ(entries(w.Combo1), QStringList{QStringLiteral("Брой")});
    EXPECT_TRUE(saleOpen(w));

    clickRow(w.List3, 2);
    EXPECT_EQ(currentRow(w.List2), 2);
    EXPECT_EQ(entries(w.Combo1), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")}));
    clickRow(w.List2, 1);
    EXPECT_EQ(currentRow(w.List3), 1);
    EXPECT_EQ(w.Combo1->count(), 0);
    clickRow(w.List2, 0);
    EXPECT_EQ(currentRow(w.List3), 0);
    EXPECT_EQ(entries(w.Combo1), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));

    // The sale panel's own close image, then an article without goods.
    QTest::mouseClick(w.Image7, Qt::LeftButton);
    EXPECT_TRUE(saleClosed(w));
    clickRow(w.List1, 1);
    clickRow(w.List1, 0);
    EXPECT_TRUE(saleClosed(w));
    EXPECT_EQ(entries(w.List2).size(), 0);
}

// The lists follow the article chosen, after an article without goods too, and show its entries
// where they are clicked.
TEST(Showcase, SaleListsFollowTheArticleAndAnswerClicks)
{
    ShopFolder shop;
    store::Worksheet& many = shop.addArticle(QStringLiteral("Много"));
    for (int k = 1; k <= 40; ++k) shop.addGoods(many, {QStringLiteral("Стока %1").arg(k), 1.0 * k, k % 4});
    shop.addArticle(QStringLiteral("Празен"));
    store::Worksheet& two = shop.addArticle(QStringLiteral("Две"));
    shop.addGoods(two, {QStringLiteral("Първа"), 3.0, 1});
    shop.addGoods(two, {QStringLiteral("Втора"), 4.0, 3});
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();

    clickRow(w.List1, 2);   // the list shows the articles last added first
    ASSERT_EQ(entries(w.List2).size(), 40);
    clickRow(w.List1, 1);
    EXPECT_EQ(entries(w.List2).size(), 0);
    clickRow(w.List1, 0);
    EXPECT_EQ(entries(w.List2), (QStringList{QStringLiteral("Първа"), QStringLiteral("Втора")}));
    clickRow(w.List2, 1);
    EXPECT_EQ(currentRow(w.List3), 1);
    EXPECT_EQ(entries(w.Combo1), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

TEST(Showcase, DetailsPanelShowsTheRowAsStoredAtTheClick)
{
    ShopFolder shop;
    const QString toys = QStringLiteral("Играчки");
    store::Worksheet& article = shop.addArticle(toys);
    shop.addGoods(article, {QStringLiteral("Мече"), 12.0, 3, QStringLiteral("мече.jpg"), QStringLiteral("Играчки ООД"),
                            QStringLiteral("Меко и пухкаво")});
    shop.addGoods(article, {QStringLiteral("Кукла"), store::Value(), 0});
    shop.addGoods(article, {QStringLiteral("Пумпал"), store::Value(QStringLiteral("около 3")), 1});
    shop.putPicture(toys, QStringLiteral("мече.jpg"), kGreen);
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    clickRow(w.List1, 0);

    QTest::mouseClick(w.Label12, Qt::LeftButton);
    ASSERT_TRUE(detailsOpen(w));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("\r\nМече\r\nцена: 12,00 лв.\r\n\r\nНалично\r\n\r\nПроизводител:\r\n"
                                              "Играчки ООД\r\n\r\nМеко и пухкаво\r\n"));
    EXPECT_TRUE(nearColour(shownColour(w.Image5), kGreen));
    EXPECT_EQ(w.Label21->geometry(), QRect(289, 88, 462, 264));
    EXPECT_EQ(w.Image5->geometry(), QRect(296, 104, 257, 241));
    EXPECT_EQ(w.Text3->geometry(), QRect(553, 112, 192, 233));
    EXPECT_EQ(w.Image2->pos(), QPoint(729, 89));
    EXPECT_FALSE(w.Image2->geometry().intersects(w.Text3->geometry())) << "the close cross covers the scroll bar";

    QTest::mouseClick(w.Image2, Qt::LeftButton);
    ASSERT_TRUE(detailsClosed(w));
    QTest::mouseClick(w.Label13, Qt::LeftButton);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("\r\nКукла\r\nцена:  лв.\r\n\r\nНе е налично\r\n\r\nПроизводител:\r\n\r\n\r\n\r\n"));
    EXPECT_TRUE(nearColour(shownColour(w.Image5), ShopFolder::kNoPictureColour));

    // The panel reads the sheet when it opens, not what the slot showed.
    run.program.shop().danni().sheets(toys).setValue(4, store::layout::article::kMaker, store::Value(QStringLiteral("Дърводелец")));
    QTest::mouseClick(w.Image2, Qt::LeftButton);
    QTest::mouseClick(w.Label14, Qt::LeftButton);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("\r\nПумпал\r\nцена: около 3 лв.\r\n\r\nНалично\r\n\r\nПроизводител:\r\n"
                                              "Дърводелец\r\n\r\n\r\n"));

    // Choosing an article closes it.
    clickRow(w.List1, 0);
    EXPECT_TRUE(detailsClosed(w));
}

TEST(Showcase, DemoShopOpensWithPicturesAndPrices)
{
    QTemporaryDir dir;
    layOutDemoShop(dir.path());
    MessageRecorder messages;
    RunningProgram run(dir.path());
    app::Form1& w = run.logIn();
    ASSERT_GT(entries(w.List1).size(), 1);
    clickRow(w.List1, 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(slotShown(w, k), kFilled) << k;
        EXPECT_FALSE(w.Image1[size_t(k)]->pictureFile().endsWith(QStringLiteral("BezKartina.JPG"))) << k;
        EXPECT_FALSE(w.Image1[size_t(k)]->pixmap().isNull()) << k;
    }
    for (const QString& price : prices(w)) EXPECT_TRUE(store::parseNumber(price).has_value()) << price.toStdString();
    EXPECT_TRUE(saleOpen(w));
    EXPECT_TRUE(messages.messages().empty());
}
