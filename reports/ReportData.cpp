#include "reports/ReportData.h"

#include "app/common/Money.h"
#include "store/DataWorkbook.h"
#include "store/Worksheet.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace reports {

QString periodRefusal(Outcome outcome, const QString& goods)
{
    switch (outcome) {
    case Outcome::Reversed: return QStringLiteral("Моля въведете датите коректно");
    case Outcome::OutsidePeriod:
    case Outcome::EmptyLedger:   // a ledger without rows has no day in any period
        return QStringLiteral("За посочения период няма %1 стоки").arg(goods);
    case Outcome::Done: break;
    }
    return {};
}

namespace {

namespace idx = store::layout::index;

// Where a ledger keeps its row count, dates, counts and prices.
struct LedgerColumns {
    store::layout::CellPos rowCount;
    int date;
    int count;
    int price;
};

const LedgerColumns kSalesLedger{idx::kSalesRows, idx::sales::kDate, idx::sales::kCount, idx::sales::kPrice};
const LedgerColumns kPurchaseLedger{idx::kPurchaseRows, idx::purchases::kDate, idx::purchases::kCount,
                                    idx::purchases::kPrice};

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
int ledgerRows(const store::DataWorkbook& data, const LedgerColumns& ledger)
{
    return std::clamp(data.counter(ledger.rowCount), 0, store::kMaxRows - idx::kFirstListRow + 1);
}

int lastRow(int n)
{
    return idx::kFirstListRow + n - 1;
}

QString dateText(const store::Worksheet& sheet, int row, const LedgerColumns& ledger)
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
double rowAmount(const store::Worksheet& sheet, int row, const LedgerColumns& ledger)
{
    const auto count = countIn(sheet, row, ledger.count);
    const auto price = priceIn(sheet, row, ledger.price);
    return count && price ? *count * *price : 0.0;
}

QString moneyText(const store::Value& value)
{
    const auto number = value.toNumber();
    return number && std::isfinite(*number) ? app::formatMoney(*number) : value.toText();
}

QStringList soldLine(const store::Worksheet& sheet, int row)
{
    namespace col = idx::sales;
    return {sheet.value(row, col::kDate).toText(), sheet.shownText(row, col::kName), sheet.shownText(row, col::kCount),
            moneyText(sheet.value(row, col::kPrice)), invoiceText(sheet.value(row, col::kInvoice).toText())};
}

QStringList purchaseLine(const store::Worksheet& sheet, int row)
{
    namespace col = idx::purchases;
    return {sheet.value(row, col::kDate).toText(), sheet.shownText(row, col::kName), sheet.shownText(row, col::kCount),
            moneyText(sheet.value(row, col::kPrice))};
}

using LineReader = QStringList (*)(const store::Worksheet&, int);

void addRow(Listing& listing, const store::Worksheet& sheet, int row, const LedgerColumns& ledger, LineReader line)
{
    listing.rows.push_back(line(sheet, row));
    listing.sum += rowAmount(sheet, row, ledger);
}

// The rows of the ledger dated within from..to, and the earliest and latest date it holds.
struct DatedRows {
    std::vector<int> rows;
    std::optional<QDate> earliest;
    std::optional<QDate> latest;
};

DatedRows rowsInPeriod(const store::Worksheet& sheet, const LedgerColumns& ledger, int n, const QDate& from,
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

PeriodListing listPeriod(const store::DataWorkbook& data, const LedgerColumns& ledger, LineReader line,
                         const QDate& from, const QDate& to)
{
    if (to < from) return {Outcome::Reversed, {}};
    const store::Worksheet& sheet = data.indexSheet();
    const DatedRows dated = rowsInPeriod(sheet, ledger, ledgerRows(data, ledger), from, to);
    if (!dated.earliest || *dated.latest < from || *dated.earliest > to) return {Outcome::OutsidePeriod, {}};
    PeriodListing result;
    result.listing.rows.reserve(dated.rows.size());
    for (const int row : dated.rows) addRow(result.listing, sheet, row, ledger, line);
    return result;
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
    Listing listing;
    if (start == 0 || end < start) return listing;
    DateReader readDate;
    for (int row = start; row <= end; ++row)
        if (readDate(dateText(sheet, row, kSalesLedger))) addRow(listing, sheet, row, kSalesLedger, soldLine);
    return listing;
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
    const store::Worksheet& sheet = data.indexSheet();
    namespace col = idx::sales;
    Profit result;
    for (const int row : rowsInPeriod(sheet, kSalesLedger, n, from, to).rows) {
        const auto count = countIn(sheet, row, col::kCount);
        const auto price = priceIn(sheet, row, col::kPrice);
        const auto cost = priceIn(sheet, row, col::kPurchasePrice);
        if (count && price && cost) result.profit += (*price - *cost) * *count;
    }
    return result;
}

} // namespace reports
