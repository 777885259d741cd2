#include "DemoDataWorkbook.h"

#include "sales/Koshnica.h"
#include "sales/SalesLedger.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <QDir>
#include <QRandomGenerator>
#include <algorithm>

namespace demo {

namespace {

namespace idx = store::layout::index;
namespace art = store::layout::article;

constexpr int kMonthsOfTrade = 4;
constexpr int kDaysBetweenDeliveries = 4;
constexpr int kDaysBeforeFirstSale = 21;
constexpr quint32 kSalesSeed = 20611;   // fixed, so every demo shop sells the same way

double numberIn(const store::Worksheet& sheet, int row, int col)
{
    return sheet.value(row, col).toNumber().value_or(0.0);
}

// The steps of the program's own operations, done on the workbook in the order the shop keeper
// would have done them.
class ShopKeeper {
public:
    ShopKeeper(store::Workbook& workbook, QString picturesDir)
        : data_(workbook), picturesDir_(std::move(picturesDir)) {}

    void addArticle(const QString& name);
    int addGoods(const QString& article, const Goods& goods, const QDate& date);
    void putIntoBasket(sales::Koshnica& basket, const QString& article, int row, int count);
    void recordSale(const QDate& date, const sales::Koshnica& basket, bool invoice);
    void reviewGoods(const QString& article, int row);

private:
    store::Worksheet& sheet(const QString& name) const { return data_.workbook().sheets(name); }
    store::Worksheet& index() const { return data_.indexSheet(); }
    void appendPurchase(const Goods& goods, const QDate& date);

