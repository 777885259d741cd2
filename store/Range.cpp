#include "Range.h"

#include "EngineError.h"
#include "StoreError.h"
#include "Workbook.h"
#include "Worksheet.h"

#include "store/Collation.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace store {

namespace {

bool parseCellName(const QString& text, int& row, int& col)
{
    static const QRegularExpression re(QStringLiteral("^\\$?([A-Za-z]{1,3})\\$?([0-9]{1,7})$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return false;
    col = 0;
    for (QChar ch : m.captured(1).toUpper()) col = col * 26 + (ch.unicode() - 'A' + 1);
    row = m.captured(2).toInt();
    return row >= 1 && row <= kMaxRows && col >= 1 && col <= kMaxColumns;
}

// A pattern of the spreadsheet's Find: * any run, ? any one character, ~ takes the next literally.
// Matches anywhere in the text, case folded.
class FindPattern {
public:
    explicit FindPattern(const QString& what)
    {
        const QString folded = what.toCaseFolded();
        for (qsizetype i = 0; i < folded.size(); ++i) {
            const QChar ch = folded[i];
            if (ch == QLatin1Char('~') && i + 1 < folded.size()) {
                tokens_.push_back({Token::Literal, folded[++i]});
                literal_ += folded[i];
            } else if (ch == QLatin1Char('*')) {
                tokens_.push_back({Token::Any, ch});
                plain_ = false;
            } else if (ch == QLatin1Char('?')) {
                tokens_.push_back({Token::One, ch});
                plain_ = false;
            } else {
                tokens_.push_back({Token::Literal, ch});
                literal_ += ch;
            }
        }
    }

    bool matches(const QString& text) const
    {
        if (text.isEmpty()) return false;
        if (plain_) return text.contains(literal_, Qt::CaseInsensitive);
        const QString folded = text.toCaseFolded();
        for (qsizetype start = 0; start < folded.size(); ++start)
            if (matchAt(folded, start, 0)) return true;
        return false;
    }

private:
    struct Token {
        enum Kind { Literal, Any, One } kind;
        QChar ch;
    };

    // Part match: once every token matched, the rest of the text does not matter.
    bool matchAt(const QString& text, qsizetype pos, size_t token) const
    {
        for (; token < tokens_.size(); ++token) {
            const Token& t = tokens_[token];
            if (t.kind == Token::Any) {
                if (token + 1 == tokens_.size()) return true;
                for (qsizetype p = pos; p <= text.size(); ++p)
                    if (matchAt(text, p, token + 1)) return true;
                return false;
            }
            if (pos >= text.size()) return false;
            if (t.kind == Token::Literal && text[pos] != t.ch) return false;
            ++pos;
        }
        return true;
    }

    std::vector<Token> tokens_;
    QString literal_;
    bool plain_ = true;
};

// Sort keys: numbers, then text, then booleans, then errors; blanks always last.
struct SortKey {
    int group = 0;      // 0 number, 1 text, 2 bool, 3 error, 4 blank
    double number = 0;
    QCollatorSortKey text;
};

SortKey sortKeyOf(const Value& v)
{
    static const QCollatorSortKey noText = bulgarianCollator().sortKey(QString());
    SortKey key{4, 0, noText};
    switch (v.kind()) {
    case Value::Kind::Number: key.group = 0; key.number = v.number(); break;
    case Value::Kind::Text:
        if (v.text().isEmpty()) break;
        key.group = 1;
        key.text = bulgarianCollator().sortKey(v.text());
        break;
    case Value::Kind::Bool: key.group = 2; key.number = v.boolValue() ? 1 : 0; break;
    case Value::Kind::Error: key.group = 3; key.number = double(v.errorValue()); break;
    case Value::Kind::Empty: break;
    }
    return key;
}

// <0, 0, >0 as a comes before, with, after b in ascending order; blanks are handled by the caller.
int compareKeys(const SortKey& a, const SortKey& b)
{
    if (a.group != b.group) return a.group < b.group ? -1 : 1;
    if (a.group == 1) return a.text.compare(b.text);
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
}

} // namespace

RangeAddress parseRangeAddress(const QString& address)
{
    const QStringList parts = address.split(QLatin1Char(':'));
    RangeAddress a{};
    bool ok = parts.size() == 1 || parts.size() == 2;
    ok = ok && parseCellName(parts[0], a.firstRow, a.firstCol);
    if (ok && parts.size() == 2) ok = parseCellName(parts[1], a.lastRow, a.lastCol);
    else if (ok) { a.lastRow = a.firstRow; a.lastCol = a.firstCol; }
    if (!ok) throw Error(EngineError::NotARange, {address});
    if (a.firstRow > a.lastRow) std::swap(a.firstRow, a.lastRow);
    if (a.firstCol > a.lastCol) std::swap(a.firstCol, a.lastCol);
    return a;
}

QString columnName(int col)
{
    QString name;
    while (col > 0) {
        const int digit = (col - 1) % 26;
        name.prepend(QChar('A' + digit));
        col = (col - 1) / 26;
    }
    return name;
}

Range::Range(store::Worksheet* sheet, int firstRow, int firstCol, int lastRow, int lastCol)
    : sheet_(sheet), firstRow_(firstRow), firstCol_(firstCol), lastRow_(lastRow), lastCol_(lastCol)
{
}

QString Range::Address() const
{
    auto cell = [](int r, int c) { return QStringLiteral("$%1$%2").arg(columnName(c)).arg(r); };
    if (firstRow_ == lastRow_ && firstCol_ == lastCol_) return cell(firstRow_, firstCol_);
    return cell(firstRow_, firstCol_) + QLatin1Char(':') + cell(lastRow_, lastCol_);
}

store::Value Range::Value() const
{
    return sheet_->value(firstRow_, firstCol_);
}

QString Range::Text() const
{
    return sheet_->shownText(firstRow_, firstCol_);
}

void Range::setValue(const store::Value& value)
{
    for (int r = firstRow_; r <= lastRow_; ++r)
        for (int c = firstCol_; c <= lastCol_; ++c) sheet_->setValue(r, c, value);
}

QString Range::Formula() const
{
    if (const FormulaCell* f = sheet_->formulaAt(firstRow_, firstCol_)) return f->formula.toA1();
    return sheet_->value(firstRow_, firstCol_).toText();
}

void Range::setFormula(const QString& a1)
{
    if (!a1.startsWith(QLatin1Char('='))) {
        setValue(store::Value(a1));
        return;
    }
    for (int r = firstRow_; r <= lastRow_; ++r)
        for (int c = firstCol_; c <= lastCol_; ++c) sheet_->setFormula(r, c, store::Formula::parseA1(a1, r, c));
}

void Range::setFormulaR1C1(const QString& r1c1)
{
    if (!r1c1.startsWith(QLatin1Char('='))) {
        setValue(store::Value(r1c1));
        return;
    }
    for (int r = firstRow_; r <= lastRow_; ++r)
        for (int c = firstCol_; c <= lastCol_; ++c) sheet_->setFormula(r, c, store::Formula::parseR1C1(r1c1, r, c));
}

namespace {

// Walks the stored cells of a range in row order, starting after (row, col), wrapping round to the
// start, and ending with (row, col) itself; the first cell whose shown text matches wins.
std::optional<Range> searchFrom(store::Worksheet& sheet, const Range& range, int row, int col,
                                const FindPattern& pattern)
{
    const int lastRow = std::min(range.lastRow(), sheet.lastRow());
    auto scan = [&](int fromRow, int fromCol, int toRow, int toCol) -> std::optional<Range> {
        // cells strictly after (fromRow, fromCol) up to and including (toRow, toCol)
        for (int r = fromRow; r <= std::min(toRow, lastRow); ++r) {
            for (const Cell& cell : sheet.rowCells(r)) {
                const int c = cell.col;
                if (c < range.column() || c > range.lastColumn()) continue;
                if (r == fromRow && c <= fromCol) continue;
                if (r == toRow && c > toCol) break;
                if (pattern.matches(sheet.shownText(r, c))) return sheet.cells(r, c);
            }
        }
        return std::nullopt;
    };
    if (auto hit = scan(row, col, range.lastRow(), range.lastColumn())) return hit;
    return scan(range.row(), range.column() - 1, row, col);
}

} // namespace

std::optional<Range> Range::Find(const QString& what) const
{
    sheet_->parent().lastFind = what;
    return searchFrom(*sheet_, *this, firstRow_, firstCol_, FindPattern(what));
}

std::optional<Range> Range::FindNext(const Range& after) const
{
    return searchFrom(*sheet_, *this, after.row(), after.column(), FindPattern(sheet_->parent().lastFind));
}

void Range::Sort(const Range& key1, SortOrder order1)
{
    const int keyCol = key1.column();
    if (keyCol < firstCol_ || keyCol > lastCol_)
        throw Error(EngineError::SortKeyOutsideRange, {Address()});
    const int last = std::min(lastRow_, sheet_->lastRow());
    if (last <= firstRow_) return;
    const int count = last - firstRow_ + 1;

    std::vector<SortKey> keys;
    keys.reserve(size_t(count));
    for (int r = firstRow_; r <= last; ++r) keys.push_back(sortKeyOf(sheet_->value(r, keyCol)));

    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const bool down = order1 == SortOrder::Descending;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const SortKey& ka = keys[size_t(a)];
        const SortKey& kb = keys[size_t(b)];
        if (ka.group == 4 || kb.group == 4) return ka.group != 4 && kb.group == 4;
        const int cmp = compareKeys(ka, kb);
        return down ? cmp > 0 : cmp < 0;
    });

