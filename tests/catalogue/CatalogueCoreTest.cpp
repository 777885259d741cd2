// The catalogue's operations on a workbook and a picture folder, without windows: the number
// check, the names articles and goods may take, the record cells and the purchase ledger, the
// limits, the pictures and the basket's rows.
#include "FakeKeeper.h"

#include "catalogue/core/Articles.h"
#include "catalogue/core/GoodsStore.h"
#include "catalogue/core/NumberCheck.h"
#include "catalogue/core/PictureFiles.h"
#include "store/DataWorkbook.h"
#include "store/PicturePaths.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::fileBytes;
using testsupport::writeBytes;

namespace col = store::layout::article;
namespace idx = store::layout::index;
using catalogue::Field;
using catalogue::GoodsFields;

const QDate kToday(2026, 3, 7);

// A fresh data workbook with its picture root in a temporary folder.
struct Shop {
    QTemporaryDir dir;
    std::unique_ptr<store::Workbook> workbook = store::DataWorkbook::createFresh();
    store::DataWorkbook data{*workbook};
    QString pictures = dir.path() + QStringLiteral("/Kartini");

    Shop() { QDir().mkpath(pictures); }
    QString addArticle(const QString& name)
    {
        const auto added = catalogue::DobaviArtikul(data, pictures, name);
        EXPECT_TRUE(added.refusal.isEmpty()) << added.refusal.toStdString();
        return name;
    }
    catalogue::GoodsStore goods(const QString& article, store::RowKeeper* keeper = nullptr)
    {
        return catalogue::GoodsStore(data, article, pictures, keeper);
    }
    store::Worksheet& sheet(const QString& article) { return workbook->sheets(article); }
    QString index(int row, int column) { return data.indexSheet().value(row, column).toText(); }
};

GoodsFields fields(const QString& name, const QString& price = QStringLiteral("10"),
                   const QString& count = QStringLiteral("3"), const QString& markup = QStringLiteral("20"))
{
    return {name, price, count, markup, 0, {}, {}};
}

} // namespace

TEST(NumberCheck, CharactersAndWholeNumbers)
{
    using catalogue::ProverkaChislo;
    for (const char* text : {"", "12,50", "12.50", "1.5,3", ".", "007"})
        EXPECT_TRUE(ProverkaChislo(QString::fromUtf8(text), true, false, false)) << text;
    for (const char* text : {"1.2.3", "1,2,3", "-5", "+5", "1e5", "12 лв", " 1"})
        EXPECT_FALSE(ProverkaChislo(QString::fromUtf8(text), true, false, false)) << text;
    EXPECT_TRUE(ProverkaChislo(QStringLiteral("-5"), false, false, true));
    EXPECT_TRUE(ProverkaChislo(QStringLiteral("+5"), false, true, false));
    EXPECT_FALSE(ProverkaChislo(QStringLiteral("5-"), false, true, true));
    EXPECT_FALSE(ProverkaChislo(QStringLiteral("3.5"), false, false, false));

    // Passing the characters is not yet being a number.
    EXPECT_EQ(catalogue::typedNumber(QStringLiteral("12,50")), 12.5);
    EXPECT_EQ(catalogue::typedNumber(QStringLiteral("12.50")), 12.5);
    for (const char* text : {"1.5,3", ".", ",", "", "1e5"})
        EXPECT_FALSE(catalogue::typedNumber(QString::fromUtf8(text))) << text;
    EXPECT_EQ(catalogue::typedWholeNumber(QStringLiteral("0")), 0.0);
    EXPECT_FALSE(catalogue::typedWholeNumber(QStringLiteral("3,0")));
}

