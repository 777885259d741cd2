#pragma once

#include "store/NumberFormat.h"

#include <QString>

namespace store {
class Worksheet;
}

namespace store::window {

// How numbers show under a format code is the engine's (store/NumberFormat.h).
using store::formatGeneral;
using store::formatNumber;
using store::isGeneralFormat;
using store::kGeneralDigits;

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
