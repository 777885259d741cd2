#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace store {

// A record of a workbook file kept as it was read, for what the engine carries through without
// understanding it.
struct KeptRecord {
    quint16 id = 0;
    QByteArray data;
    bool operator==(const KeptRecord&) const = default;
};

// A sheet that is not a worksheet (a chart sheet, a macro or dialog sheet): its whole part of
// the file, BOF to EOF, with the visibility and kind its sheet-list entry gave.
struct KeptSheet {
    QString name;
    quint8 visibility = 0;
    quint8 type = 0;
    QByteArray records;
    int tab = 0;   // its place among all the workbook's sheets, from 0
};

// What a workbook file holds beyond its worksheets' cells and formats, written back as read.
struct KeptGlobals {
    // Dates count from 1 January 1904 (Mac workbooks) rather than from 1900.
    bool date1904 = false;
    // Formulas compute when the user asks (F9) rather than whenever their inputs change; a
    // workbook read so shows the values its file holds until a sheet changes.
    bool manualCalculation = false;
    // The links formulas and names refer through, and the defined names themselves (SUPBOOK,
    // EXTERNNAME, EXTERNSHEET, NAME, each with its CONTINUE records), in file order. They point
    // at sheets by their place in the workbook, so they are written back only while no sheet
    // has been inserted or deleted since they were read.
    std::vector<KeptRecord> links;
    bool linksFitSheets = false;
    // Sheets of other kinds, in tab order. While the worksheets are as read they go back to
    // their places; after an insertion or deletion they follow the worksheets.
    std::vector<KeptSheet> otherSheets;
};

} // namespace store
