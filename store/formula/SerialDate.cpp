#include "store/formula/SerialDate.h"

#include "store/formula/FormulaOperators.h"

#include <QRegularExpression>
#include <cmath>

namespace store::formula {

namespace {

// Serial numbers from 1 March 1900 on count days from 30 December 1899.
const QDate kEpoch(1899, 12, 30);
constexpr double kFirstRealSerial = 61;
constexpr double kLastSerial = 2958465;   // 31 December 9999

int fullYear(int year)
{
    return year < 30 ? 2000 + year : (year < 100 ? 1900 + year : year);
}

} // namespace

double serialOf(QDate date)
{
    const double days = double(kEpoch.daysTo(date));
    return days < kFirstRealSerial ? days - 1 : days;
}

std::optional<QDate> dateOfSerial(double serial)
{
    const double day = std::floor(serial);
    if (day < 1 || day > kLastSerial) return std::nullopt;
    if (day == 60) return QDate(1900, 2, 28);
    return kEpoch.addDays(qint64(day < kFirstRealSerial ? day + 1 : day));
}

std::optional<double> serialFromParts(double year, double month, double day)
{
    year = std::trunc(year);
    if (year < 0 || year >= 10000) return std::nullopt;
    if (year < 1900) year += 1900;
    const double months = (year - 1900) * 12 + std::trunc(month) - 1;
    const QDate first = QDate(1900, 1, 1).addMonths(qint64(months));
    if (!first.isValid()) return std::nullopt;
    const double serial = serialOf(first) + std::trunc(day) - 1;
    // Days before March 1900 land one early in the count with the missing 29 February.
    if (serial < 0 || serial > kLastSerial) return std::nullopt;
    return serial;
}

std::optional<double> dateFromText(QStringView text)
{
    static const QRegularExpression dayFirst(
        QStringLiteral("^\\s*(\\d{1,2})([./])(\\d{1,2})\\2(\\d{4}|\\d{2})(?:\\s*г\\.?)?(?:\\s+(.+))?\\s*$"));
    static const QRegularExpression yearFirst(
        QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:\\s+(.+))?\\s*$"));
    const QString typed = text.toString();
    int year = 0, month = 0, day = 0;
    QString rest;
    if (const auto m = dayFirst.match(typed); m.hasMatch()) {
        day = m.capturedView(1).toInt();
        month = m.capturedView(3).toInt();
        year = fullYear(m.capturedView(4).toInt());
        rest = m.captured(5);
    } else if (const auto m = yearFirst.match(typed); m.hasMatch()) {
        year = m.capturedView(1).toInt();
        month = m.capturedView(2).toInt();
        day = m.capturedView(3).toInt();
        rest = m.captured(4);
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1900) return std::nullopt;
    double serial = serialOf(date);
    if (!rest.trimmed().isEmpty()) {
        const auto time = timeFromText(rest);
        if (!time) return std::nullopt;
        serial += *time;
    }
    return serial;
}

} // namespace store::formula
