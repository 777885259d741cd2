#pragma once

#include <QLocale>
#include <QString>

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

// Whether a format code is the General one.
bool isGeneralFormat(const QString& code);

} // namespace store
