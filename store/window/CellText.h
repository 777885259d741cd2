#pragma once

#include <QLocale>
#include <QString>

namespace store {
class Worksheet;
}

namespace store::window {

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

// The text a cell shows: its value (a formula's computed one) through the cell's number format.
QString shownCellText(const Worksheet& sheet, int row, int col);

// What a person edits in a cell: its formula ("=SUM(O8:O17)"; "=ROUND(2,675;2)" where the locale's
// decimal mark is a comma) or its value as the cell shows it in General format.
QString editableCellText(const Worksheet& sheet, int row, int col, const QLocale& locale = QLocale());

// Stores what a person typed into a cell, as a spreadsheet program takes it: "=..." is a formula,
// a number written with "," or "." becomes a number, a leading apostrophe keeps the rest as text,
// anything else is text and nothing empties the cell. A formula is typed as the locale writes it
// (see editableCellText). Throws store::Error, leaving the cell as it was, for a formula the
// engine cannot read.
void enterCellInput(Worksheet& sheet, int row, int col, const QString& typed, const QLocale& locale = QLocale());

} // namespace store::window
