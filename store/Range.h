#pragma once

#include "store/Value.h"

#include <QString>
#include <optional>

namespace store {

class Worksheet;

enum class SortOrder { Ascending = 1, Descending = 2 };

// A rectangle of cells on one sheet, 1-based and inclusive, as the object model hands it out.
// A single cell is a range too: cells(r, c) gives one.
class Range {
public:
    Range(Worksheet* sheet, int firstRow, int firstCol, int lastRow, int lastCol);

    store::Worksheet& sheet() const { return *sheet_; }
    int row() const { return firstRow_; }
    int column() const { return firstCol_; }
    int lastRow() const { return lastRow_; }
    int lastColumn() const { return lastCol_; }
    // "$B$2:$B$10", or "$B$2" for one cell.
    QString Address() const;

    // The first cell's value (formulas give what they compute) and its shown text.
    store::Value Value() const;
    QString Text() const;
    void setValue(const store::Value& value);
    Range& operator=(const store::Value& value) { setValue(value); return *this; }

    // The first cell's formula in A1 style ("=SUM(A1:A3)"), or its value as text when it holds none.
    QString Formula() const;
    void setFormula(const QString& a1);
    void setFormulaR1C1(const QString& r1c1);

    // Search with the default options: part of the shown text, case ignored, * ? and ~ as in the
    // spreadsheet, by rows; starts after the first cell, which is tried last. Remembers what for
    // FindNext.
    std::optional<Range> Find(const QString& what) const;
    // The next cell after `after` that matches the last Find of the workbook, wrapping round.
    std::optional<Range> FindNext(const Range& after) const;

    // Reorders whole rows of the range by the column of key1: numbers before text, blanks last,
    // text by Bulgarian collation with case ignored; stable.
    void Sort(const Range& key1, SortOrder order1);

    // Deletes the whole rows this range covers; rows below move up.
    void Delete();

private:
    store::Worksheet* sheet_;
    int firstRow_, firstCol_, lastRow_, lastCol_;
};

// Parses "B2", "$B$2", "B2:B10", "A2:R" + last row into a rectangle; throws store::Error.
struct RangeAddress { int firstRow, firstCol, lastRow, lastCol; };
RangeAddress parseRangeAddress(const QString& address);
QString columnName(int col);   // 1 -> "A", 53 -> "BA"

} // namespace store
