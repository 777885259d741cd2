#include "DataWorkbook.h"

#include "store/EngineError.h"
#include "store/StoreError.h"
#include "store/Worksheet.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace store {

QString formatShopDate(const QDate& date)
{
    return date.toString(QStringLiteral("d. MM. yyyy"));
}

namespace {

// Day, month and year as the form reads them in its first three groups; a two-digit year falls
// in this century.
std::optional<QDate> dayMonthYear(const QRegularExpression& form, const QString& text)
{
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.capturedLength(3) == 2) year += 2000;
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid()) return std::nullopt;
    return date;
}

} // namespace

std::optional<QDate> parseShopDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})\\s*\\.\\s*(\\d{1,2})\\s*\\.\\s*(\\d{4})\\s*(г\\.?)?\\s*$"));
    return dayMonthYear(form, text);
}

std::optional<QDate> parseTypedDate(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*([0-9]{1,2})\\s*[./-]\\s*([0-9]{1,2})\\s*[./-]\\s*([0-9]{4}|[0-9]{2})\\s*(г\\.?)?\\s*$"));
    return dayMonthYear(form, text);
}

std::unique_ptr<Workbook> DataWorkbook::createFresh(Application* application, Currency currency)
{
    auto workbook = std::make_unique<Workbook>(application);
    Worksheet& index = workbook->sheets(1);
    index.setName(layout::kIndexSheet);
    DataWorkbook data(*workbook);
    data.setCell(layout::index::kSheetCount, Value(1));
    data.setCell(layout::index::kLastInvoice, Value(0));
    data.setCell(layout::index::kSalesRows, Value(0));
    data.setCell(layout::index::kPurchaseRows, Value(0));
    data.setCell(layout::index::kAdminName, Value(layout::kFreshAdminName));
    data.setCell(layout::index::kAdminPassword, Value(layout::kFreshAdminPassword));
    if (currency == Currency::Euro) data.setCell(layout::index::kCurrency, Value(layout::index::kEuroCode));
    return workbook;
}

int DataWorkbook::counter(layout::CellPos pos) const
{
    const auto number = cell(pos).toNumber();
    if (!number || !std::isfinite(*number) || *number < 0) return 0;
    return int(std::min(std::round(*number), double(std::numeric_limits<int>::max())));
}

namespace {

QString cellName(const QString& sheet, layout::CellPos pos)
{
    return QStringLiteral("%1%2 на листа „%3“").arg(columnName(pos.col)).arg(pos.row).arg(sheet);
}

// Whether any cell of the row from first to last column holds something.
bool rowHolds(const Worksheet& sheet, int row, int first, int last)
{
    for (int column = first; column <= last; ++column)
        if (!sheet.value(row, column).isEmpty()) return true;
    return false;
}

} // namespace

qint64 DataWorkbook::wholeCounter(layout::CellPos pos, qint64 max) const
{
    const Value value = cell(pos);
    const auto number = value.toNumber();
    if (number && std::isfinite(*number) && *number == std::floor(*number) && *number >= 0 && *number <= double(max))
        return qint64(*number);
    throw Error(EngineError::NotACount, {cellName(layout::kIndexSheet, pos), QString::number(max), value.toText()});
}

int DataWorkbook::nextLedgerRow(const layout::index::Ledger& ledger, int rows) const
{
    namespace idx = layout::index;
    const int counted = int(wholeCounter(ledger.rowCount, kMaxRows - idx::kFirstListRow + 1));
    const int next = idx::kFirstListRow + counted;
    const Worksheet& index = indexSheet();
    const auto disagree = [&](EngineError kind, int row) {
        return Error(kind, {QString::fromUtf8(ledger.name), cellName(layout::kIndexSheet, ledger.rowCount),
                            QString::number(counted), QString::number(row)});
    };
    if (counted > 0 && !rowHolds(index, next - 1, ledger.firstColumn, ledger.lastColumn))
        throw disagree(EngineError::LedgerRowEmpty, next - 1);
    for (int row = next; row < next + rows && row <= kMaxRows; ++row)
        if (rowHolds(index, row, ledger.firstColumn, ledger.lastColumn))
            throw disagree(EngineError::LedgerRowTaken, row);
    return next;
}

int DataWorkbook::checkedSheetCount() const
{
    const qint64 count = wholeCounter(layout::index::kSheetCount, layout::index::kMostSheets);
    if (count != workbook_.sheetCount())
        throw Error(EngineError::SheetCountDiffers, {cellName(layout::kIndexSheet, layout::index::kSheetCount),
                                                     QString::number(count), QString::number(workbook_.sheetCount())});
    return int(count);
}

Currency currencyOf(const Worksheet& sheet)
{
    return sheet.parent().findSheet(layout::kIndexSheet) ? DataWorkbook(sheet.parent()).currency() : Currency::Leva;
}

Currency DataWorkbook::currency() const
{
    const bool euro = cell(layout::index::kCurrency).toText().trimmed().compare(layout::index::kEuroCode, Qt::CaseInsensitive) == 0;
    return euro ? Currency::Euro : Currency::Leva;
}

int DataWorkbook::levaRows(const layout::index::Ledger& ledger) const
{
    if (currency() == Currency::Leva) return std::numeric_limits<int>::max();
    return counter(ledger.levaRowCount);
}

int DataWorkbook::goodsCount(const Worksheet& article) const
{
    const auto number = article.value(layout::article::kCountFormulaCell.row,
                                      layout::article::kCountFormulaCell.col).toNumber();
    if (!number || !std::isfinite(*number) || *number < 0) return 0;
    const int rows = std::min(std::max(article.lastRow() - 1, 0), layout::article::kMaxRecords);
    return int(std::min(std::round(*number), double(rows)));
}

bool atMinimumStock(const Worksheet& article, int row)
{
    const Value minimum = article.value(row, layout::article::kMinimumStock);
    return minimum.isNumber() && article.value(row, layout::article::kStock).toNumber().value_or(0) <= minimum.number();
}

std::vector<Worksheet*> DataWorkbook::articleSheets() const
{
    std::vector<Worksheet*> sheets;
    const int count = std::min(counter(layout::index::kSheetCount), workbook_.sheetCount());
    for (int i = 1; i <= count; ++i)
        if (Worksheet& sheet = workbook_.sheets(i); sheet.Name() != layout::kIndexSheet) sheets.push_back(&sheet);
    return sheets;
}

int DataWorkbook::nextGoodsRow(const Worksheet& article) const
{
    const int row = layout::article::recordRow(goodsCount(article) + 1);
    if (!article.value(row, layout::article::kName).isEmpty())
        throw Error(EngineError::GoodsCountDiffers, {cellName(article.Name(), layout::article::kCountFormulaCell),
                                                     QString::number(goodsCount(article)), QString::number(row),
                                                     article.value(row, layout::article::kName).toText()});
    return row;
}

} // namespace store
