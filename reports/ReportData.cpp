#include "reports/ReportData.h"

#include "ledgers/YearWorkbooks.h"
#include "store/DataWorkbook.h"
#include "store/Money.h"
#include "store/Worksheet.h"

#include <algorithm>
#include <cmath>
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

namespace {

namespace idx = store::layout::index;

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

// A listing being made: its rows, and the amounts of each currency summed apart.
class ListingBuilder {
public:
    ListingBuilder(const LedgerView& ledger, LineReader line) : ledger_(ledger), line_(line) {}

    void reserve(size_t rows) { listing_.rows.reserve(rows); }
    void add(const Row& row)
    {
        listing_.rows.push_back(line_(ledger_, row));
        amounts_.add(rowAmount(row, ledger_.columns), row.currency());
    }
    Listing take()
    {
        listing_.sum = amounts_.in(ledger_.shopCurrency());
        return std::move(listing_);
    }

private:
    const LedgerView& ledger_;
    LineReader line_;
    Listing listing_;
    store::MoneySum amounts_;
};

// The rows of the ledger dated within from..to, and the earliest and latest date it holds.
struct DatedRows {
    std::vector<Row> rows;
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
        if (*date >= from && *date <= to) found.rows.push_back(row);
    });
    return found;
}

PeriodListing listPeriod(const store::DataWorkbook& data, const Ledger& ledger, LineReader line,
                         const QDate& from, const QDate& to)
{
    if (to < from) return {Outcome::Reversed, {}};
    const LedgerView view(data, ledger);
    const DatedRows dated = rowsInPeriod(view, from, to);
    if (!dated.earliest || *dated.latest < from || *dated.earliest > to) return {Outcome::OutsidePeriod, {}};
    ListingBuilder listing(view, line);
    listing.reserve(dated.rows.size());
    for (const Row& row : dated.rows) listing.add(row);
    return {Outcome::Done, listing.take()};
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
    ListingBuilder listing(view, soldLine);
    DateReader readDate;
    at = 0;
    view.forEachRow([&](const Row& row) {
        ++at;
        if (at >= start && at <= end && readDate(dateText(row, kSalesLedger))) listing.add(row);
    });
    return listing.take();
}

PeriodListing soldInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    return listPeriod(data, kSalesLedger, soldLine, from, to);
}

PeriodListing purchasedInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    return listPeriod(data, kPurchaseLedger, purchaseLine, from, to);
}

Profit profitInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    if (to < from) return {Outcome::Reversed, 0};
    const LedgerView view(data, kSalesLedger);
    if (view.isEmpty()) return {Outcome::EmptyLedger, 0};
    namespace col = idx::sales;
    store::MoneySum profit;
    for (const Row& row : rowsInPeriod(view, from, to).rows) {
        const auto count = countIn(row, col::kCount);
        const auto price = priceIn(row, col::kPrice);
        const auto cost = priceIn(row, col::kPurchasePrice);
        if (count && price && cost) profit.add((*price - *cost) * *count, row.currency());
    }
    return {Outcome::Done, profit.in(view.shopCurrency())};
}

} // namespace reports
