#include "Worksheet.h"

#include "EngineError.h"
#include "StoreError.h"
#include "Workbook.h"
#include "formula/FormulaNodes.h"

#include <QLocale>
#include <algorithm>

namespace store {

namespace {

const CellRow kNoCells;

bool holdsNothing(const Cell& cell)
{
    return cell.holds() == Cell::Holds::Nothing && cell.format == kDefaultCellFormat;
}

bool byColumn(const Cell& c, int column) { return c.col < column; }

bool calls(const Formula& formula, QLatin1String function)
{
    return formula.root() && formula::anyNode(*formula.root(), [&](const FormulaNode& node) {
        return node.kind == FormulaNode::Kind::Function && node.text == function;
    });
}

// INDIRECT reads the reference its text gives, which may lie on any sheet.
bool readsOtherSheets(const Formula& formula)
{
    return !formula.sheetsNamed().isEmpty() || calls(formula, QLatin1String("INDIRECT"));
}

} // namespace

// The cells of one sheet as a formula reads them, with the other sheets of its workbook.
class SheetCells final : public FormulaCells {
public:
    explicit SheetCells(const Worksheet& sheet) : sheet_(sheet) {}
    Value valueAt(int row, int col) const override { return sheet_.value(row, col); }
    int lastRow() const override { return sheet_.lastRow(); }
    int lastColumn() const override { return sheet_.lastColumn(); }
    bool holdsSubtotal(int row, int col) const override
    {
        const FormulaCell* formula = sheet_.formulaAt(row, col);
        return formula && formula->subtotal;
    }
    bool dates1904() const override { return sheet_.parent().kept().date1904; }
    std::vector<const FormulaCells*> sheets(const QString& first, const QString& last) const override
    {
        std::vector<const FormulaCells*> cells;
        for (const Worksheet* sheet : sheet_.parent().sheetSpan(first, last)) cells.push_back(&sheet->formulaCells());
        return cells;
    }

private:
    const Worksheet& sheet_;
};

void checkSheetName(const QString& name)
{
    if (name.size() > kLongestTypedSheetName)
        throw Error(EngineError::SheetNameLength, {name, QString::number(kLongestTypedSheetName)});
    checkSheetNameCharacters(name);
}

void checkSheetNameCharacters(const QString& name)
{
    static const QString forbidden = QStringLiteral(":\\/?*[]");
    if (name.isEmpty()) throw Error(EngineError::SheetWithoutName);
    for (QChar ch : name) {
        if (forbidden.contains(ch))
            throw Error(EngineError::SheetNameCharacters, {name});
    }
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        throw Error(EngineError::SheetNameApostrophe, {name});
}

Worksheet::Worksheet(Workbook* workbook, const QString& name)
    : workbook_(workbook), name_(name), rows_(workbook->cellMemory()), cells_(std::make_unique<SheetCells>(*this))
{
}

const FormulaCells& Worksheet::formulaCells() const
{
    return *cells_;
}

Worksheet::~Worksheet()
{
    for (auto row = rows_.begin(); formulaCells_ > 0 && row != rows_.end(); ++row)
        for (Cell& cell : *row) release(cell);
}

void Worksheet::release(Cell& cell)
{
    if (FormulaCell* formula = cell.formula()) {
        if (formula->readsOtherSheets) --crossSheetFormulas_;
        delete formula;
        --formulaCells_;
    }
    cell.setNothing();
}

void Worksheet::store(Cell& cell, const Value& value)
{
    release(cell);
    switch (value.kind()) {
    case Value::Kind::Empty: break;
    case Value::Kind::Number: cell.setNumber(value.number()); break;
    case Value::Kind::Text: cell.setText(workbook_->strings().add(value.text())); break;
    case Value::Kind::Bool: cell.setBool(value.boolValue()); break;
    case Value::Kind::Error: cell.setError(value.errorValue()); break;
    }
}

void Worksheet::storeFormula(Cell& cell, const Formula& formula)
{
    auto held = std::make_unique<FormulaCell>();
    held->formula = formula;
    held->readsOtherSheets = readsOtherSheets(formula);
    held->subtotal = calls(formula, QLatin1String("SUBTOTAL"));
    release(cell);
    if (held->readsOtherSheets) ++crossSheetFormulas_;
    cell.setFormula(held.release());
    ++formulaCells_;
}

Value Worksheet::valueOf(const Cell& cell) const
{
    switch (cell.holds()) {
    case Cell::Holds::Nothing: return {};
    case Cell::Holds::Number: return Value(cell.number());
    case Cell::Holds::Text: return Value(workbook_->strings().at(cell.textIndex()));
    case Cell::Holds::Bool: return Value::boolean(cell.boolValue());
    case Cell::Holds::Error: return Value::error(cell.errorValue());
    case Cell::Holds::Formula: break;
    }
    return computed(*cell.formula());
}

void Worksheet::setName(const QString& name)
{
    checkSheetName(name);
    workbook_->refuseTakenName(name, this);
    const QString old = name_;
    name_ = name;
    workbook_->sheetRenamed(old, name);
    workbook_->markChanged();
}

store::Range Worksheet::cells(int row, int col)
{
    checkAddress(row, col);
    return store::Range(this, row, col, row, col);
}

store::Range Worksheet::Range(const QString& address)
{
    const RangeAddress a = parseRangeAddress(address);
    return store::Range(this, a.firstRow, a.firstCol, a.lastRow, a.lastCol);
}

store::Range Worksheet::Range(int firstRow, int firstCol, int lastRow, int lastCol)
{
    checkAddress(firstRow, firstCol);
    checkAddress(lastRow, lastCol);
    return store::Range(this, std::min(firstRow, lastRow), std::min(firstCol, lastCol),
                        std::max(firstRow, lastRow), std::max(firstCol, lastCol));
}

store::Range Worksheet::Rows(int row)
{
    checkAddress(row, 1);
    return store::Range(this, row, 1, row, kMaxColumns);
}

bool Worksheet::Delete()
{
    return workbook_->deleteSheet(*this);
}

void Worksheet::checkAddress(int row, int col) const
{
    if (row < 1 || row > kMaxRows || col < 1 || col > kMaxColumns)
        throw Error(EngineError::CellOutsideSheet, {QString::number(row), QString::number(col), name_});
}

const Cell* Worksheet::findCell(int row, int col) const
{
    if (row < 1 || row > int(rows_.size())) return nullptr;
    const auto& cells = rows_[size_t(row - 1)];
    auto it = std::lower_bound(cells.begin(), cells.end(), col, byColumn);
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

Cell& Worksheet::cellForWrite(int row, int col)
{
    checkAddress(row, col);
    if (row > int(rows_.size())) rows_.resize(size_t(row));
    auto& cells = rows_[size_t(row - 1)];
    auto it = std::lower_bound(cells.begin(), cells.end(), col, byColumn);
    if (it == cells.end() || it->col != col) {
        Cell cell;
        cell.col = quint16(col);
        it = cells.insert(it, std::move(cell));
    }
    return *it;
}

void Worksheet::touch()
{
    ++revision_;
    workbook_->sheetChanged(*this);
    workbook_->markChanged();
}

void Worksheet::calculate()
{
    ++revision_;
    workbook_->sheetChanged(*this);
    workbook_->shownChanged();
}

void Worksheet::otherSheetChanged()
{
    if (crossSheetFormulas_ > 0) ++revision_;
}

void Worksheet::changeFormulasReadingOtherSheets(const std::function<void(Formula&)>& change)
{
    if (crossSheetFormulas_ == 0) return;
    for (auto& cells : rows_)
        for (auto& cell : cells)
            if (FormulaCell* f = cell.formula(); f && f->readsOtherSheets) change(f->formula);
    ++revision_;
}

void Worksheet::keepFileValues(bool uncalculated)
{
    for (auto row = rows_.begin(); formulaCells_ > 0 && row != rows_.end(); ++row)
        for (const Cell& cell : *row)
            if (const FormulaCell* f = cell.formula()) f->computedAt = revision_;
    fileValuesRevision_ = revision_;
    uncalculated_ = uncalculated;
}

template <class Visit>
void Worksheet::forEachStaleFormulaIn(const FormulaRef& first, const FormulaRef& last, Visit visit) const
{
    const int bottom = std::min(last.row, lastRow());
    for (int row = std::max(first.row, 1); row <= bottom; ++row) {
        const auto& cells = rows_[size_t(row - 1)];
        auto it = std::lower_bound(cells.begin(), cells.end(), first.col,
                                   [](const Cell& c, int column) { return c.col < column; });
        for (; it != cells.end() && it->col <= last.col; ++it) {
            const FormulaCell* input = it->formula();
            if (input && input->computedAt != revision_ && !input->evaluating) visit(*this, *input);
        }
    }
}

template <class Visit>
void Worksheet::forEachStaleInput(const FormulaCell& f, Visit visit) const
{
    std::vector<const FormulaNode*> nodes;
    if (f.formula.root()) nodes.push_back(f.formula.root().get());
    while (!nodes.empty()) {
        const FormulaNode* node = nodes.back();
        nodes.pop_back();
        for (const auto& arg : node->args) nodes.push_back(arg.get());
        if (node->kind != FormulaNode::Kind::Ref && node->kind != FormulaNode::Kind::Area) continue;
        const FormulaRef last = node->kind == FormulaNode::Kind::Area ? node->ref2 : node->ref;
        if (node->sheet.isEmpty()) {
            forEachStaleFormulaIn(node->ref, last, visit);
            continue;
        }
        for (const Worksheet* sheet : workbook_->sheetSpan(node->sheet, node->lastSheet))
            sheet->forEachStaleFormulaIn(node->ref, last, visit);
    }
}

// The formulas a formula reads, on its sheet or others, are computed before it, from a stack of
// our own rather than by calling down from one formula into the next: a chain of formulas as
// long as the sheet is tall takes no more of the call stack than a single formula.
Value Worksheet::computed(const FormulaCell& f) const
{
    if (f.computedAt == revision_) return f.value;
    // A formula that reaches itself, also through other sheets, gives 0 where it reads itself,
    // as the spreadsheet shows a circular reference; it never computes forever.
    if (f.evaluating) return Value(0.0);
    struct Step {
        const Worksheet* sheet;
        const FormulaCell* cell;
        bool inputsQueued;
    };
    std::vector<Step> steps{{this, &f, false}};
    try {
        while (!steps.empty()) {
            const Step step = steps.back();
            if (step.cell->computedAt == step.sheet->revision_) {
                steps.pop_back();
            } else if (!step.inputsQueued) {
                steps.back().inputsQueued = true;
                step.cell->evaluating = true;
                step.sheet->forEachStaleInput(*step.cell, [&](const Worksheet& sheet, const FormulaCell& input) {
                    steps.push_back({&sheet, &input, false});
                });
            } else {
                steps.pop_back();
                step.sheet->compute(*step.cell);
            }
        }
    } catch (...) {
        for (const Step& step : steps) step.cell->evaluating = false;
        throw;
    }
    return f.value;
}

void Worksheet::compute(const FormulaCell& f) const
{
    const FormulaNode& root = *f.formula.root();
    const KeptArray* array = f.formula.isKept() && !root.args.empty() ? kept_.arrayAt(root.homeRow, root.homeCol) : nullptr;
    if (array && root.homeRow - root.blockRow == array->firstRow() && root.homeCol - root.blockCol == array->firstCol()) {
        // The cells of the block that still compute their element of its formula, each adjusted
        // alike by whatever moved the block.
        const int rows = array->lastRow() - array->firstRow() + 1, cols = array->lastCol() - array->firstCol() + 1;
        const std::vector<Value> values = f.formula.evaluateBlock(*cells_, rows, cols);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                const FormulaCell* cell = formulaAt(array->firstRow() + r, array->firstCol() + c);
                if (!cell || !cell->formula.isKept()) continue;
                const FormulaNode& node = *cell->formula.root();
                if (node.args.empty() || node.blockRow != r || node.blockCol != c) continue;
                cell->value = values[size_t(r * cols + c)];
                cell->evaluating = false;
                cell->computedAt = revision_;
            }
        }
    }
    if (f.computedAt != revision_) f.value = f.formula.evaluate(*cells_);
    f.evaluating = false;
    f.computedAt = revision_;
}

