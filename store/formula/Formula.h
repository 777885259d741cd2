#pragma once

#include "store/Value.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace store {

struct KeptContext;
struct KeptFormulaPlace;

// A cell reference inside a formula, 1-based, already resolved to the sheet's coordinates.
// The flags say which parts are absolute ("$B$2"); relative parts move when a formula is
// copied, both move when rows are deleted above them.
struct FormulaRef {
    int row = 1;
    int col = 1;
    bool rowAbs = false;
    bool colAbs = false;
    bool operator==(const FormulaRef&) const = default;
};

struct FormulaNode {
    enum class Kind {
        Number,    // number
        Text,      // text (a string literal)
        Bool,      // boolean
        Error,     // error literal, also a reference that was deleted (#REF!)
        Ref,       // ref
        Area,      // ref : ref2
        Unary,     // op ("-", "+", "%") applied to args[0]
        Binary,    // args[0] op args[1]; op is one of + - * / ^ & = <> < > <= >=
        Function,  // name(args...), name upper case
        Paren,     // (args[0]), kept so printing gives back what was typed
        Missing,   // an omitted function argument: IF(A1,,2)
        Array,     // an array constant {1,2;3,4}: its elements (Number, Text, Bool, Error) in args,
                   // row by row, arrayColumns of them to a row
        Kept,      // a formula of a file the engine cannot compute (other workbooks, add-ins,
                   // functions it lacks): its tokens as read, its last value in cached
        Intersection,  // args[0] args[1]: the cells two references share
        Union,         // args[0],args[1],...: several references as one, inside parentheses
        Name,          // a name the workbook defines (text), standing for its definition in args[0]
    };
    Kind kind = Kind::Number;
    double number = 0;
    QString text;       // Text literal, operator, function name, or a Number as typed ("1E+308")
    bool boolean = false;
    ErrorCode error = ErrorCode::Ref;
    FormulaRef ref;
    FormulaRef ref2;
    // Ref, Area: the sheet they lie on as typed ("Лист1"), empty for the formula's own sheet;
    // lastSheet ends a span of sheets (Лист1:Лист3!A1), empty for one sheet.
    QString sheet;
    QString lastSheet;
    // Area: typed as whole columns (A:C) or whole rows (1:3), printed back so.
    bool wholeColumns = false;
    bool wholeRows = false;
    // Area: the cell of the formula it belongs to (row 0 when not known). Where one value is
    // wanted, a one-column area gives its cell in that row, a one-row area its cell in that
    // column, as the spreadsheet does. Function: the same cell, for ROW() and COLUMN().
    int homeRow = 0, homeCol = 0;
    int arrayColumns = 0;
    int nameIndex = 0;  // Name: its place among the workbook's names (NAME records), from 1
    std::vector<std::shared_ptr<FormulaNode>> args;
    int depth = 1;      // levels of the tree from here down: 1 for a leaf
    // Kept, a cell of an array formula whose formula the engine computes: that formula in args[0]
    // (placed at the block's first cell), the cell's place in the block, from 0, and the rows the
    // block spans.
    int blockRow = 0, blockCol = 0, blockRows = 0;
    QByteArray tokens;  // Kept: the token array, written back unchanged
    Value cached;       // Kept: the value it gives until a program that can compute it does
    // Kept: where it was read from; its cell is homeRow, homeCol.
    std::shared_ptr<const KeptContext> context;
};

// What a formula kept from a file brings besides its tokens: what followed them in its record
// (the constants of its arrays), and the workbook and sheet it was read from, for the names its
// tokens use. Formulas of one sheet without constants share one.
struct KeptContext {
    QByteArray extra;
    std::shared_ptr<const KeptFormulaPlace> place;
};

// The deepest formula tree the engine builds, from text or from a file. Computing, printing
// and freeing a tree go down it level by level; the cap keeps that well inside the call stack.
inline constexpr int kMaxFormulaDepth = 1000;

using FormulaNodePtr = std::shared_ptr<FormulaNode>;

// Reads cells of the sheet a formula lives in. lastRow/lastColumn bound ranges such as
// B2:B10000 to the cells that can hold anything.
class FormulaCells {
public:
    virtual ~FormulaCells() = default;
    virtual Value valueAt(int row, int col) const = 0;
    virtual int lastRow() const = 0;
    virtual int lastColumn() const = 0;
    // The workbook counts its dates from 1 January 1904 (Mac workbooks) rather than from 1900.
    virtual bool dates1904() const { return false; }
    // The cell holds a formula calling SUBTOTAL, which other SUBTOTALs leave out.
    virtual bool holdsSubtotal(int /*row*/, int /*col*/) const { return false; }
    // The sheets first..last of the workbook in tab order (case ignored; last empty for first
    // alone); nothing when either is missing. A sheet on its own reaches no other.
    virtual std::vector<const FormulaCells*> sheets(const QString& /*first*/, const QString& /*last*/) const
    {
        return {};
    }
};

