#pragma once

#include "store/formula/Formula.h"

#include <QByteArray>
#include <functional>
#include <optional>

namespace store {

// A function the engine does not know is written as one the workbook would define itself: a
// defined name (NAME record) marked as a function, called by the formula. This gives the place
// of that name among the workbook's names (from 1) by the function's name in upper case, adding
// the name on first use.
using FunctionNames = std::function<quint16(const QString& upperName)>;

// A reference to other sheets goes into a file through an entry of the workbook's EXTERNSHEET
// table. This gives the place (from 0) of the entry for the sheets first..last (last empty for
// first alone), adding it on first use; nothing when such a sheet is not in the workbook.
using SheetLinks = std::function<std::optional<quint16>(const QString& first, const QString& last)>;

// A formula as the token array (rgce) of a BIFF8 FORMULA record in the cell at (row, col),
// both 1-based. Calls of functions the engine does not know go through functionNames, references
// to other sheets through sheetLinks; without them they cannot be written. Throws store::Error
// when the formula uses something the format cannot hold.
QByteArray encodeBiffFormula(const Formula& formula, int row, int col, const FunctionNames& functionNames = {},
                             const SheetLinks& sheetLinks = {});

// A formula as its FORMULA record holds it: the token array, and after it the constants of its
// arrays ({1,2;3,4}), empty for a formula without any. Encoded in one pass, as a save needs both.
struct BiffFormulaRecord {
    QByteArray tokens;
    QByteArray constants;
};
BiffFormulaRecord encodeBiffFormulaRecord(const Formula& formula, const FunctionNames& functionNames = {},
                                          const SheetLinks& sheetLinks = {});

// The formula of a BIFF8 token array, its arrays' constants in what follows it in the record.
// Tokens relative to the cell (ptgRefN, ptgAreaN, as in shared formulas) are resolved against
// (row, col). References to other sheets of the workbook and its defined names are read through
// its link table `names` (without it they are not read). Nothing when the tokens use something
// this engine does not model (other workbooks, add-ins, a name it cannot compute): the caller
// keeps the cached value.
struct BiffWorkbookNames;
std::optional<Formula> decodeBiffFormula(const QByteArray& tokens, int row, int col,
                                         const BiffWorkbookNames* names = nullptr, const QByteArray& constants = {});

// The workbook's defined name at `index` among its names (from 1) as a formula uses it: a Name
// node with the definition read from its tokens. Null for a name the engine cannot compute: that
// of a function, one defined through itself, through references relative to the cell using it,
// or through what a formula of the engine cannot hold.
FormulaNodePtr definedNameNode(const BiffWorkbookNames& names, int index);

// The tokens of a shared formula (SHRFMLA), whose relative references are offsets, made into
// those of an ordinary formula in the cell at (row, col). Nothing for tokens that cannot stand
// on their own (arrays, links to other shared formulas or tables).
std::optional<QByteArray> sharedTokensForCell(const QByteArray& shared, int row, int col);

// Whether tokens name a defined name or another sheet, which they do through the workbook's
// link table; tokens that cannot be walked count as doing so.
bool tokensUseLinks(const QByteArray& tokens);

// The tokens of a formula kept from a file after rows first..first+count-1 (1-based) of its own
// sheet were deleted: references below move up, areas shrink, a reference into the deleted rows
// becomes #REF!. References to other sheets stay. Nothing for tokens that cannot be walked.
// With onSheet, which tells by its EXTERNSHEET entry whether a reference to other sheets lies on
// the sheet whose rows went, it is those that move, as in the definitions of names.
std::optional<QByteArray> tokensAfterDeletedRows(const QByteArray& tokens, int first, int count,
                                                 const std::function<bool(quint16 entry)>& onSheet = {});

} // namespace store