Value Worksheet::value(int row, int col) const
{
    const Cell* cell = findCell(row, col);
    return cell ? valueOf(*cell) : Value();
}

QString Worksheet::shownText(int row, int col) const
{
    const Value v = value(row, col);
    return v.isNumber() ? shownNumberText(v.number()) : v.toText();
}

void Worksheet::setValue(int row, int col, const Value& given)
{
    checkAddress(row, col);
    // Writing empty text empties the cell, as the spreadsheet does.
    const Value value = given.isText() && given.text().isEmpty() ? Value() : given;
    if (value.isText() && value.text().size() > kLongestText)
        throw Error(EngineError::TextTooLong, {QString::number(row), QString::number(col), QString::number(kLongestText)});
    if (value.isEmpty() && !findCell(row, col)) return;
    Cell& cell = cellForWrite(row, col);
    store(cell, value);
    if (holdsNothing(cell)) eraseCell(row, cell);
    touch();
}

void Worksheet::eraseCell(int row, const Cell& cell)
{
    auto& cells = rows_[size_t(row - 1)];
    cells.erase(cells.begin() + (&cell - cells.data()));
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void Worksheet::setFormula(int row, int col, const Formula& formula)
{
    storeFormula(cellForWrite(row, col), formula);
    touch();
}

const FormulaCell* Worksheet::formulaAt(int row, int col) const
{
    const Cell* cell = findCell(row, col);
    return cell ? cell->formula() : nullptr;
}

int Worksheet::lastColumn() const
{
    int last = 0;
    for (const auto& cells : rows_)
        if (!cells.empty()) last = std::max(last, int(cells.back().col));
    return last;
}

void Worksheet::deleteRows(int first, int count)
{
    checkAddress(first, 1);
    if (count <= 0) return;
    const int end = std::min(first + count - 1, kMaxRows);
    if (first <= int(rows_.size())) {
        const auto from = rows_.begin() + (first - 1);
        const auto to = rows_.begin() + std::min(end, int(rows_.size()));
        for (auto row = from; row != to; ++row)
            for (Cell& cell : *row) release(cell);
        rows_.erase(from, to);
    }
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();

    for (auto& cells : rows_)
        for (auto& cell : cells)
            if (FormulaCell* f = cell.formula()) f->formula.adjustForDeletedRows(first, count, name_, true);
    workbook_->rowsDeleted(*this, first, count);

    std::map<int, RowInfo> moved;
    for (const auto& [row, info] : rowInfo_) {
        if (row < first) moved[row] = info;
        else if (row > end) moved[row - count] = info;
    }
    rowInfo_ = std::move(moved);

    std::vector<CellArea> kept;
    for (CellArea area : merged_) {
        if (area.lastRow < first) kept.push_back(area);
        else if (area.firstRow > end) {
            area.firstRow -= count;
            area.lastRow -= count;
            kept.push_back(area);
        }
    }
    merged_ = std::move(kept);
    if (!kept_.empty()) kept_.rowsDeleted(first, end - first + 1, name_, workbook_->kept().dropped);
    stopLostArrayFormulas();
    touch();
}

void Worksheet::rowsSorted(int first, int firstCol, int lastCol, const std::vector<int>& newRow)
{
    if (!kept_.empty()) kept_.rowsSorted(first, firstCol, lastCol, newRow, name_, workbook_->kept().dropped);
    stopLostArrayFormulas();
}

void Worksheet::stopLostArrayFormulas()
{
    for (size_t r = 0; formulaCells_ > 0 && r < rows_.size(); ++r)
        for (Cell& cell : rows_[r])
            if (FormulaCell* f = cell.formula();
                f && f->formula.isKept() && !f->formula.root()->args.empty() && !kept_.arrayAt(int(r) + 1, cell.col))
                f->formula = f->formula.asRead();
}

void Worksheet::putCell(int row, int col, const Value& value, quint16 format)
{
    Cell& cell = cellForWrite(row, col);
    store(cell, value);
    cell.format = format;
}

void Worksheet::putFormula(int row, int col, const Formula& formula, const Value& cached, quint16 format)
{
    Cell& cell = cellForWrite(row, col);
    storeFormula(cell, formula);
    cell.format = format;
    cell.formula()->value = cached;
}

void Worksheet::reserveRows(int lastRow)
{
    rows_.reserve(size_t(std::clamp(lastRow, 0, kMaxRows)));
}

void Worksheet::putRow(int row, std::vector<Cell>& given)
{
    auto& cells = mutableRowCells(row);
    if (!cells.empty()) {
        for (const Cell& cell : given) {
            Cell& at = cellForWrite(row, cell.col);
            release(at);
            at = cell;
        }
        return;
    }
    // The last of two cells with one column wins, as it would cell by cell. Files write a row's
    // cells in order, so the sort is nearly never needed.
    const auto byCol = [](const Cell& a, const Cell& b) { return a.col < b.col; };
    if (!std::is_sorted(given.begin(), given.end(), byCol)) std::stable_sort(given.begin(), given.end(), byCol);
    for (size_t i = 0; i + 1 < given.size(); ++i)
        if (given[i].col == given[i + 1].col) release(given[i]);
    const auto last = std::unique(given.rbegin(), given.rend(), [](const Cell& a, const Cell& b) { return a.col == b.col; });
    cells.assign(last.base(), given.end());
}

quint16 Worksheet::formatAt(int row, int col) const
{
    const Cell* cell = findCell(row, col);
    return cell ? cell->format : kDefaultCellFormat;
}

void Worksheet::setFormat(int row, int col, quint16 format)
{
    if (format == kDefaultCellFormat && !findCell(row, col)) return;
    cellForWrite(row, col).format = format;
    workbook_->markChanged();
}

const CellRow& Worksheet::rowCells(int row) const
{
    if (row < 1 || row > int(rows_.size())) return kNoCells;
    return rows_[size_t(row - 1)];
}

CellRow& Worksheet::mutableRowCells(int row)
{
    checkAddress(row, 1);
    if (row > int(rows_.size())) rows_.resize(size_t(row));
    return rows_[size_t(row - 1)];
}

} // namespace store