TEST(Articles, AddingWritesSheetFormulaIndexAndFolder)
{
    Shop shop;
    shop.addArticle(QStringLiteral("Кукли"));
    shop.addArticle(QStringLiteral("Коли"));
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), 3);
    EXPECT_EQ(shop.index(3, idx::kArticleNameColumn), QStringLiteral("Кукли"));
    EXPECT_EQ(shop.index(4, idx::kArticleNameColumn), QStringLiteral("Коли"));
    // A new sheet goes in front of the active one and becomes active.
    EXPECT_EQ(shop.workbook->ActiveSheet().Name(), QStringLiteral("Коли"));
    const store::FormulaCell* t1 = shop.sheet(QStringLiteral("Кукли")).formulaAt(1, 20);
    ASSERT_NE(t1, nullptr);
    EXPECT_EQ(shop.sheet(QStringLiteral("Кукли")).Range(QStringLiteral("T1")).Formula(),
              QStringLiteral("=COUNTIF(B2:B10000,\"<>\")"));
    EXPECT_EQ(shop.data.goodsCount(shop.sheet(QStringLiteral("Кукли"))), 0);
    EXPECT_TRUE(QFileInfo(shop.pictures + QStringLiteral("/Кукли")).isDir());
}

TEST(Articles, NamesTheWorkbookOrTheFoldersCannotTakeAreRefusedWithNothingWritten)
{
    Shop shop;
    const QStringList refused{QString(32, QLatin1Char('a')), QStringLiteral("Коли:нови"), QStringLiteral("a\\b"),
                              QStringLiteral("a/b"), QStringLiteral("Кои?"), QStringLiteral("Всички*"),
                              QStringLiteral("[1]"), QStringLiteral("a]"), QStringLiteral("List"), QStringLiteral("lIST"),
                              QStringLiteral("."), QStringLiteral(".."), QStringLiteral("..."), QStringLiteral(" Кукли"),
                              QStringLiteral("Кукли "), QStringLiteral("'Кукли'"), QStringLiteral("ред\nдва"), QString()};
    for (const QString& name : refused) {
        const auto added = catalogue::DobaviArtikul(shop.data, shop.pictures, name);
        EXPECT_FALSE(added.refusal.isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(shop.workbook->sheetCount(), 1);
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), 1);
    EXPECT_TRUE(shop.data.indexSheet().value(3, idx::kArticleNameColumn).isEmpty());
    EXPECT_TRUE(QDir(shop.pictures).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(QDir(shop.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot) == QStringList{QStringLiteral("Kartini")});

    // The longest name a sheet can take, and dots among other letters, are fine.
    shop.addArticle(QString(31, QLatin1Char('a')));
    shop.addArticle(QStringLiteral("Д.К. играчки"));
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), 3);
}

TEST(Articles, TakenNamesAreWholeNamesWithCaseIgnored)
{
    Shop shop;
    shop.addArticle(QStringLiteral("Кукли за баня"));
    // A part of another name is a name of its own.
    shop.addArticle(QStringLiteral("Кукли"));
    EXPECT_TRUE(catalogue::ProverkaArtikul(shop.data, QStringLiteral("КУКЛИ ЗА БАНЯ")));
    EXPECT_EQ(catalogue::DobaviArtikul(shop.data, shop.pictures, QStringLiteral("кукли")).refusal,
              catalogue::kArticleTaken);
    EXPECT_FALSE(catalogue::ProverkaArtikul(shop.data, QStringLiteral("Кукл")));
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), 3);
}

TEST(Articles, DeletedNamesStayTakenAndSheetsCountEvenWhenColumnBNoLongerShowsThem)
{
    Shop shop;
    shop.addArticle(QStringLiteral("Кукли"));   // B3
    shop.addArticle(QStringLiteral("Коли"));    // B4
    ASSERT_TRUE(catalogue::IztriiArtikul(shop.data, QStringLiteral("Кукли"), nullptr).isEmpty());
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), 2);
    EXPECT_EQ(shop.workbook->sheetCount(), 2);
    EXPECT_TRUE(QFileInfo(shop.pictures + QStringLiteral("/Кукли")).isDir()) << "the pictures stay";
    // Still in B2:B4.
    EXPECT_EQ(catalogue::DobaviArtikul(shop.data, shop.pictures, QStringLiteral("Кукли")).refusal, catalogue::kArticleTaken);
    // The next addition writes B4, over "Коли", whose sheet is still there.
    shop.addArticle(QStringLiteral("Топки"));
    EXPECT_EQ(shop.index(4, idx::kArticleNameColumn), QStringLiteral("Топки"));
    EXPECT_EQ(catalogue::DobaviArtikul(shop.data, shop.pictures, QStringLiteral("коли")).refusal, catalogue::kArticleTaken);
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), shop.workbook->sheetCount());
}