    // Lift the range's part of every row out, then put the parts back in their new order.
    std::vector<std::vector<Cell>> parts(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto& cells = sheet_->mutableRowCells(firstRow_ + i);
        auto begin = std::lower_bound(cells.begin(), cells.end(), firstCol_,
                                      [](const Cell& c, int col) { return c.col < col; });
        auto end = std::upper_bound(begin, cells.end(), lastCol_,
                                    [](int col, const Cell& c) { return col < c.col; });
        parts[size_t(i)].assign(std::make_move_iterator(begin), std::make_move_iterator(end));
        cells.erase(begin, end);
    }
    for (int i = 0; i < count; ++i) {
        auto& cells = sheet_->mutableRowCells(firstRow_ + i);
        auto& part = parts[size_t(order[size_t(i)])];
        auto at = std::lower_bound(cells.begin(), cells.end(), firstCol_,
                                   [](const Cell& c, int col) { return c.col < col; });
        cells.insert(at, std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    }
    std::vector<int> newRow(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) newRow[size_t(order[size_t(i)])] = firstRow_ + i;
    sheet_->rowsSorted(firstRow_, firstCol_, lastCol_, newRow);
    sheet_->touch();
}

void Range::Delete()
{
    if (firstCol_ != 1 || lastCol_ != kMaxColumns)
        throw Error(EngineError::NotWholeRows, {Address()});
    sheet_->deleteRows(firstRow_, lastRow_ - firstRow_ + 1);
}

} // namespace store
