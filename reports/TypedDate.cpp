#include "reports/TypedDate.h"

#include <QRegularExpression>

namespace reports {

std::optional<QDate> readTypedDate(const QString& text)
{
    static const QRegularExpression date(
        QStringLiteral("^\\s*([0-9]{1,2})\\s*[./-]\\s*([0-9]{1,2})\\s*[./-]\\s*([0-9]{4}|[0-9]{2})\\s*(г\\.?)?\\s*$"));
    const QRegularExpressionMatch m = date.match(text);
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.capturedLength(3) == 2) year += 2000;
    const QDate result(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!result.isValid()) return std::nullopt;
    return result;
}

} // namespace reports