TEST(Articles, AnArticleWithGoodsInTheBasketIsNotDeleted)
{
    Shop shop;
    shop.addArticle(QStringLiteral("Кукли"));
    FakeKeeper basket;
    basket.sheets << QStringLiteral("Кукли");
    EXPECT_FALSE(catalogue::IztriiArtikul(shop.data, QStringLiteral("Кукли"), &basket).isEmpty());
    EXPECT_NE(shop.workbook->findSheet(QStringLiteral("Кукли")), nullptr);
    EXPECT_EQ(shop.data.counter(idx::kSheetCount), 2);
    EXPECT_FALSE(catalogue::IztriiArtikul(shop.data, QStringLiteral("List"), nullptr).isEmpty());
    EXPECT_FALSE(catalogue::IztriiArtikul(shop.data, QStringLiteral("Няма такъв"), nullptr).isEmpty());
    EXPECT_EQ(shop.workbook->sheetCount(), 2);
}

TEST(GoodsStore, AppendWritesTheRecordTheComputedColumnsAndTheLedgerRow)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    GoodsFields first = fields(QStringLiteral("Мече"), QStringLiteral("10"), QStringLiteral("3"), QStringLiteral("20"));
    first.Pr5Text5 = 1;
    first.Pr6Text6 = QStringLiteral("Играчки ООД");
    first.Pr7Text7 = QStringLiteral("Меко");
    EXPECT_EQ(goods.DobaviStokaVEksel(first, {}, kToday).record, 1);
    EXPECT_EQ(goods.DobaviStokaVEksel(fields(QStringLiteral("Топка"), QStringLiteral("12,5"), QStringLiteral("0"),
                                             QStringLiteral("0.5")), {}, kToday).record, 2);
    const store::Worksheet& s = shop.sheet(QStringLiteral("Играчки"));
    EXPECT_EQ(goods.count(), 2);
    EXPECT_EQ(s.value(2, col::kName).toText(), QStringLiteral("Мече"));
    EXPECT_EQ(s.value(2, col::kPurchasePrice).toNumber(), 10.0);
    EXPECT_EQ(s.value(2, col::kStock).toNumber(), 3.0);
    EXPECT_EQ(s.value(2, col::kMarkup).toNumber(), 20.0);
    EXPECT_DOUBLE_EQ(*s.value(2, col::kPrice).toNumber(), 12.0);
    EXPECT_DOUBLE_EQ(*s.value(2, col::kStockValue).toNumber(), 36.0);
    EXPECT_EQ(s.value(2, col::kAvailability).toText(), col::kAvailable);
    EXPECT_EQ(s.value(2, col::kPromotion).toNumber(), 1.0);
    EXPECT_EQ(s.value(2, col::kMaker).toText(), QStringLiteral("Играчки ООД"));
    EXPECT_EQ(s.value(2, col::kDescription).toText(), QStringLiteral("Меко"));
    EXPECT_TRUE(s.value(2, col::kPicture).isEmpty());
    EXPECT_DOUBLE_EQ(*s.value(3, col::kPrice).toNumber(), 12.5625);
    EXPECT_EQ(s.value(3, col::kStockValue).toNumber(), 0.0);
    EXPECT_EQ(s.value(3, col::kAvailability).toText(), col::kNotAvailable);
    EXPECT_EQ(s.value(3, col::kPromotion).toNumber(), 0.0);

    EXPECT_EQ(shop.data.counter(idx::kPurchaseRows), 2);
    EXPECT_EQ(shop.index(2, idx::purchases::kDate), QStringLiteral("7. 03. 2026"));
    EXPECT_EQ(shop.index(2, idx::purchases::kName), QStringLiteral("Мече"));
    EXPECT_EQ(shop.index(2, idx::purchases::kCount), QStringLiteral("3"));
    EXPECT_EQ(shop.index(3, idx::purchases::kPrice), QStringLiteral("12.5"));
}