// How formulas are typed and shown: between function arguments, and in numbers. Where the
// decimal mark is a comma ("2,5"), arguments part with a semicolon.
struct FormulaSyntax {
    QChar argumentSeparator = u',';
    QChar decimalMark = u'.';
    // The syntax of the locale: ";" and "," where its decimal mark is a comma.
    static FormulaSyntax ofLocale(QChar localeDecimalMark);
    // Array constants: the argument separator between the elements of a row, and between rows
    // ";" ({1,2;3,4}), or "|" where ";" parts arguments ({1;2|3;4}).
    QChar arrayRowSeparator() const { return argumentSeparator == u';' ? u'|' : u';'; }
};

// The names a formula may be typed with: the Name node of a name the workbook defines, with its
// definition (see FormulaNode::Kind::Name); null for any other word.
using DefinedNames = std::function<FormulaNodePtr(const QString& name)>;

class Formula {
public:
    Formula() = default;
    explicit Formula(FormulaNodePtr root) : root_(std::move(root)) {}

    // "=SUM(A1:B2)" written in A1 style, as typed into the cell at (row, col). Throws store::Error
    // with a readable message for text that is not a formula this engine understands.
    static Formula parseA1(const QString& text, int row, int col);
    // "=COUNTIF(R[1]C[-18]:R[9999]C[-18],\"<>\")" in R1C1 style, relative to (row, col).
    static Formula parseR1C1(const QString& text, int row, int col);
    // As parseA1, typed with the syntax's separators and the workbook's names.
    static Formula parseA1(const QString& text, int row, int col, const FormulaSyntax& syntax,
                           const DefinedNames& names = {});

    // The formula in A1 style with its leading "=": "=COUNTIF(B2:B10000,\"<>\")".
    QString toA1() const;
    QString toA1(const FormulaSyntax& syntax) const;

    Value evaluate(const FormulaCells& cells) const;
    // A kept cell of an array formula that computes its element (see computingArray): the values
    // of the block's rows × cols cells, row by row, as each cell would evaluate to.
    std::vector<Value> evaluateBlock(const FormulaCells& cells, int rows, int cols) const;

    // Rows first..first+count-1 of the sheet named `sheet` were deleted: references to it below
    // move up, areas shrink, a reference into the deleted rows becomes #REF! (whole columns
    // stay). onOwnSheet: it is the formula's own sheet, whose unnamed references and own cell
    // move too.
    void adjustForDeletedRows(int first, int count, const QString& sheet = {}, bool onOwnSheet = true);
    // The sheet `from` is now called `to` (case ignored), or is gone (to empty): references to
    // it follow, or become #REF!. A span of sheets that began or ended with a sheet now gone
    // begins with the one that followed it (`next`) or ends with the one before it (`previous`).
    void adjustForSheet(const QString& from, const QString& to, const QString& next = {},
                        const QString& previous = {});
    // The sheets the formula names ("Лист1", both ends of Лист1:Лист3), as typed; none when it
    // reads only its own sheet.
    QStringList sheetsNamed() const;
    // The formula reads cells through a name the workbook defines.
    bool usesDefinedNames() const;

    // Tells the areas of a newly built formula the cell it is in (see FormulaNode::homeRow).
    Formula placedAt(int row, int col) &&;

    // A formula kept as the tokens of its file with the value it last had, in the cell (row, col)
    // (1-based). It shows as the formula text where its tokens and the context tell it, else as
    // its value.
    // A kept cell of an array formula that computes its element of `whole`: the element at
    // (blockRow, blockCol) of what the formula gives over arrays. It is written back as kept.
    // A deletion of some of the block's rows leaves the cell its value as read.
    Formula computingArray(const Formula& whole, int blockRow, int blockCol, int blockRows) &&;
    // A kept cell of an array formula that no longer computes its element: its tokens and the
    // value it was read with.
    Formula asRead() const;
    static Formula kept(const QByteArray& tokens, const Value& cached, std::shared_ptr<const KeptContext> context = {},
                        int row = 0, int col = 0);
    bool isKept() const;
    // What a kept formula's record holds after its tokens; nothing for other formulas.
    QByteArray keptExtra() const;

    const FormulaNodePtr& root() const { return root_; }
    bool isNull() const { return !root_; }

private:
    FormulaNodePtr root_;
};

} // namespace store
