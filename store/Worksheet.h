#pragma once

#include "store/KeptRecords.h"
#include "store/Range.h"
#include "store/Style.h"
#include "store/Value.h"
#include "store/formula/Formula.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <memory_resource>
#include <vector>

namespace store {

class Workbook;
class SheetCells;

inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

// A formula held by a cell with the value it last computed.
struct FormulaCell {
    Formula formula;
    mutable Value value;            // last computed (or, fresh from a file, the cached one)
    mutable quint64 computedAt = 0; // the sheet's revision the value belongs to; 0 = never
    mutable bool evaluating = false;
    bool readsOtherSheets = false;  // its value also follows changes of other sheets
    bool subtotal = false;          // it calls SUBTOTAL, whose totals leave such cells out
};

// One stored cell, sixteen bytes: its column, its format and what it holds. A text names its
// text by index into the workbook's string table; a formula lives on the heap, owned by the sheet.
// Cells that hold nothing and have the default format are not stored.
class Cell {
public:
    enum class Holds : quint8 { Nothing, Number, Text, Bool, Error, Formula };

    quint16 col = 1;
    quint16 format = kDefaultCellFormat;

    Holds holds() const { return holds_; }
    double number() const { return number_; }
    quint32 textIndex() const { return text_; }
    bool boolValue() const { return boolean_; }
    ErrorCode errorValue() const { return error_; }
    // The formula of the cell, or null.
    FormulaCell* formula() const { return holds_ == Holds::Formula ? formula_ : nullptr; }

    void setNothing() { holds_ = Holds::Nothing; number_ = 0; }
    void setNumber(double number) { holds_ = Holds::Number; number_ = number; }
    void setText(quint32 index) { holds_ = Holds::Text; text_ = index; }
    void setBool(bool b) { holds_ = Holds::Bool; boolean_ = b; }
    void setError(ErrorCode e) { holds_ = Holds::Error; error_ = e; }
    void setFormula(FormulaCell* formula) { holds_ = Holds::Formula; formula_ = formula; }

private:
    Holds holds_ = Holds::Nothing;
    union {
        double number_ = 0;
        quint32 text_;
        bool boolean_;
        ErrorCode error_;
        FormulaCell* formula_;
    };
};
static_assert(sizeof(Cell) == 16, "a cell takes sixteen bytes");

// The cells of one row, sorted by column.
using CellRow = std::pmr::vector<Cell>;

class Worksheet {
public:
    Worksheet(Workbook* workbook, const QString& name);
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;
    ~Worksheet();

    const QString& Name() const { return name_; }
    // Renames the sheet; throws store::Error when the format forbids the name or another sheet of
    // the workbook already has it (case ignored).
    void setName(const QString& name);

    Workbook& parent() const { return *workbook_; }

    // The object model's addressing: a single cell, an A1 range, a whole row.
    store::Range cells(int row, int col);
    store::Range Range(const QString& address);
    store::Range Range(int firstRow, int firstCol, int lastRow, int lastCol);
    store::Range Rows(int row);

    // Removes this sheet from its workbook; see Workbook::deleteSheet.
    bool Delete();

    // Cell values: a formula cell gives its computed value.
    Value value(int row, int col) const;
    void setValue(int row, int col, const Value& value);
    void setFormula(int row, int col, const Formula& formula);
    // The formula of the cell, or null.
    const FormulaCell* formulaAt(int row, int col) const;

    // The text a person sees in the cell: numbers in the user's decimal form (General format).
    QString shownText(int row, int col) const;

    // Rows first..first+count-1 go; rows below move up; formulas follow, also those of other
    // sheets that read this one.
    void deleteRows(int first, int count);

    // The sheet's cells as its formulas read them.
    const FormulaCells& formulaCells() const;
    // Changes the formulas of the sheet that read other sheets (a sheet was renamed or deleted,
    // rows of one deleted); they compute again.
    void changeFormulasReadingOtherSheets(const std::function<void(Formula&)>& change);
    // Another sheet changed: formulas reading other sheets compute again on their next read.
    void otherSheetChanged();

    // Bounds of what the sheet holds (0 when empty).
    int lastRow() const { return int(rows_.size()); }
    int lastColumn() const;

