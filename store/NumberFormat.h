#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace store {

// A number as a number format code shows it: sections for positive;negative;zero, digit
// placeholders 0 # ?, the group separator ",", "%", quoted and escaped literals. Decimal and group
// separators come from locale. Codes this does not understand (dates, times, fractions,
// exponents) and "General" give the number in its general form.
QString formatNumber(double number, const QString& code, const QLocale& locale = QLocale());

// A number in the General format with at most significantDigits digits, as a spreadsheet shows
// it in a cell: 57.599999999999994 shows as "57,6".
QString formatGeneral(double number, int significantDigits, const QLocale& locale = QLocale());
inline constexpr int kGeneralDigits = 10;

// A date and time serial number (days from 1900, the time of day the fraction) as a date format
// code shows it: yyyy yy, m mm mmm mmmm (months, or minutes after h and before s), d dd ddd dddd,
// h hh, s ss, AM/PM, quoted and escaped literals; month and day names from locale. Nothing for a
// code without date or time parts, or a serial outside the years 1900 to 9999.
std::optional<QString> formatDateTime(double serial, const QString& code, const QLocale& locale = QLocale());

// Whether a format code is the General one.
bool isGeneralFormat(const QString& code);

} // namespace store