TEST(GoodsStore, RewriteLeavesLedgerSoldCountAndPictureAlone)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    goods.DobaviStokaVEksel(fields(QStringLiteral("Мече")), {}, kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Топка")), {}, kToday);
    store::Worksheet& s = shop.sheet(QStringLiteral("Играчки"));
    s.setValue(2, col::kSold, store::Value(4));
    s.setValue(2, col::kPicture, store::Value(QStringLiteral("мече.jpg")));
    GoodsFields changed = fields(QStringLiteral("Мече голямо"), QStringLiteral("20"), QStringLiteral("0"), QStringLiteral("50"));
    const auto saved = goods.RedaktiraiStoka(1, changed, {});
    EXPECT_FALSE(saved.refusal);
    EXPECT_EQ(s.value(2, col::kName).toText(), QStringLiteral("Мече голямо"));
    EXPECT_DOUBLE_EQ(*s.value(2, col::kPrice).toNumber(), 30.0);
    EXPECT_EQ(s.value(2, col::kAvailability).toText(), col::kNotAvailable);
    EXPECT_EQ(s.value(2, col::kSold).toNumber(), 4.0);
    EXPECT_EQ(s.value(2, col::kPicture).toText(), QStringLiteral("мече.jpg"));
    EXPECT_EQ(shop.data.counter(idx::kPurchaseRows), 2);
    EXPECT_EQ(shop.index(2, idx::purchases::kName), QStringLiteral("Мече"));
    EXPECT_EQ(goods.count(), 2);
    // An emptied maker empties its cell; reading gives back what was written, the price in cents.
    GoodsFields read = changed;
    read.Pr2Text2 = QStringLiteral("20,00");
    EXPECT_EQ(goods.ProchetiOtEksel(1).fields, read);
}

TEST(GoodsStore, GoodsNamesAreWholeNamesWithCaseIgnoredAndARecordMayKeepItsOwn)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    goods.DobaviStokaVEksel(fields(QStringLiteral("Количка")), {}, kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Кол?")), {}, kToday);
    EXPECT_FALSE(goods.DobaviStokaVEksel(fields(QStringLiteral("Кола")), {}, kToday).refusal);
    EXPECT_FALSE(goods.DobaviStokaVEksel(fields(QStringLiteral("*")), {}, kToday).refusal);
    const auto taken = goods.DobaviStokaVEksel(fields(QStringLiteral("КОЛИЧКА")), {}, kToday);
    ASSERT_TRUE(taken.refusal);
    EXPECT_EQ(taken.refusal->message, catalogue::kGoodsTaken);
    EXPECT_EQ(goods.count(), 4);
    EXPECT_FALSE(goods.RedaktiraiStoka(1, fields(QStringLiteral("количка")), {}).refusal);
    EXPECT_TRUE(goods.RedaktiraiStoka(2, fields(QStringLiteral("Количка")), {}).refusal);
    EXPECT_EQ(goods.goodsName(2), QStringLiteral("Кол?"));
    EXPECT_EQ(shop.data.counter(idx::kPurchaseRows), 4);
}

// The order of the required fields is the window's test; here the numbers and lengths.
TEST(GoodsStore, NumbersThatAreNoNumbersAndOverlongTextsWriteNothing)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    const std::vector<std::pair<GoodsFields, Field>> bad{
        {fields(QStringLiteral("a"), QStringLiteral("1.5,3")), Field::Price},
        {fields(QStringLiteral("a"), QStringLiteral(".")), Field::Price},
        {fields(QStringLiteral("a"), QStringLiteral("10"), QStringLiteral("3.5")), Field::Count},
        {fields(QStringLiteral("a"), QStringLiteral("10"), QStringLiteral("-3")), Field::Count},
        {fields(QStringLiteral("a"), QStringLiteral("10"), QStringLiteral("3"), QStringLiteral("1,2,")), Field::Markup},
        {{QString(32768, QLatin1Char('x')), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), 0, {}, {}}, Field::Name},
        {{QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), 0, {}, QString(32768, QLatin1Char('x'))},
         Field::Description}};
    for (const auto& [f, field] : bad) {
        const auto saved = goods.DobaviStokaVEksel(f, {}, kToday);
        ASSERT_TRUE(saved.refusal);
        EXPECT_EQ(saved.refusal->focus, field) << saved.refusal->message.toStdString();
    }
    EXPECT_EQ(goods.DobaviStokaVEksel(bad[0].first, {}, kToday).refusal->message, catalogue::kNotANumber);
    EXPECT_EQ(goods.DobaviStokaVEksel(bad[2].first, {}, kToday).refusal->message, catalogue::kNotAWholeNumber);
    EXPECT_EQ(goods.count(), 0);
    EXPECT_EQ(shop.data.counter(idx::kPurchaseRows), 0);
    EXPECT_TRUE(shop.sheet(QStringLiteral("Играчки")).value(2, col::kName).isEmpty());
}

