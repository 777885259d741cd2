#pragma once

#include <QString>
#include <QTextStream>

namespace store { class Workbook; }

// Prints every sheet of a workbook and every cell that holds something, one line each, in a form
// meant for diffing and for scripts.
void dumpWorkbook(const store::Workbook& workbook, QTextStream& out);

// Prints one line per sheet: `sheet<TAB>NAME<TAB>last row<TAB>last column`; where there are
// formulas, `formulas<TAB>how many<TAB>how many of them are computed` (the others keep the value
// the file gave them); then one line `dropped: WHAT` for each thing the file held that a save
// would not carry.
void summarizeWorkbook(const store::Workbook& workbook, QTextStream& out);
