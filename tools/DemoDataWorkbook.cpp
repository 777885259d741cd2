#include "DemoDataWorkbook.h"

#include "catalogue/core/Articles.h"
#include "catalogue/core/GoodsStore.h"
#include "sales/Koshnica.h"
#include "sales/SalesLedger.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

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

QString typed(double number)
{
    return store::numberToText(number);
}

// The steps of the program's own operations, done on the workbook in the order the shop keeper
// would have done them.
class ShopKeeper {
public:
    ShopKeeper(store::Workbook& workbook, QString picturesDir, InvoiceIssued invoiceIssued)
        : data_(workbook), picturesDir_(std::move(picturesDir)), invoiceIssued_(std::move(invoiceIssued)) {}

    void addArticle(const QString& name);
    int addGoods(const QString& article, const Goods& goods, const QDate& date);
    void putIntoBasket(sales::Koshnica& basket, const QString& article, int row, int count);
    void recordSale(const QDate& date, const sales::Koshnica& basket, bool invoice);
    void reviewGoods(const QString& article, int row);

private:
    store::Worksheet& sheet(const QString& name) const { return data_.workbook().sheets(name); }
    store::Worksheet& index() const { return data_.indexSheet(); }
    catalogue::GoodsStore goodsOf(const QString& article) const;

    store::DataWorkbook data_;
    QString picturesDir_;
    InvoiceIssued invoiceIssued_;
};

void ShopKeeper::addArticle(const QString& name)
{
    const catalogue::ArticleAdded added = catalogue::DobaviArtikul(data_, picturesDir_, name);
    if (!added.refusal.isEmpty()) throw store::Error(added.refusal);
}

catalogue::GoodsStore ShopKeeper::goodsOf(const QString& article) const
{
    return catalogue::GoodsStore(data_, article, picturesDir_);
}

// The goods as typed into the goods editor, with the picture file already drawn in the article's
// folder.
int ShopKeeper::addGoods(const QString& article, const Goods& goods, const QDate& date)
{
    catalogue::GoodsStore store = goodsOf(article);
    const catalogue::GoodsFields fields{goods.name, typed(goods.purchasePrice), QString::number(goods.bought),
                                        typed(goods.markup), goods.promotion ? 1 : 0, goods.maker, goods.description,
                                        QString::number(goods.minimum), goods.barcode};
    const QString picture = goods.picture.fileName.isEmpty() ? QString() : store.picture(goods.picture.fileName).value_or(QString());
    const auto saved = store.DobaviStokaVEksel(fields, picture, date);
    if (saved.refusal) throw store::Error(saved.refusal->message);
    if (!saved.pictureProblem.isEmpty()) throw store::Error(saved.pictureProblem);
    return art::recordRow(saved.record);
}

// The goods editor saving the record again as it stands: selling price, stock value and
// availability follow the stock.
void ShopKeeper::reviewGoods(const QString& article, int row)
{
    catalogue::GoodsStore store = goodsOf(article);
    const int record = row - art::recordRow(0);
    const auto saved = store.RedaktiraiStoka(record, store.ProchetiOtEksel(record).fields, {});
    if (saved.refusal) throw store::Error(saved.refusal->message);
}

// The basket and the ledger of the program itself; only the day is the sale's own. No line is
// ever taken back here, so the article's place in the article list does not matter.
void ShopKeeper::putIntoBasket(sales::Koshnica& basket, const QString& article, int row, int count)
{
    basket.add(sheet(article), 0, row, count);
}

void ShopKeeper::recordSale(const QDate& date, const sales::Koshnica& basket, bool invoice)
{
    const QString number = invoice ? sales::NomerNaFaktura(data_) : QString();
    sales::writeSale(data_, basket, invoice, [&date] { return date; });
    if (invoice && invoiceIssued_) invoiceIssued_(basket, date, number);
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
                                                       const QString& picturesDir, const QDate& today,
                                                       const InvoiceIssued& invoiceIssued)
{
    auto workbook = store::DataWorkbook::createFresh(nullptr, store::Currency::Euro);
    ShopKeeper keeper(*workbook, picturesDir, invoiceIssued);
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