TEST(GoodsStore, TheLastRecordAndTheLastLedgerRowAreTheLimits)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    store::Worksheet& s = shop.sheet(QStringLiteral("Играчки"));
    for (int k = 1; k <= col::kMaxRecords - 1; ++k) s.setValue(col::recordRow(k), col::kName, store::Value(QString::number(k)));
    EXPECT_FALSE(goods.DobaviStokaVEksel(fields(QStringLiteral("Последна")), {}, kToday).refusal);
    EXPECT_EQ(goods.count(), col::kMaxRecords);
    EXPECT_TRUE(goods.DobaviStokaVEksel(fields(QStringLiteral("Още една")), {}, kToday).refusal);
    EXPECT_TRUE(s.value(col::recordRow(col::kMaxRecords + 1), col::kName).isEmpty());
    EXPECT_EQ(shop.data.counter(idx::kPurchaseRows), 1);

    auto other = shop.goods(shop.addArticle(QStringLiteral("Дрехи")));
    shop.data.setCell(idx::kPurchaseRows, store::Value(store::kMaxRows - 2));
    shop.data.indexSheet().setValue(store::kMaxRows - 1, idx::purchases::kDate, store::Value(QStringLiteral("1. 03. 2026")));
    EXPECT_FALSE(other.DobaviStokaVEksel(fields(QStringLiteral("Шапка")), {}, kToday).refusal);
    EXPECT_EQ(shop.index(store::kMaxRows, idx::purchases::kName), QStringLiteral("Шапка"));
    const auto full = other.DobaviStokaVEksel(fields(QStringLiteral("Ръкавици")), {}, kToday);
    ASSERT_TRUE(full.refusal);
    EXPECT_EQ(other.count(), 1);
    EXPECT_EQ(shop.data.counter(idx::kPurchaseRows), store::kMaxRows - 1);
}

