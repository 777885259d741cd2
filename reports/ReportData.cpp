#include "reports/ReportData.h"

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

// The ledger as a report reads it: its sheet, the shop's currency and which rows are in leva.
struct LedgerView {
    LedgerView(const store::DataWorkbook& data, const Ledger& columns)
        : sheet(data.indexSheet()), columns(columns), shopCurrency(data.currency()), levaRows(data.levaRows(columns))
    {
    }

    store::Currency rowCurrency(int row) const
    {
        return row - idx::kFirstListRow < levaRows ? store::Currency::Leva : store::Currency::Euro;
    }
    // A price of the row as the report shows it: in a euro shop a leva price converted to the cent.
    QString priceText(int row, int column) const;

    const store::Worksheet& sheet;
    const Ledger& columns;
    store::Currency shopCurrency;
    int levaRows;
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

// The ledger's rows are 2 … n + 1; n as the counter gives it, within what a sheet can hold.
int ledgerRows(const store::DataWorkbook& data, const Ledger& ledger)
{
    return std::clamp(data.counter(ledger.rowCount), 0, store::kMaxRows - idx::kFirstListRow + 1);
}

int lastRow(int n)
{
    return idx::kFirstListRow + n - 1;
}

QString dateText(const store::Worksheet& sheet, int row, const Ledger& ledger)
{
    return sheet.value(row, ledger.date).toText();
}

// A count as a whole number of pieces, rounded as the spreadsheet rounds to an integer.
std::optional<double> countIn(const store::Worksheet& sheet, int row, int column)
{
    const auto number = sheet.value(row, column).toNumber();
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return std::nearbyint(*number);
}

std::optional<double> priceIn(const store::Worksheet& sheet, int row, int column)
{
    const auto number = sheet.value(row, column).toNumber();
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

// count × price of a row; a row whose count or price does not read as a number adds nothing.
double rowAmount(const store::Worksheet& sheet, int row, const Ledger& ledger)
{
    const auto count = countIn(sheet, row, ledger.count);
    const auto price = priceIn(sheet, row, ledger.price);
    return count && price ? *count * *price : 0.0;
}

QString LedgerView::priceText(int row, int column) const
{
    const store::Value value = sheet.value(row, column);
    const auto number = value.toNumber();
    if (!number || !std::isfinite(*number)) return value.toText();
    const bool converted = shopCurrency == store::Currency::Euro && rowCurrency(row) == store::Currency::Leva;
    return store::formatMoney(converted ? store::levaPriceToEuro(*number) : *number);
}

QStringList soldLine(const LedgerView& ledger, int row)
{
    namespace col = idx::sales;
    const store::Worksheet& sheet = ledger.sheet;
    return {sheet.value(row, col::kDate).toText(), sheet.shownText(row, col::kName), sheet.shownText(row, col::kCount),
            ledger.priceText(row, col::kPrice), invoiceText(sheet.value(row, col::kInvoice).toText())};
}

QStringList purchaseLine(const LedgerView& ledger, int row)
{
    namespace col = idx::purchases;
    const store::Worksheet& sheet = ledger.sheet;
    return {sheet.value(row, col::kDate).toText(), sheet.shownText(row, col::kName), sheet.shownText(row, col::kCount),
            ledger.priceText(row, col::kPrice)};
}

using LineReader = QStringList (*)(const LedgerView&, int);

// A listing being made: its rows, and the amounts of each currency summed apart.
class ListingBuilder {
public:
    ListingBuilder(const LedgerView& ledger, LineReader line) : ledger_(ledger), line_(line) {}

    void reserve(size_t rows) { listing_.rows.reserve(rows); }
    void add(int row)
    {
        listing_.rows.push_back(line_(ledger_, row));
        amounts_.add(rowAmount(ledger_.sheet, row, ledger_.columns), ledger_.rowCurrency(row));
    }
    Listing take()
    {
        listing_.sum = amounts_.in(ledger_.shopCurrency);
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
    std::vector<int> rows;
    std::optional<QDate> earliest;
    std::optional<QDate> latest;
};

DatedRows rowsInPeriod(const store::Worksheet& sheet, const Ledger& ledger, int n, const QDate& from,
                       const QDate& to)
{
    DatedRows found;
    DateReader readDate;
    for (int row = idx::kFirstListRow; row <= lastRow(n); ++row) {
        const auto date = readDate(dateText(sheet, row, ledger));
        if (!date) continue;
        if (!found.earliest || *date < *found.earliest) found.earliest = date;
        if (!found.latest || *date > *found.latest) found.latest = date;
        if (*date >= from && *date <= to) found.rows.push_back(row);
    }
    return found;
}

PeriodListing listPeriod(const store::DataWorkbook& data, const Ledger& ledger, LineReader line,
                         const QDate& from, const QDate& to)
{
    if (to < from) return {Outcome::Reversed, {}};
    const LedgerView view(data, ledger);
    const DatedRows dated = rowsInPeriod(view.sheet, ledger, ledgerRows(data, ledger), from, to);
    if (!dated.earliest || *dated.latest < from || *dated.earliest > to) return {Outcome::OutsidePeriod, {}};
    ListingBuilder listing(view, line);
    listing.reserve(dated.rows.size());
    for (const int row : dated.rows) listing.add(row);
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
    const int n = ledgerRows(data, kSalesLedger);
    if (n < 1) return {kNoSales};
    const store::Worksheet& sheet = data.indexSheet();
    QStringList dates;
    DateReader readDate;
    for (int row = idx::kFirstListRow; row <= lastRow(n); ++row) {
        const QString text = dateText(sheet, row, kSalesLedger);
        if (!readDate(text)) continue;
        if (dates.isEmpty() || dates.constLast() != text) dates << text;
    }
    if (dates.isEmpty()) dates << kNoSales;
    return dates;
}

Listing soldBetweenEntries(const store::DataWorkbook& data, const QString& fromEntry, const QString& toEntry)
{
    const int n = ledgerRows(data, kSalesLedger);
    const store::Worksheet& sheet = data.indexSheet();
    int start = 0;
    int end = 0;
    for (int row = idx::kFirstListRow; row <= lastRow(n); ++row) {
        const QString text = dateText(sheet, row, kSalesLedger);
        if (start == 0 && text == fromEntry) start = row;
        if (text == toEntry) end = row;
    }
    if (start == 0 || end < start) return {};
    const LedgerView view(data, kSalesLedger);
    ListingBuilder listing(view, soldLine);
    DateReader readDate;
    for (int row = start; row <= end; ++row)
        if (readDate(dateText(sheet, row, kSalesLedger))) listing.add(row);
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
    const int n = ledgerRows(data, kSalesLedger);
    if (n < 1) return {Outcome::EmptyLedger, 0};
    const LedgerView view(data, kSalesLedger);
    const store::Worksheet& sheet = view.sheet;
    namespace col = idx::sales;
    store::MoneySum profit;
    for (const int row : rowsInPeriod(sheet, kSalesLedger, n, from, to).rows) {
        const auto count = countIn(sheet, row, col::kCount);
        const auto price = priceIn(sheet, row, col::kPrice);
        const auto cost = priceIn(sheet, row, col::kPurchasePrice);
        if (count && price && cost) profit.add((*price - *cost) * *count, view.rowCurrency(row));
    }
    return {Outcome::Done, profit.in(view.shopCurrency)};
}

} // namespace reports
