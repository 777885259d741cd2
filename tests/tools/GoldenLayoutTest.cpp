// Where each shop operation writes in Danni.xls, pinned cell by cell: the cells an operation
// changes, as `tervin-workbook dump` prints them, against the text under data/golden/. The
// addresses there are written out, so a column moved in the layout shows here even where every
// other test, naming cells through the same layout, follows it.
#include "app/support/ShopFolder.h"

#include "catalogue/core/Articles.h"
#include "catalogue/core/GoodsStore.h"
#include "sales/Koshnica.h"
#include "sales/SalesLedger.h"
#include "search/Sorting.h"
#include "tools/WorkbookDump.h"

#include <QFile>
#include <QTextStream>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

const QString kToys = QStringLiteral("Играчки");
const QDate kToday(2026, 12, 7);

// One small shop: "Играчки" with Топка (5,50, 10 in stock, made by Игри АД) and Кукла (12,00,
// 3 in stock, "с рокля").
struct GoldenShop {
    GoldenShop()
    {
        store::Worksheet& toys = folder.addArticle(kToys);
        folder.addGoods(toys, {QStringLiteral("Топка"), 5.5, 10, {}, QStringLiteral("Игри АД")});
        folder.addGoods(toys, {QStringLiteral("Кукла"), 12.0, 3, {}, {}, QStringLiteral("с рокля")});
    }
    QString pictures() const { return folder.file(QStringLiteral("Kartini")); }
    catalogue::GoodsStore goods() { return catalogue::GoodsStore(folder.data(), kToys, pictures()); }

    ShopFolder folder;
};

// The dump's cell lines, each led by its sheet's name: "Играчки!D2<TAB>number<TAB>7".
QStringList cellLines(const store::Workbook& workbook)
{
    QString text;
    QTextStream out(&text);
    dumpWorkbook(workbook, out);
    out.flush();
    QStringList lines;
    QString sheet;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("sheet\t"))) sheet = line.mid(6);
        else lines << sheet + QLatin1Char('!') + line;
    }
    return lines;
}

QString addressOf(const QString& line)
{
    return line.section(QLatin1Char('\t'), 0, 0);
}

// The lines of `after` that are not in `before`, then the cells emptied, as "Лист!B3<TAB>empty".
QString changedCells(const QStringList& before, const QStringList& after)
{
    QStringList changed;
    QStringList addressesAfter;
    for (const QString& line : after) {
        addressesAfter << addressOf(line);
        if (!before.contains(line)) changed << line;
    }
    for (const QString& line : before)
        if (!addressesAfter.contains(addressOf(line))) changed << addressOf(line) + QLatin1String("\tempty");
    return changed.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString golden(const QString& name)
{
    QFile file(QStringLiteral(TERVIN_TEST_DATA "/golden/%1.txt").arg(name));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("(no file %1)").arg(file.fileName());
    return QString::fromUtf8(file.readAll());
}

// Топка × 3 and Кукла × 1 into the basket, then into the sales ledger.
void sell(GoldenShop& shop, bool withInvoice)
{
    store::Worksheet& toys = shop.folder.workbook().sheets(kToys);
    sales::Koshnica basket;
    ASSERT_TRUE(basket.add(toys, 0, 2, 3));
    ASSERT_TRUE(basket.add(toys, 0, 3, 1));
    sales::writeSale(shop.folder.data(), basket, withInvoice, [] { return kToday; });
}

const catalogue::GoodsFields kBear{QStringLiteral("Мече"), QStringLiteral("4"), QStringLiteral("2"),
                                   QStringLiteral("50"), 1, QStringLiteral("Пух ООД"), QStringLiteral("плюшено"),
                                   QStringLiteral("1"), QStringLiteral("3800000000010")};

void addGoods(GoldenShop& shop)
{
    shop.folder.putPicture(kToys, QStringLiteral("мече.jpg"), Qt::yellow);
    const auto saved = shop.goods().DobaviStokaVEksel(
        kBear, shop.folder.file(QStringLiteral("Kartini/Играчки/мече.jpg")), kToday);
    ASSERT_FALSE(saved.refusal);
}

void editGoods(GoldenShop& shop)
{
    ASSERT_FALSE(shop.goods().RedaktiraiStoka(1, kBear, {}).refusal);
}

void deleteGoods(GoldenShop& shop)
{
    ASSERT_EQ(shop.goods().IztriiStoka(1), QString());
}

void addArticle(GoldenShop& shop)
{
    ASSERT_EQ(catalogue::DobaviArtikul(shop.folder.data(), shop.pictures(), QStringLiteral("Книжки")).refusal,
              QString());
}

void sortByName(GoldenShop& shop)
{
    ASSERT_TRUE(search::sortArticle(shop.folder.data(), kToys, search::SortBy::Name, store::SortOrder::Ascending,
                                    nullptr));
}

} // namespace

TEST(GoldenLayout, EachOperationChangesTheCellsItsGoldenTextNames)
{
    const std::vector<std::pair<QString, std::function<void(GoldenShop&)>>> operations{
        {QStringLiteral("sale-without-invoice"), [](GoldenShop& shop) { sell(shop, false); }},
        {QStringLiteral("sale-with-invoice"), [](GoldenShop& shop) { sell(shop, true); }},
        {QStringLiteral("goods-added"), addGoods},
        {QStringLiteral("goods-edited"), editGoods},
        {QStringLiteral("goods-deleted"), deleteGoods},
        {QStringLiteral("article-added"), addArticle},
        {QStringLiteral("sorted-by-name"), sortByName},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name.toStdString());
        GoldenShop shop;
        const QStringList before = cellLines(shop.folder.workbook());
        operation(shop);
        EXPECT_EQ(changedCells(before, cellLines(shop.folder.workbook())).toStdString(),
                  golden(name).toStdString());
    }
}