TEST(GoodsStore, PicturesAreCopiedSharedOrRenamedButNeverReplaced)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    QTemporaryDir elsewhere;
    const QString brown = elsewhere.path() + QStringLiteral("/мече.jpg");
    const QString white = elsewhere.path() + QStringLiteral("/бяло/мече.jpg");
    QDir(elsewhere.path()).mkdir(QStringLiteral("бяло"));
    ASSERT_TRUE(writeBytes(brown, "brown bear"));
    ASSERT_TRUE(writeBytes(white, "white bear"));
    const QString folder = shop.pictures + QStringLiteral("/Играчки");
    const store::Worksheet& s = shop.sheet(QStringLiteral("Играчки"));

    goods.DobaviStokaVEksel(fields(QStringLiteral("Кафяво")), brown, kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Бяло")), white, kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Пак кафяво")), brown, kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Пак бяло")), white, kToday);
    EXPECT_EQ(s.value(2, col::kPicture).toText(), QStringLiteral("мече.jpg"));
    EXPECT_EQ(s.value(3, col::kPicture).toText(), QStringLiteral("мече (2).jpg"));
    EXPECT_EQ(s.value(4, col::kPicture).toText(), QStringLiteral("мече.jpg"));
    EXPECT_EQ(s.value(5, col::kPicture).toText(), QStringLiteral("мече (2).jpg"));
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/мече.jpg")), "brown bear");
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/мече (2).jpg")), "white bear");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);

    // A file of the folder itself is named where it lies.
    const QString inside = folder + QStringLiteral("/кола.bmp");
    ASSERT_TRUE(writeBytes(inside, "car"));
    goods.RedaktiraiStoka(1, fields(QStringLiteral("Кафяво")), inside);
    EXPECT_EQ(s.value(2, col::kPicture).toText(), QStringLiteral("кола.bmp"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(goods.ProchetiOtEksel(1).picture, inside);

    // A copy that fails is told; the record is written and its J stays.
    const auto lost = goods.RedaktiraiStoka(1, fields(QStringLiteral("Кафяво"), QStringLiteral("11")),
                                            elsewhere.path() + QStringLiteral("/няма.jpg"));
    EXPECT_FALSE(lost.refusal);
    EXPECT_FALSE(lost.pictureProblem.isEmpty());
    EXPECT_EQ(s.value(2, col::kPicture).toText(), QStringLiteral("кола.bmp"));
    EXPECT_EQ(s.value(2, col::kPurchasePrice).toNumber(), 11.0);
}

TEST(GoodsStore, DeletingMovesRowsUpAndTakesThePictureOnlyWhenNoOtherRecordNamesIt)
{
    Shop shop;
    const QString article = shop.addArticle(QStringLiteral("Играчки"));
    FakeKeeper basket;
    auto goods = shop.goods(article, &basket);
    QTemporaryDir elsewhere;
    ASSERT_TRUE(writeBytes(elsewhere.path() + QStringLiteral("/общо.jpg"), "shared"));
    ASSERT_TRUE(writeBytes(elsewhere.path() + QStringLiteral("/само.jpg"), "own"));
    goods.DobaviStokaVEksel(fields(QStringLiteral("Първа")), elsewhere.path() + QStringLiteral("/общо.jpg"), kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Втора")), elsewhere.path() + QStringLiteral("/общо.jpg"), kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Трета")), elsewhere.path() + QStringLiteral("/само.jpg"), kToday);
    goods.DobaviStokaVEksel(fields(QStringLiteral("Четвърта")), {}, kToday);
    store::Worksheet& s = shop.sheet(article);
    s.setValue(5, col::kPicture, store::Value(QStringLiteral("../BezKartina.JPG")));
    ASSERT_TRUE(writeBytes(shop.pictures + QStringLiteral("/BezKartina.JPG"), "fallback"));

    basket.rows.insert({article, 3});
    EXPECT_FALSE(goods.IztriiStoka(2).isEmpty());
    EXPECT_EQ(goods.count(), 4);
    EXPECT_TRUE(basket.moves.empty());

    ASSERT_TRUE(goods.IztriiStoka(1).isEmpty());
    EXPECT_EQ(goods.count(), 3);
    EXPECT_EQ(goods.goodsName(1), QStringLiteral("Втора"));
    EXPECT_TRUE(QFile::exists(*goods.picture(QStringLiteral("общо.jpg")))) << "record 2 still shows it";
    ASSERT_EQ(basket.moves.size(), 1u);
    EXPECT_EQ(basket.moves[0].first, article);
    EXPECT_EQ(basket.moves[0].second(3), 2);
    EXPECT_EQ(basket.moves[0].second(5), 4);

    basket.rows.clear();
    ASSERT_TRUE(goods.IztriiStoka(2).isEmpty());   // "Трета"
    EXPECT_FALSE(QFile::exists(*goods.picture(QStringLiteral("само.jpg"))));
    EXPECT_EQ(basket.moves[1].second(1), 1);
    EXPECT_EQ(basket.moves[1].second(3), 0);
    ASSERT_TRUE(goods.IztriiStoka(2).isEmpty());   // "Четвърта", whose J climbs out
    EXPECT_TRUE(QFile::exists(shop.pictures + QStringLiteral("/BezKartina.JPG")));
    ASSERT_TRUE(goods.IztriiStoka(1).isEmpty());
    EXPECT_FALSE(QFile::exists(*goods.picture(QStringLiteral("общо.jpg"))));
    EXPECT_EQ(goods.count(), 0);
    EXPECT_FALSE(goods.IztriiStoka(1).isEmpty());
}

