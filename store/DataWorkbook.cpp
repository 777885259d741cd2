#include "DataWorkbook.h"

#include <QRegularExpression>
#include <cmath>

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

std::unique_ptr<Workbook> DataWorkbook::createFresh(Application* application)
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
    return workbook;
}

int DataWorkbook::counter(layout::CellPos pos) const
{
    const auto number = cell(pos).toNumber();
    if (!number || !std::isfinite(*number)) return 0;
    return int(std::lround(*number));
}

int DataWorkbook::goodsCount(const Worksheet& article) const
{
    const auto number = article.value(layout::article::kCountFormulaCell.row,
                                      layout::article::kCountFormulaCell.col).toNumber();
    return number ? int(std::lround(*number)) : 0;
}

} // namespace store