    store::DataWorkbook data_;
    QString picturesDir_;
};

void ShopKeeper::addArticle(const QString& name)
{
    const int sheetCount = data_.counter(idx::kSheetCount);
    store::Worksheet& article = data_.workbook().sheetsAdd();
    article.setName(name);
    index().cells(sheetCount + idx::kFirstListRow, idx::kArticleNameColumn) = store::Value(name);
    article.cells(art::kCountFormulaCell.row, art::kCountFormulaCell.col).setFormulaR1C1(art::kCountFormulaR1C1);
    data_.setCell(idx::kSheetCount, store::Value(sheetCount + 1));
    const QString folder = picturesDir_ + QLatin1Char('/') + name;
    if (!QDir().mkpath(folder))
        throw store::Error(QStringLiteral("Папката „%1“ не може да бъде създадена.").arg(folder));
}

int ShopKeeper::addGoods(const QString& article, const Goods& goods, const QDate& date)
{
    store::Worksheet& s = sheet(article);
    const int row = art::recordRow(data_.goodsCount(s) + 1);
    s.cells(row, art::kName) = store::Value(goods.name);
    s.cells(row, art::kPurchasePrice) = store::Value(goods.purchasePrice);
    s.cells(row, art::kStock) = store::Value(goods.bought);
    s.cells(row, art::kMarkup) = store::Value(goods.markup);
    s.cells(row, art::kPromotion) = store::Value(goods.promotion ? 1 : 0);
    s.cells(row, art::kMaker) = store::Value(goods.maker);
    s.cells(row, art::kDescription) = store::Value(goods.description);
    if (!goods.picture.fileName.isEmpty())
        s.cells(row, art::kPicture) = store::Value(goods.picture.fileName);
    appendPurchase(goods, date);
    reviewGoods(article, row);
    return row;
}

void ShopKeeper::appendPurchase(const Goods& goods, const QDate& date)
{
    const int rows = data_.counter(idx::kPurchaseRows);
    const int row = rows + idx::kFirstListRow;
    index().cells(row, idx::purchases::kDate) = store::Value(store::formatShopDate(date));
    index().cells(row, idx::purchases::kName) = store::Value(goods.name);
    index().cells(row, idx::purchases::kCount) = store::Value(goods.bought);
    index().cells(row, idx::purchases::kPrice) = store::Value(goods.purchasePrice);
    data_.setCell(idx::kPurchaseRows, store::Value(rows + 1));
}

// Selling price, stock value and availability, as the goods editor writes them on every save.
void ShopKeeper::reviewGoods(const QString& article, int row)
{
    store::Worksheet& s = sheet(article);
    const double purchasePrice = numberIn(s, row, art::kPurchasePrice);
    const double price = purchasePrice + purchasePrice * numberIn(s, row, art::kMarkup) / 100;
    const double stock = numberIn(s, row, art::kStock);
    s.cells(row, art::kPrice) = store::Value(price);
    s.cells(row, art::kStockValue) = store::Value(price * stock);
    s.cells(row, art::kAvailability) = store::Value(stock > 0 ? art::kAvailable : art::kNotAvailable);
}

// The basket and the ledger of the program itself; only the day is the sale's own. No line is
// ever taken back here, so the article's place in the article list does not matter.
void ShopKeeper::putIntoBasket(sales::Koshnica& basket, const QString& article, int row, int count)
{
    basket.add(sheet(article), 0, row, count);
}

void ShopKeeper::recordSale(const QDate& date, const sales::Koshnica& basket, bool invoice)
{
    sales::writeSale(data_, basket, invoice, [&date] { return date; });
}

std::vector<SaleLine> saleLines(const std::vector<Article>& catalogue, QRandomGenerator& random)
{
    std::vector<SaleLine> lines;
    for (int a = 0; a < int(catalogue.size()); ++a) {
        const auto& goods = catalogue[size_t(a)].goods;
        for (int g = 0; g < int(goods.size()); ++g)
            for (int left = goods[size_t(g)].sold; left > 0;) {
                const int count = std::min(left, 1 + int(random.bounded(2)));
                lines.push_back({a, g, count});
                left -= count;
            }
    }
    std::shuffle(lines.begin(), lines.end(), random);
    return lines;
}

} // namespace

std::vector<Sale> planSales(const std::vector<Article>& catalogue, const QDate& first, const QDate& last)
{
    QRandomGenerator random(kSalesSeed);
    const std::vector<SaleLine> lines = saleLines(catalogue, random);
    std::vector<Sale> sales;
    for (size_t i = 0; i < lines.size();) {
        const size_t size = std::min(lines.size() - i, size_t(1 + random.bounded(3)));
        sales.push_back(Sale{QDate(), {lines.begin() + qsizetype(i), lines.begin() + qsizetype(i + size)}, false});
        i += size;
    }
    // Each sale gets a day of its own stretch of the period, so the dates never go back.
    const qint64 span = std::max<qint64>(first.daysTo(last), 0) + 1;
    const qint64 n = qint64(sales.size());
    for (qint64 i = 0; i < n; ++i) {
        const qint64 from = span * i / n;
        const qint64 to = span * (i + 1) / n;
        const qint64 day = from + (to > from ? qint64(random.bounded(quint32(to - from))) : 0);
        sales[size_t(i)].date = first.addDays(day);
        sales[size_t(i)].invoice = i % 3 == 1;
    }
    return sales;
}

std::unique_ptr<store::Workbook> buildDemoDataWorkbook(const std::vector<Article>& catalogue,
                                                       const QString& picturesDir, const QDate& today)
{
    auto workbook = store::DataWorkbook::createFresh();
    ShopKeeper keeper(*workbook, picturesDir);
    // A new article goes in front of the active sheet, so adding them from the last makes the
    // workbook list them in catalogue order.
    for (auto article = catalogue.rbegin(); article != catalogue.rend(); ++article)
        keeper.addArticle(article->name);

    const QDate opening = today.addMonths(-kMonthsOfTrade);
    std::vector<std::vector<int>> rows(catalogue.size());
    for (size_t a = 0; a < catalogue.size(); ++a)
        for (const Goods& goods : catalogue[a].goods)
            rows[a].push_back(keeper.addGoods(catalogue[a].name, goods,
                                              opening.addDays(qint64(a) * kDaysBetweenDeliveries)));

    for (const Sale& sale : planSales(catalogue, opening.addDays(kDaysBeforeFirstSale), today)) {
        sales::Koshnica basket;
        for (const SaleLine& line : sale.lines) {
            const QString& article = catalogue[size_t(line.article)].name;
            keeper.putIntoBasket(basket, article, rows[size_t(line.article)][size_t(line.goods)], line.count);
        }
        keeper.recordSale(sale.date, basket, sale.invoice);
    }

    for (size_t a = 0; a < catalogue.size(); ++a)
        for (int row : rows[a]) keeper.reviewGoods(catalogue[a].name, row);
    return workbook;
}

} // namespace demo
