#pragma once

#include <QString>
#include <QStringList>

namespace store {

// What the engine refuses: its workbooks, sheets, cells and ranges, and the shop's data workbook
// when its cells contradict each other. Each takes the arguments named after it.
enum class EngineError {
    ApplicationClosed,
    NoWorkbookNumber,        // number
    WorkbookWithoutSheets,   // path
    NoSheetNamed,            // workbook, sheet
    NoSheetNumber,           // workbook, number
    WorkbookWithoutFile,
    SheetNameTaken,          // name
    LastSheet,               // name
    SheetNameLength,         // name, longest
    SheetWithoutName,
    SheetNameCharacters,     // name
    SheetNameApostrophe,     // name
    CellOutsideSheet,        // row, column, sheet
    TextTooLong,             // row, column, longest
    NotARange,               // address
    SortKeyOutsideRange,     // range
    NotWholeRows,            // range
    TooManyCellFormats,      // most
    NotACount,               // cell, largest, what it holds
    SheetCountDiffers,       // cell, count it says, sheets there are
    GoodsCountDiffers,       // cell, count, row, the goods there
    LedgerRowEmpty,          // ledger, counter cell, count, row
    LedgerRowTaken,          // ledger, counter cell, count, row
};

QString errorMessage(EngineError kind, const QStringList& arguments);

} // namespace store
