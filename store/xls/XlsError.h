#pragma once

#include <QString>
#include <QStringList>

namespace store::xls {

// Why an .xls file, or the bytes of one, is not read or not written. Most are reasons, told to the
// shop keeper within the sentence of the file or workbook they concern (the four kinds after them),
// sentences the rest of the program tells its own files in too, as it does a folder not made. Each
// takes the arguments named after it; a path is written as the system writes it.
enum class XlsError {
    // The file and its container.
    FileMissing,
    NotAFile,
    FileNotOpened,            // why
    FileNotReadToEnd,         // why
    ChangedWhileRead,
    EmptyFile,
    NewerFormat,
    NotAWorkbook,
    NoWorkbookStream,
    Damaged,
    // The records of the workbook stream.
    RecordHeaderCut,          // offset
    RecordCut,                // record, offset
    RecordShort,              // record, offset
    StreamWithoutBof,
    GlobalsWithoutBof,
    SheetWithoutBof,          // sheet
    OlderFormat,
    UnknownVersion,           // version in hexadecimal
    GlobalsOfWrongType,       // type found, type expected, in hexadecimal
    SheetOfWrongType,         // sheet, type found, type expected
    PasswordProtected,
    GlobalsWithoutEof,
    SheetMisplaced,           // sheet
    SheetWithoutEof,          // sheet
    NoSheets,
    CellFormatUnknown,        // cell, sheet, format
    TextOutsideTable,         // cell, sheet, text, texts in the table
    UnknownErrorCode,         // cell, sheet, code in hexadecimal
    MultipleCellsDamaged,     // row
    UnknownFormulaResult,     // cell, sheet
    // What the format cannot hold.
    NoSheetsToWrite,
    SheetNameTooLong,         // sheet, longest
    SheetNamesClash,          // sheet
    TooManyRows,              // sheet
    TooManyColumns,           // sheet
    MergedOutsideSheet,       // sheet
    ColumnFormatMissing,      // column, sheet, format
    CellFormatMissing,        // cell, sheet, format
    CellTextTooLong,          // cell, sheet, longest
    FormulaNotWritten,        // cell, sheet, why
    FormulaTooLong,           // cell, sheet
    FontCount,                // most
    FormatCount,              // least, most
    FormatWithoutFont,        // format, font
    FontNameLength,           // font
    NumberFormatTooLong,      // number format
    // Writing the file.
    FileNotCreated,           // why
    FileNotReplaced,          // why
    StreamStartTooLong,
    DiskWriteFailed,          // why
    // The sentences the reasons are told in.
    FileNotRead,              // path, why
    WorkbookNotRead,          // why
    FileNotWritten,           // path, and why when it is known
    WorkbookNotWritten,       // why
    FolderNotCreated,         // path
};

QString errorMessage(XlsError kind, const QStringList& arguments);

} // namespace store::xls
