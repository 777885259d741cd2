#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace store {

struct BiffWorkbookNames;

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

// An array formula (ARRAY) or a data table (TABLE) of a worksheet: its record as read. The cells
// it fills hold formulas that point at its first cell; they are written back with it.
struct KeptArray {
    quint16 id = 0;
    QByteArray data;   // the range first: rows (16 bits each), then columns (8 bits each), 0-based
    int firstRow() const;   // 1-based, as the sheet counts
    int lastRow() const;
    int firstCol() const;
    int lastCol() const;
    bool covers(int row, int col) const
    {
        return row >= firstRow() && row <= lastRow() && col >= firstCol() && col <= lastCol();
    }
    bool operator==(const KeptArray&) const = default;
};

// What a worksheet's part of the file holds beyond its cells, formats, widths and heights: the
// records another program wrote (print setup, protection, pictures, notes, conditional formats,
// validation, hyperlinks, panes, zoom), each kept at its place among the records the writer
// makes itself. Those that name rows follow the rows when rows are deleted or sorted; what cannot
// follow safely is dropped, and said so in the workbook's log (KeptGlobals::dropped).
struct KeptSheetRecords {
    std::vector<KeptRecord> head;      // after BOF, before the column widths: print setup, protection
    std::vector<KeptRecord> objects;   // after the cells: drawings, OBJ, TXO, notes, charts in the sheet
    QByteArray window2;                // the file's WINDOW2 (frozen panes, grid lines), empty when none
    std::vector<KeptRecord> window;    // right after it: zoom, panes, selection
    std::vector<KeptRecord> tail;      // after the merged cells: conditional formats, hyperlinks, validation
    std::vector<KeptArray> arrays;     // array formulas and data tables

    bool empty() const
    {
        return head.empty() && objects.empty() && window2.isEmpty() && window.empty() && tail.empty() && arrays.empty();
    }
    // The array formula or data table whose cells hold (row, col), or null.
    const KeptArray* arrayAt(int row, int col) const;

    // Rows first..first+count-1 (1-based) of the sheet were deleted: what points at rows below
    // moves up, areas shrink, what lay wholly in the deleted rows goes. What cannot follow is
    // dropped; each drop adds a line to dropped, naming the sheet.
    void rowsDeleted(int first, int count, const QString& sheet, std::vector<QString>& dropped);
    // The cells of rows first.. in columns firstCol..lastCol were sorted: the cells of old row
    // first + i now lie in row newRow[i]. Notes and hyperlinks of single cells there go with
    // their cells; array formulas there are dropped.
    void rowsSorted(int first, int firstCol, int lastCol, const std::vector<int>& newRow, const QString& sheet,
                    std::vector<QString>& dropped);
};

// Where a workbook's own records (globals) that the engine does not interpret were read, kept so
// that the writer puts each back at its place among those it writes itself.
enum class GlobalsPlace {
    Start,        // after BOF: protection, who saved the file
    Book,         // after WINDOW1: the workbook's options
    Formatting,   // after the XFs: named styles, the colour palette, table styles
    Sheets,       // after the sheet list
    Drawings,     // after the links and names: pictures shared by the sheets' drawings
    End,          // after the shared strings: theme, features, options of later versions
};
inline constexpr int kGlobalsPlaces = 6;

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
    // What the links name (the sheets by their current names), for formulas typed with the
    // workbook's defined names.
    std::shared_ptr<const BiffWorkbookNames> names;
    // Sheets of other kinds, in tab order. While the worksheets are as read they go back to
    // their places; after an insertion or deletion they follow the worksheets.
    std::vector<KeptSheet> otherSheets;
    // The workbook's own records the engine does not interpret, by where they were read.
    std::vector<KeptRecord> records[kGlobalsPlaces];
    std::vector<KeptRecord>& at(GlobalsPlace place) { return records[int(place)]; }
    const std::vector<KeptRecord>& at(GlobalsPlace place) const { return records[int(place)]; }
    // The workbook's log of what its file held that the engine could not carry: read as a value
    // only, or dropped when rows moved. `tervin-workbook check` lists it.
    std::vector<QString> dropped;
};

} // namespace store