// Names from the workbook (another program may have written them) never reach a file outside
// the article's picture folder.
TEST(PictureFiles, PathsFromTheWorkbookStayInTheArticlesFolder)
{
    Shop shop;
    const QString toys = shop.pictures + QStringLiteral("/Играчки");
    QDir().mkpath(toys);
    ASSERT_TRUE(writeBytes(toys + QStringLiteral("/топка.jpg"), "ball"));
    ASSERT_TRUE(writeBytes(shop.dir.path() + QStringLiteral("/Faktura.xls"), "form"));
    std::vector<const char*> articles{"..", ".", "a/b", "/tmp", "C:\\x"};
    std::vector<const char*> files{"..", ".", "../../Faktura.xls", "a/b.jpg", "/etc/passwd", "C:\\x.jpg"};
#ifndef _WIN32   // on Windows QFile::link makes shortcut files, which no path goes through
    QFile::link(shop.dir.path() + QStringLiteral("/Faktura.xls"), toys + QStringLiteral("/връзка.jpg"));
    QFile::link(shop.dir.path(), shop.pictures + QStringLiteral("/Навън"));
    articles.push_back("Навън");
    files.push_back("връзка.jpg");
#endif

    EXPECT_EQ(store::articlePicture(shop.pictures, QStringLiteral("Играчки"), QStringLiteral("топка.jpg")),
              toys + QStringLiteral("/топка.jpg"));
    EXPECT_EQ(store::articlePicture(shop.pictures, QStringLiteral("Играчки"), QStringLiteral("нова.jpg")),
              toys + QStringLiteral("/нова.jpg")) << "a file still to be copied there";
    for (const char* article : articles)
        EXPECT_EQ(store::articlePicture(shop.pictures, QString::fromUtf8(article), QStringLiteral("Faktura.xls")),
                  std::nullopt) << article;
    for (const char* file : files)
        EXPECT_EQ(store::articlePicture(shop.pictures, QStringLiteral("Играчки"), QString::fromUtf8(file)),
                  std::nullopt) << file;

    // A sheet another program named ".." whose record names the invoice form: deleting the
    // record leaves the form where it is.
    store::Worksheet& climber = shop.workbook->appendSheet(QStringLiteral(".."));
    climber.setValue(2, col::kName, store::Value(QStringLiteral("Стълба")));
    climber.setValue(2, col::kPicture, store::Value(QStringLiteral("Faktura.xls")));
    climber.cells(1, 20).setFormulaR1C1(store::layout::article::kCountFormulaR1C1);
    ASSERT_EQ(shop.goods(QStringLiteral("..")).IztriiStoka(1), QString());
    EXPECT_TRUE(QFile::exists(shop.dir.path() + QStringLiteral("/Faktura.xls")));
}

// Counters another program left wrong: the step is refused before it writes, and a count too
// large for the sheet is bounded by the sheet.
TEST(GoodsStore, CountersThatDisagreeWithTheirRowsWriteNothing)
{
    Shop shop;
    auto goods = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    for (const char* name : {"Първа", "Втора", "Трета"}) goods.DobaviStokaVEksel(fields(QString::fromUtf8(name)), {}, kToday);
    store::Worksheet& toys = shop.sheet(QStringLiteral("Играчки"));
    const auto snapshot = [&] {
        QStringList cells;
        for (int row = 2; row <= 5; ++row)
            cells << toys.value(row, col::kName).toText() << shop.index(row, store::layout::index::purchases::kName);
        return cells;
    };

    shop.data.setCell(store::layout::index::kPurchaseRows, store::Value(0));
    const QStringList before = snapshot();
    EXPECT_THROW(goods.DobaviStokaVEksel(fields(QStringLiteral("Четвърта")), {}, kToday), store::Error);
    EXPECT_EQ(snapshot(), before) << "Y1 = 0 would have written over the first purchase";
    shop.data.setCell(store::layout::index::kPurchaseRows, store::Value(3));

    toys.setValue(3, col::kName, store::Value());   // "Втора" emptied elsewhere: T1 counts 2
    const QStringList emptied = snapshot();
    EXPECT_THROW(goods.DobaviStokaVEksel(fields(QStringLiteral("Четвърта")), {}, kToday), store::Error);
    EXPECT_EQ(snapshot(), emptied) << "the new record would have replaced «Трета»";

    toys.setValue(1, 20, store::Value(1e9));   // T1 no longer a formula
    EXPECT_EQ(shop.data.goodsCount(toys), 3);

    shop.data.setCell(store::layout::index::kSheetCount, store::Value(2e9));
    const auto added = catalogue::DobaviArtikul(shop.data, shop.pictures, QStringLiteral("Дрехи"));
    EXPECT_TRUE(added.refusal.contains(QStringLiteral("D1"))) << qPrintable(added.refusal);
    EXPECT_EQ(shop.workbook->sheetCount(), 2);
}