    // Storage as the file reader and writer see it. putCell stores a plain value, putFormula a
    // formula with its cached value (recomputed on first read).
    void putCell(int row, int col, const Value& value, quint16 format);
    void putFormula(int row, int col, const Formula& formula, const Value& cached, quint16 format);
    quint16 formatAt(int row, int col) const;
    void setFormat(int row, int col, quint16 format);
    const CellRow& rowCells(int row) const;   // sorted by column; empty beyond lastRow
    CellRow& mutableRowCells(int row);               // grows the sheet as needed; cells may move
                                                         // within and between rows, not be dropped
    // The value a plain cell of this sheet holds (a formula cell: its computed value).
    Value valueOf(const Cell& cell) const;
    // Throws store::Error when (row, col) lies outside what the format allows.
    void checkAddress(int row, int col) const;
    // Room for rows up to lastRow, as a file announces them before its cells.
    void reserveRows(int lastRow);
    // Puts plain cells (no formula among them) into a row at once, sorted by column, the last of
    // two with one column winning (the file reader gathers a row's cells and hands them over in
    // one piece).
    void putRow(int row, std::vector<Cell>& cells);

    std::map<int, ColumnInfo>& columns() { return columns_; }
    const std::map<int, ColumnInfo>& columns() const { return columns_; }
    std::map<int, RowInfo>& rowInfo() { return rowInfo_; }
    const std::map<int, RowInfo>& rowInfo() const { return rowInfo_; }
    std::vector<CellArea>& merged() { return merged_; }
    const std::vector<CellArea>& merged() const { return merged_; }
    // What the sheet's file held beyond cells and formats (see KeptSheetRecords).
    KeptSheetRecords& kept() { return kept_; }
    const KeptSheetRecords& kept() const { return kept_; }
    // The cells of rows first.. in columns firstCol..lastCol were sorted (Range::Sort): the
    // cells of old row first + i now lie in row newRow[i]; what the file kept follows them.
    void rowsSorted(int first, int firstCol, int lastCol, const std::vector<int>& newRow);

    // Called after every change of a cell: formulas compute again on their next read.
    void touch();
    // Formulas compute again on their next read, although nothing changed.
    void calculate();
    // The values the file gave the sheet's formulas stand, as a workbook whose calculation is
    // manual shows them, until the sheet changes or is calculated. uncalculated: the file said
    // they were not brought up to date before it was saved.
    void keepFileValues(bool uncalculated);
    // The sheet still shows values its file marked as not brought up to date.
    bool showsUncalculatedValues() const { return uncalculated_ && fileValuesRevision_ == revision_; }
    // Grows with every change of a cell, so that whoever shows the sheet can tell it changed.
    quint64 revision() const { return revision_; }

private:
    const Cell* findCell(int row, int col) const;
    Cell& cellForWrite(int row, int col);
    Value computed(const FormulaCell& f) const;
    // Computes the cell's formula, whose inputs are up to date. A cell of an array formula
    // computes the whole array once, for every cell of its block.
    void compute(const FormulaCell& f) const;
    // Cells of array formulas whose blocks are no longer kept keep their values as read.
    void stopLostArrayFormulas();
    // Makes the cell hold value (a text goes into the workbook's string table); a formula it held
    // is freed.
    void store(Cell& cell, const Value& value);
    void storeFormula(Cell& cell, const Formula& formula);
    void release(Cell& cell);
    void eraseCell(int row, const Cell& cell);
    // Calls visit(sheet, cell) for each formula cell that f reads, on this sheet or another, and
    // that is neither computed nor being computed.
    template <class Visit> void forEachStaleInput(const FormulaCell& f, Visit visit) const;
    template <class Visit>
    void forEachStaleFormulaIn(const FormulaRef& first, const FormulaRef& last, Visit visit) const;

    Workbook* workbook_;
    QString name_;
    std::pmr::vector<CellRow> rows_;   // rows_[r - 1], in the workbook's cell memory
    std::map<int, ColumnInfo> columns_;
    std::map<int, RowInfo> rowInfo_;
    std::vector<CellArea> merged_;
    KeptSheetRecords kept_;
    quint64 revision_ = 1;
    quint64 fileValuesRevision_ = 0;
    bool uncalculated_ = false;
    int formulaCells_ = 0;   // cells holding a formula, which the sheet frees
    int crossSheetFormulas_ = 0;   // of them, those that read other sheets
    std::unique_ptr<SheetCells> cells_;
};

// The longest text a cell holds: what the 16-bit character count of a file's string gives.
inline constexpr int kLongestText = 65535;
// A sheet name typed in this program is held to what spreadsheet programs let one type; a name
// read from a file (another program may have written a longer one) is kept as it came.
inline constexpr int kLongestTypedSheetName = 31;

// Throws store::Error when name is not a sheet name this program lets one type.
void checkSheetName(const QString& name);
// Throws store::Error when name cannot name a sheet at all: empty, or with a character no sheet
// name may hold. Names read from a file are held to this only.
void checkSheetNameCharacters(const QString& name);

} // namespace store
