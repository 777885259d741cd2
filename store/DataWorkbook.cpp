#include "DataWorkbook.h"

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

std::optional<QDate> parseShopDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})\\s*\\.\\s*(\\d{1,2})\\s*\\.\\s*(\\d{4})\\s*(г\\.?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid()) return std::nullopt;
    return date;
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
    if (!number || !std::isfinite(*number)) return 0;
    return int(std::lround(*number));
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

int DataWorkbook::levaRows(layout::CellPos levaRowCount) const
{
    if (currency() == Currency::Leva) return std::numeric_limits<int>::max();
    return std::max(counter(levaRowCount), 0);
}

int DataWorkbook::goodsCount(const Worksheet& article) const
{
    const auto number = article.value(layout::article::kCountFormulaCell.row,
                                      layout::article::kCountFormulaCell.col).toNumber();
    return number ? int(std::lround(*number)) : 0;
}

} // namespace store