// Minimum stock and barcode: stored in V and W when typed, empty cells when not; a barcode with a
// wrong check digit, of other characters, or held by goods of any article is refused, nothing written.
TEST(GoodsStore, MinimumStockAndBarcodeAreCheckedAndStoredInTheirColumns)
{
    Shop shop;
    auto toys = shop.goods(shop.addArticle(QStringLiteral("Играчки")));
    auto books = shop.goods(shop.addArticle(QStringLiteral("Книжки")));
    GoodsFields doll = fields(QStringLiteral("Кукла Ани"));
    doll.Pr8Text8 = QStringLiteral("4");
    doll.Pr9Text9 = QStringLiteral("5901234123457");
    ASSERT_FALSE(toys.DobaviStokaVEksel(doll, {}, kToday).refusal);
    ASSERT_FALSE(toys.DobaviStokaVEksel(fields(QStringLiteral("Топка")), {}, kToday).refusal);
    const store::Worksheet& sheet = shop.sheet(QStringLiteral("Играчки"));
    EXPECT_EQ(sheet.value(2, col::kMinimumStock), store::Value(4));
    EXPECT_EQ(sheet.value(2, col::kBarcode), store::Value(QStringLiteral("5901234123457")));
    EXPECT_TRUE(sheet.value(3, col::kMinimumStock).isEmpty());
    EXPECT_TRUE(sheet.value(3, col::kBarcode).isEmpty());
    const GoodsFields read = toys.ProchetiOtEksel(1).fields;
    EXPECT_EQ(read.Pr8Text8, QStringLiteral("4"));
    EXPECT_EQ(read.Pr9Text9, QStringLiteral("5901234123457"));
    EXPECT_FALSE(toys.RedaktiraiStoka(1, doll, {}).refusal) << "a record keeps its own barcode";

    const auto refused = [&](const QString& minimum, const QString& barcode) {
        GoodsFields book = fields(QStringLiteral("Книга ") + barcode);
        book.Pr8Text8 = minimum;
        book.Pr9Text9 = barcode;
        return books.DobaviStokaVEksel(book, {}, kToday).refusal;
    };
    const auto taken = refused({}, QStringLiteral("5901234123457"));
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->message, QStringLiteral("Баркодът 5901234123457 вече е на „Кукла Ани“ (Играчки)."));
    EXPECT_EQ(taken->focus, Field::Barcode);
    for (const QString& wrong : {QStringLiteral("5901234123458"), QStringLiteral("96385075"), QStringLiteral("036000291453"),
                                 QStringLiteral("АБВ1"), QString(21, QLatin1Char('A'))})
        EXPECT_EQ(refused({}, wrong).value_or(catalogue::Refusal{}).focus, Field::Barcode) << wrong.toStdString();
    EXPECT_EQ(refused(QStringLiteral("2.5"), {})->focus, Field::MinimumStock);
    EXPECT_EQ(books.count(), 0);
    for (const QString& right : {QStringLiteral("96385074"), QStringLiteral("036000291452"), QStringLiteral("SHOP42")})
        EXPECT_FALSE(refused({}, right)) << right.toStdString();
    EXPECT_EQ(books.count(), 3);

    doll.Pr8Text8.clear();
    doll.Pr9Text9.clear();
    ASSERT_FALSE(toys.RedaktiraiStoka(1, doll, {}).refusal);
    EXPECT_TRUE(sheet.value(2, col::kMinimumStock).isEmpty()) << "emptied, the minimum is gone";
    EXPECT_TRUE(sheet.value(2, col::kBarcode).isEmpty());
}
