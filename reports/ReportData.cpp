#include "reports/ReportData.h"

#include "ledgers/YearWorkbooks.h"
#include "store/DataWorkbook.h"
#include "store/Money.h"
#include "store/Worksheet.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace reports {

QString periodRefusal(Outcome outcome, const QString& goods)
{
    switch (outcome) {
    case Outcome::Reversed: return kReversedDates;
    case Outcome::OutsidePeriod:
    case Outcome::EmptyLedger:   // a ledger without rows has no day in any period
        return QStringLiteral("За посочения период няма %1 стоки").arg(goods);
    case Outcome::Done: break;
    }
    return {};
}

ChartStep chartStep(const QDate& from, const QDate& to)
{
    if (to >= from.addYears(1)) return ChartStep::Month;
    if (from.daysTo(to) + 1 > 62) return ChartStep::Week;
    return ChartStep::Day;
}

namespace {

namespace idx = store::layout::index;

// The first day of the bucket after the one that holds `day`.
QDate nextBucket(ChartStep step, const QDate& day)
{
    switch (step) {
    case ChartStep::Week: return day.addDays(8 - day.dayOfWeek());
    case ChartStep::Month: return QDate(day.year(), day.month(), 1).addMonths(1);
    case ChartStep::Day: break;
    }
    return day.addDays(1);
}

// "7. 03." for a day or a week from its first day, "март 2011" for a month.
QString bucketLabel(ChartStep step, const QDate& first)
{
    if (step == ChartStep::Month)
        return QStringLiteral("%1 %2").arg(QLocale(QLocale::Bulgarian).standaloneMonthName(first.month()))
            .arg(first.year());
    return QStringLiteral("%1. %2.").arg(first.day()).arg(first.month(), 2, 10, QLatin1Char('0'));
}

// A chart being summed: the amounts of each day and of each goods name, each currency apart.
class ChartBuilder {
public:
    explicit ChartBuilder(store::Currency shopCurrency) : currency_(shopCurrency) {}

    void add(const QDate& day, const QString& goods, double amount, store::Currency currency)
    {
        // The rows of one day mostly follow one another.
        if (day != lastDay_) {
            lastDay_ = day;
            lastDaySum_ = &days_[day];
        }
        lastDaySum_->add(amount, currency);
        // A name read from a workbook shares its text with every cell of that name, so it is
        // looked up by where its text lies; the entry keeps the text, so no other takes its place.
        GoodsSum& sum = goods_[goods.constData()];
        if (sum.name.isNull()) sum.name = goods;
        sum.amount.add(amount, currency);
    }

    // The chart of the days from..to, which hold every day added.
    Chart take(const QDate& from, const QDate& to) const
    {
        const ChartStep step = chartStep(from, to);
        return {step, overTime(step, from, to), topGoods()};
    }
    // The chart from the earliest to the latest day added.
    Chart takeOverDaysAdded() const
    {
        return days_.empty() ? Chart{} : take(days_.begin()->first, days_.rbegin()->first);
    }

private:
    std::vector<ChartBar> overTime(ChartStep step, const QDate& from, const QDate& to) const
    {
        std::vector<ChartBar> bars;
        auto day = days_.begin();
        for (QDate first = from; first <= to; first = nextBucket(step, first)) {
            const QDate next = nextBucket(step, first);
            store::MoneySum sum;
            for (; day != days_.end() && day->first < next; ++day) sum.add(day->second);
            bars.push_back({bucketLabel(step, first), sum.in(currency_)});
        }
        return bars;
    }

    std::vector<ChartBar> topGoods() const
    {
        // One name may lie in several places: in the year workbooks, or read from a number.
        QHash<QString, store::MoneySum> byName;
        for (const GoodsSum& goods : goods_) byName[goods.name].add(goods.amount);
        std::vector<ChartBar> bars;
        bars.reserve(size_t(byName.size()));
        for (auto goods = byName.cbegin(); goods != byName.cend(); ++goods)
            bars.push_back({goods.key(), goods.value().in(currency_)});
        const auto larger = [](const ChartBar& a, const ChartBar& b) {
            return a.amount != b.amount ? a.amount > b.amount : a.label < b.label;
        };
        const size_t kept = std::min(bars.size(), size_t(kTopGoods));
        std::partial_sort(bars.begin(), bars.begin() + std::ptrdiff_t(kept), bars.end(), larger);
        bars.resize(kept);
        return bars;
    }

    struct GoodsSum {
        QString name;
        store::MoneySum amount;
    };

    store::Currency currency_;
    std::map<QDate, store::MoneySum> days_;
    QDate lastDay_;
    store::MoneySum* lastDaySum_ = nullptr;   // of lastDay_
    QHash<const QChar*, GoodsSum> goods_;
};

using store::layout::index::Ledger;
using idx::kPurchaseLedger;
using idx::kSalesLedger;

// A ledger row, in whichever workbook of the shop's history it lies.
struct Row {
    const ledgers::LedgerPart* part;
    int row;

    store::Value value(int column) const { return part->sheet->value(row, column); }
    QString shownText(int column) const { return part->sheet->shownText(row, column); }
    store::Currency currency() const { return part->rowCurrency(row); }
};

// The ledger as a report reads it: its rows over the shop's whole history, each with its currency.
struct LedgerView {
    LedgerView(const store::DataWorkbook& data, const Ledger& columns) : history(data, columns), columns(columns) {}

    template <class Visit> void forEachRow(Visit visit) const
    {
        for (const ledgers::LedgerPart& part : history.parts())
            for (int row = idx::kFirstListRow; row <= part.lastRow; ++row) visit(Row{&part, row});
    }
    bool isEmpty() const
    {
        return std::all_of(history.parts().begin(), history.parts().end(),
                           [](const ledgers::LedgerPart& part) { return part.lastRow < idx::kFirstListRow; });
    }
    store::Currency shopCurrency() const { return history.currency(); }
    // A price of the row as the report shows it: in a euro shop a leva price converted to the cent.
    QString priceText(const Row& row, int column) const;

    ledgers::LedgerHistory history;
    const Ledger& columns;
};

// Reads ledger dates; the rows of one day share one text, so the last text read is remembered.
class DateReader {
public:
    std::optional<QDate> operator()(const QString& text)
    {
        if (text != lastText_) {
            lastText_ = text;
            last_ = store::parseShopDate(text);
        }
        return last_;
    }

private:
    QString lastText_;
    std::optional<QDate> last_;
};

QString dateText(const Row& row, const Ledger& ledger)
{
    return row.value(ledger.date).toText();
}

// A count as a whole number of pieces, rounded as the spreadsheet rounds to an integer.
std::optional<double> countIn(const Row& row, int column)
{
    const auto number = row.value(column).toNumber();
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return std::nearbyint(*number);
}

std::optional<double> priceIn(const Row& row, int column)
{
    const auto number = row.value(column).toNumber();
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

// count × price of a row; a row whose count or price does not read as a number adds nothing.
double rowAmount(const Row& row, const Ledger& ledger)
{
    const auto count = countIn(row, ledger.count);
    const auto price = priceIn(row, ledger.price);
    return count && price ? *count * *price : 0.0;
}

QString LedgerView::priceText(const Row& row, int column) const
{
    const store::Value value = row.value(column);
    const auto number = value.toNumber();
    if (!number || !std::isfinite(*number)) return value.toText();
    const bool converted = shopCurrency() == store::Currency::Euro && row.currency() == store::Currency::Leva;
    return store::formatMoney(converted ? store::levaPriceToEuro(*number) : *number);
}

QStringList soldLine(const LedgerView& ledger, const Row& row)
{
    namespace col = idx::sales;
    return {row.value(col::kDate).toText(), row.shownText(col::kName), row.shownText(col::kCount),
            ledger.priceText(row, col::kPrice), invoiceText(row.value(col::kInvoice).toText())};
}

QStringList purchaseLine(const LedgerView& ledger, const Row& row)
{
    namespace col = idx::purchases;
    return {row.value(col::kDate).toText(), row.shownText(col::kName), row.shownText(col::kCount),
            ledger.priceText(row, col::kPrice)};
}

using LineReader = QStringList (*)(const LedgerView&, const Row&);

// A listing being made: its rows, the amounts of each currency summed apart and, for the sold
// goods, the chart of the same amounts.
class ListingBuilder {
public:
    enum class Charted { No, Yes };
    ListingBuilder(const LedgerView& ledger, LineReader line, Charted charted) : ledger_(ledger), line_(line)
    {
        if (charted == Charted::Yes) chart_.emplace(ledger.shopCurrency());
    }

    void reserve(size_t rows) { listing_.rows.reserve(rows); }
    void add(const Row& row, const QDate& date)
    {
        listing_.rows.push_back(line_(ledger_, row));
        const double amount = rowAmount(row, ledger_.columns);
        amounts_.add(amount, row.currency());
        if (chart_) chart_->add(date, row.shownText(idx::sales::kName), amount, row.currency());
    }
    // The listing with its chart over the days from..to.
    Listing take(const QDate& from, const QDate& to)
    {
        if (chart_) listing_.chart = chart_->take(from, to);
        return taken();
    }
    // The listing with its chart over the days of its rows.
    Listing take()
    {
        if (chart_) listing_.chart = chart_->takeOverDaysAdded();
        return taken();
    }

private:
    Listing taken()
    {
        listing_.sum = amounts_.in(ledger_.shopCurrency());
        return std::move(listing_);
    }

    const LedgerView& ledger_;
    LineReader line_;
    Listing listing_;
    store::MoneySum amounts_;
    std::optional<ChartBuilder> chart_;
};

// The rows of the ledger dated within from..to, and the earliest and latest date it holds.
struct DatedRow {
    Row row;
    QDate date;
};
struct DatedRows {
    std::vector<DatedRow> rows;
    std::optional<QDate> earliest;
    std::optional<QDate> latest;
};

DatedRows rowsInPeriod(const LedgerView& ledger, const QDate& from, const QDate& to)
{
    DatedRows found;
    DateReader readDate;
    ledger.forEachRow([&](const Row& row) {
        const auto date = readDate(dateText(row, ledger.columns));
        if (!date) return;
        if (!found.earliest || *date < *found.earliest) found.earliest = date;
        if (!found.latest || *date > *found.latest) found.latest = date;
        if (*date >= from && *date <= to) found.rows.push_back({row, *date});
    });
    return found;
}

PeriodListing listPeriod(const store::DataWorkbook& data, const Ledger& ledger, LineReader line,
                         ListingBuilder::Charted charted, const QDate& from, const QDate& to)
{
    if (to < from) return {Outcome::Reversed, {}};
    const LedgerView view(data, ledger);
    const DatedRows dated = rowsInPeriod(view, from, to);
    if (!dated.earliest || *dated.latest < from || *dated.earliest > to) return {Outcome::OutsidePeriod, {}};
    ListingBuilder listing(view, line, charted);
    listing.reserve(dated.rows.size());
    for (const DatedRow& dated : dated.rows) listing.add(dated.row, dated.date);
    return {Outcome::Done, listing.take(from, to)};
}

// Visits each sale of the days from..to that has a count, a price and a purchase price, with what
// it earned: (selling price − purchase price) × count.
template <class Visit> void forEachProfit(const LedgerView& view, const QDate& from, const QDate& to, Visit visit)
{
    namespace col = idx::sales;
    for (const DatedRow& sale : rowsInPeriod(view, from, to).rows) {
        const auto count = countIn(sale.row, col::kCount);
        const auto price = priceIn(sale.row, col::kPrice);
        const auto cost = priceIn(sale.row, col::kPurchasePrice);
        if (count && price && cost) visit(sale, (*price - *cost) * *count);
    }
}

} // namespace

QString invoiceText(const QString& stored)
{
    if (stored.isEmpty()) return kNoInvoice;
    return stored.rightJustified(kInvoiceDigits, QLatin1Char('0'));
}

QStringList saleDates(const store::DataWorkbook& data)
{
    const LedgerView view(data, kSalesLedger);
    QStringList dates;
    DateReader readDate;
    view.forEachRow([&](const Row& row) {
        const QString text = dateText(row, kSalesLedger);
        if (!readDate(text)) return;
        if (dates.isEmpty() || dates.constLast() != text) dates << text;
    });
    if (dates.isEmpty()) dates << kNoSales;
    return dates;
}

Listing soldBetweenEntries(const store::DataWorkbook& data, const QString& fromEntry, const QString& toEntry)
{
    const LedgerView view(data, kSalesLedger);
    // Rows counted over the whole history, from 1.
    int at = 0;
    int start = 0;
    int end = 0;
    view.forEachRow([&](const Row& row) {
        ++at;
        const QString text = dateText(row, kSalesLedger);
        if (start == 0 && text == fromEntry) start = at;
        if (text == toEntry) end = at;
    });
    if (start == 0 || end < start) return {};
    ListingBuilder listing(view, soldLine, ListingBuilder::Charted::Yes);
    DateReader readDate;
    at = 0;
    view.forEachRow([&](const Row& row) {
        ++at;
        if (at < start || at > end) return;
        if (const auto date = readDate(dateText(row, kSalesLedger))) listing.add(row, *date);
    });
    return listing.take();
}

PeriodListing soldInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    return listPeriod(data, kSalesLedger, soldLine, ListingBuilder::Charted::Yes, from, to);
}

PeriodListing purchasedInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    return listPeriod(data, kPurchaseLedger, purchaseLine, ListingBuilder::Charted::No, from, to);
}

Profit profitInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    if (to < from) return {Outcome::Reversed, 0};
    const LedgerView view(data, kSalesLedger);
    if (view.isEmpty()) return {Outcome::EmptyLedger, 0};
    store::MoneySum profit;
    forEachProfit(view, from, to, [&](const DatedRow& sale, double earned) { profit.add(earned, sale.row.currency()); });
    return {Outcome::Done, profit.in(view.shopCurrency())};
}

Chart profitChart(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    if (to < from) return {};
    const LedgerView view(data, kSalesLedger);
    ChartBuilder chart(view.shopCurrency());
    forEachProfit(view, from, to, [&](const DatedRow& sale, double earned) {
        chart.add(sale.date, sale.row.shownText(idx::sales::kName), earned, sale.row.currency());
    });
    return chart.take(from, to);
}

} // namespace reports
