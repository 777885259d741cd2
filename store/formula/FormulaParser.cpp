#include "store/formula/FormulaParser.h"

#include "store/StoreError.h"
#include "store/formula/FormulaError.h"
#include "store/formula/FormulaFunctions.h"
#include "store/formula/FormulaNodes.h"

#include <charconv>
#include <cmath>
#include <initializer_list>

namespace store::formula {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

constexpr int kMaxNesting = 100;

// Recursive descent over the formula text. Each level of operator precedence has its own
// function, lowest first: comparisons, &, + -, * /, ^, postfix %, prefix - +.
class Parser {
public:
    Parser(const QString& text, RefStyle style, int row, int col, const FormulaSyntax& syntax, const DefinedNames& names)
        : text_(text), style_(style), row_(row), col_(col), syntax_(syntax), names_(names) {}

    FormulaNodePtr parse();

private:
    FormulaNodePtr comparison();
    FormulaNodePtr concatenation();
    FormulaNodePtr additive();
    FormulaNodePtr multiplicative();
    FormulaNodePtr power();
    FormulaNodePtr percent();
    FormulaNodePtr prefixed();
    FormulaNodePtr primary();
    FormulaNodePtr operand();
    bool intersectionFollows();

    FormulaNodePtr numberLiteral();
    FormulaNodePtr stringLiteral();
    FormulaNodePtr errorLiteral();
    FormulaNodePtr arrayConstant();
    FormulaNodePtr arrayElement();
    FormulaNodePtr parenthesised();
    FormulaNodePtr referenceOrName();
    FormulaNodePtr localReference();
    FormulaNodePtr wholeColumns();
    FormulaNodePtr wholeRows();
    std::optional<std::pair<int, bool>> wholeLine(qsizetype& p, bool columns) const;
    std::optional<std::pair<QString, QString>> sheetPrefix();
    std::pair<QString, QString> quotedSheets();
    FormulaNodePtr functionCall(const QString& upperName);
    FormulaNodePtr argument();
    void checkArgumentCount(const QString& upperName, int count) const;

    // A reference in the formula's style starting at pos_; pos_ moves past it.
    std::optional<FormulaRef> reference();
    std::optional<FormulaRef> a1Reference(qsizetype& end) const;
    std::optional<FormulaRef> r1c1Reference(qsizetype& end) const;
    bool r1c1Part(QChar letter, qsizetype& p, int base, int limit, int& value, bool& absolute) const;
    bool endsWord(qsizetype p) const;
    void checkInsideSheet(const FormulaRef& ref, qsizetype start, qsizetype end) const;

    std::optional<QString> acceptOperator(std::initializer_list<const char*> ops);
    bool accept(QChar c);
    void expect(QChar c);
    void skipBlanks();
    bool atEnd() const { return pos_ >= text_.size(); }
    QChar charAt(qsizetype i) const { return i < text_.size() ? text_[i] : QChar(); }
    QChar current() const { return charAt(pos_); }

    // The node, or a refusal when the tree has grown deeper than the engine keeps.
    FormulaNodePtr capped(FormulaNodePtr node) const;
    [[noreturn]] void fail(FormulaError reason, const QStringList& arguments = {}) const;
    [[noreturn]] void failUnexpected() const;

    const QString& text_;
    RefStyle style_;
    int row_;
    int col_;
    FormulaSyntax syntax_;
    const DefinedNames& names_;
    qsizetype pos_ = 0;
    int depth_ = 0;
};

FormulaNodePtr Parser::parse()
{
    if (!text_.startsWith(u'='))
        fail(FormulaError::MissingEquals);
    pos_ = 1;
    skipBlanks();
    if (atEnd()) fail(FormulaError::NothingAfterEquals);
    FormulaNodePtr root = comparison();
    skipBlanks();
    if (!atEnd()) failUnexpected();
    return root;
}

FormulaNodePtr Parser::comparison()
{
    // Parentheses and function arguments come back here; a cap keeps the recursion of the
    // parser, the printer and the evaluator shallow whatever the text.
    if (++depth_ > kMaxNesting) fail(FormulaError::TooDeeplyNested);
    FormulaNodePtr left = concatenation();
    while (auto op = acceptOperator({"<=", ">=", "<>", "<", ">", "="}))
        left = capped(makeBinary(*op, left, concatenation()));
    --depth_;
    return left;
}

FormulaNodePtr Parser::concatenation()
{
    FormulaNodePtr left = additive();
    while (auto op = acceptOperator({"&"}))
        left = capped(makeBinary(*op, left, additive()));
    return left;
}

FormulaNodePtr Parser::additive()
{
    FormulaNodePtr left = multiplicative();
    while (auto op = acceptOperator({"+", "-"}))
        left = capped(makeBinary(*op, left, multiplicative()));
    return left;
}

FormulaNodePtr Parser::multiplicative()
{
    FormulaNodePtr left = power();
    while (auto op = acceptOperator({"*", "/"}))
        left = capped(makeBinary(*op, left, power()));
    return left;
}

FormulaNodePtr Parser::power()
{
    FormulaNodePtr left = percent();
    while (auto op = acceptOperator({"^"}))
        left = capped(makeBinary(*op, left, percent()));
    return left;
}

FormulaNodePtr Parser::percent()
{
    FormulaNodePtr operand = prefixed();
    while (auto op = acceptOperator({"%"}))
        operand = capped(makeUnary(*op, operand));
    return operand;
}

// Prefix signs bind tighter than ^, so -2^2 is (-2)^2.
FormulaNodePtr Parser::prefixed()
{
    if (auto op = acceptOperator({"-", "+"})) {
        if (++depth_ > kMaxNesting) fail(FormulaError::TooManySigns);
        FormulaNodePtr node = makeUnary(*op, prefixed());
        --depth_;
        return node;
    }
    return primary();
}

bool isReference(const FormulaNode& node)
{
    switch (node.kind) {
    case FormulaNode::Kind::Ref:
    case FormulaNode::Kind::Area:
    case FormulaNode::Kind::Intersection:
    case FormulaNode::Kind::Union: return true;
    case FormulaNode::Kind::Paren:
    case FormulaNode::Kind::Name: return isReference(*node.args[0]);
    default: return false;
    }
}

// A space between two references is the intersection operator: "B1:B9 A5:C5" is B5.
FormulaNodePtr Parser::primary()
{
    FormulaNodePtr node = operand();
    while (isReference(*node) && intersectionFollows()) {
        const qsizetype start = pos_;
        FormulaNodePtr other = operand();
        if (!isReference(*other)) {
            pos_ = start;
            failUnexpected();
        }
        node = capped(makeIntersection(node, other));
    }
    return node;
}

bool Parser::intersectionFollows()
{
    if (!current().isSpace()) return false;
    qsizetype p = pos_;
    while (charAt(p).isSpace()) ++p;
    const QChar next = charAt(p);
    if (!next.isLetter() && next != u'$' && next != u'\'') return false;
    pos_ = p;
    return true;
}

FormulaNodePtr Parser::operand()
{
    skipBlanks();
    if (atEnd()) fail(FormulaError::UnexpectedEnd);
    const QChar c = current();
    if (isDigit(c) || c == u'$') {
        if (FormulaNodePtr rows = wholeRows()) return rows;
    }
    if (isDigit(c) || c == syntax_.decimalMark) return numberLiteral();
    if (c == u'"') return stringLiteral();
    if (c == u'#') return errorLiteral();
    if (c == u'(') return parenthesised();
    if (c == u'{') return arrayConstant();
    if (c.isLetter() || c == u'_' || c == u'$' || c == u'\'') return referenceOrName();
    failUnexpected();
}

FormulaNodePtr Parser::numberLiteral()
{
    const qsizetype start = pos_;
    while (isDigit(current())) ++pos_;
    if (current() == syntax_.decimalMark) {
        ++pos_;
        while (isDigit(current())) ++pos_;
    }
    if (pos_ - start == 1 && text_[start] == syntax_.decimalMark) {
        pos_ = start;
        failUnexpected();
    }
    if (current() == u'e' || current() == u'E') {
        qsizetype p = pos_ + 1;
        if (p < text_.size() && (text_[p] == u'+' || text_[p] == u'-')) ++p;
        if (p < text_.size() && isDigit(text_[p])) {
            pos_ = p;
            while (isDigit(current())) ++pos_;
        }
    }
    // The literal is kept as typed, with a point for its decimal mark, and printed back so.
    const QString typed = text_.mid(start, pos_ - start).replace(syntax_.decimalMark, u'.');
    const QByteArray latin = typed.toLatin1();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
        fail(FormulaError::NumberTooLarge, {text_.mid(start, pos_ - start)});
    FormulaNodePtr number = makeNumber(value);
    number->text = typed;
    return number;
}

FormulaNodePtr Parser::stringLiteral()
{
    QString value;
    ++pos_;
    for (;;) {
        if (atEnd()) fail(FormulaError::TextNotClosed);
        const QChar c = text_[pos_++];
        if (c != u'"') {
            value += c;
        } else if (current() == u'"') {
            value += c;
            ++pos_;
        } else {
            return makeText(value);
        }
    }
}

FormulaNodePtr Parser::errorLiteral()
{
    const qsizetype start = pos_;
    ++pos_;
    while (!atEnd() && (isNameChar(current()) || current() == u'/'))
        ++pos_;
    if (current() == u'!' || current() == u'?') ++pos_;
    const QString word = text_.mid(start, pos_ - start);
    if (auto code = errorFromText(word)) return makeError(*code);
    fail(FormulaError::NotAnErrorValue, {word});
}

// {1,2;3,4}: the elements of a row apart as arguments are, rows apart as the syntax says.
FormulaNodePtr Parser::arrayConstant()
{
    ++pos_;
    std::vector<FormulaNodePtr> elements;
    int columns = 0;
    int inRow = 0;
    for (;;) {
        elements.push_back(arrayElement());
        ++inRow;
        if (accept(syntax_.argumentSeparator)) continue;
        if (columns != 0 && inRow != columns) fail(FormulaError::ArrayRowsUneven);
        columns = inRow;
        inRow = 0;
        if (accept(syntax_.arrayRowSeparator())) continue;
        expect(u'}');
        break;
    }
    return makeArray(std::move(elements), columns);
}

// A number (maybe negative), text, TRUE, FALSE or an error value.
FormulaNodePtr Parser::arrayElement()
{
    skipBlanks();
    const QChar c = current();
    if (c == u'-' || isDigit(c) || c == syntax_.decimalMark) {
        const bool negative = accept(u'-');
        FormulaNodePtr number = numberLiteral();
        if (negative) {
            number->number = -number->number;
            if (!number->text.isEmpty()) number->text.prepend(u'-');   // shown as typed
        }
        return number;
    }
    if (c == u'"') return stringLiteral();
    if (c == u'#') return errorLiteral();
    for (const bool b : {true, false}) {
        const QLatin1String word(b ? "TRUE" : "FALSE");
        if (QStringView(text_).mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) == 0) {
            pos_ += word.size();
            return makeBool(b);
        }
    }
    if (atEnd()) fail(FormulaError::UnexpectedEnd);
    failUnexpected();
}

// Inside parentheses the argument separator joins references into one: SUM((A1:A3,C1:C3)).
FormulaNodePtr Parser::parenthesised()
{
    ++pos_;
    std::vector<FormulaNodePtr> parts{comparison()};
    while (accept(syntax_.argumentSeparator)) {
        parts.push_back(comparison());
        if (!isReference(*parts.back()) || !isReference(*parts.front())) fail(FormulaError::UnionOfValues);
    }
    expect(u')');
    return makeParen(parts.size() == 1 ? parts.front() : capped(makeUnion(std::move(parts))));
}

FormulaNodePtr Parser::referenceOrName()
{
    if (auto sheets = sheetPrefix()) {
        FormulaNodePtr reference = localReference();
        if (!reference) fail(FormulaError::ReferenceAfterSheet, {sheets->first});
        reference->sheet = sheets->first;
        reference->lastSheet = sheets->second;
        return reference;
    }
    if (FormulaNodePtr reference = localReference()) return reference;
    const qsizetype start = pos_;
    while (!atEnd() && (isNameChar(current()) || current() == u'$')) ++pos_;
    const QString word = text_.mid(start, pos_ - start);
    if (word.isEmpty()) failUnexpected();
    skipBlanks();
    if (current() == u'(' && !word.contains(u'$')) return functionCall(word.toUpper());
    if (word.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) return makeBool(true);
    if (word.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) return makeBool(false);
    if (names_)
        if (FormulaNodePtr name = names_(word)) return capped(std::move(name));
    fail(FormulaError::UnknownWord, {word});
}

// A cell, an area, whole columns (A:C) or whole rows (1:3) at pos_; null, pos_ unmoved, for
// anything else.
FormulaNodePtr Parser::localReference()
{
    if (FormulaNodePtr lines = wholeColumns()) return lines;
    if (FormulaNodePtr lines = wholeRows()) return lines;
    auto first = reference();
    if (!first) return nullptr;
    const qsizetype afterFirst = pos_;
    skipBlanks();
    if (!accept(u':')) {
        pos_ = afterFirst;
        return makeRef(*first);
    }
    skipBlanks();
    auto second = reference();
    if (!second) fail(FormulaError::CellAfterColon);
    return makeArea(*first, *second);
}

FormulaNodePtr Parser::wholeColumns()
{
    if (style_ != RefStyle::A1) return nullptr;
    qsizetype p = pos_;
    const auto first = wholeLine(p, true);
    if (!first || charAt(p) != u':') return nullptr;
    ++p;
    const auto last = wholeLine(p, true);
    if (!last || !endsWord(p)) return nullptr;
    pos_ = p;
    FormulaNodePtr area = makeArea(FormulaRef{1, first->first, true, first->second},
                                   FormulaRef{kMaxRow, last->first, true, last->second});
    area->wholeColumns = true;
    return area;
}

FormulaNodePtr Parser::wholeRows()
{
    if (style_ != RefStyle::A1) return nullptr;
    qsizetype p = pos_;
    const auto first = wholeLine(p, false);
    if (!first || charAt(p) != u':') return nullptr;
    ++p;
    const auto last = wholeLine(p, false);
    if (!last || !endsWord(p)) return nullptr;
    pos_ = p;
    FormulaNodePtr area = makeArea(FormulaRef{first->first, 1, first->second, true},
                                   FormulaRef{last->first, kMaxColumn, last->second, true});
    area->wholeRows = true;
    return area;
}

// "$C" or "C" (columns), "$3" or "3" (rows) at p: the column or row and whether it is absolute.
std::optional<std::pair<int, bool>> Parser::wholeLine(qsizetype& p, bool columns) const
{
    const bool absolute = charAt(p) == u'$';
    qsizetype q = absolute ? p + 1 : p;
    const qsizetype start = q;
    int number = 0;
    if (columns) {
        for (; isAsciiLetter(charAt(q)) && q - start < 3; ++q)
            number = number * 26 + (charAt(q).toUpper().unicode() - u'A' + 1);
        if (q == start || isAsciiLetter(charAt(q)) || isDigit(charAt(q)) || number > kMaxColumn) return std::nullopt;
    } else {
        for (; isDigit(charAt(q)) && q - start < 6; ++q) number = number * 10 + (charAt(q).unicode() - u'0');
        if (q == start || isDigit(charAt(q)) || number < 1 || number > kMaxRow) return std::nullopt;
    }
    p = q;
    return std::pair{number, absolute};
}

// "Лист1!", "'Лист 1'!", "Лист1:Лист3!" at pos_: the first and last sheet (last empty for one
// sheet), pos_ after the "!"; nothing, pos_ unmoved, where no sheet name starts here.
std::optional<std::pair<QString, QString>> Parser::sheetPrefix()
{
    if (current() == u'\'') return quotedSheets();
    const auto wordEnd = [this](qsizetype p) {
        while (p < text_.size() && isNameChar(text_[p])) ++p;
        return p;
    };
    const qsizetype firstEnd = wordEnd(pos_);
    if (firstEnd == pos_) return std::nullopt;
    const QString first = text_.mid(pos_, firstEnd - pos_);
    if (charAt(firstEnd) == u'!') {
        pos_ = firstEnd + 1;
        return std::pair{first, QString()};
    }
    if (charAt(firstEnd) != u':') return std::nullopt;
    const qsizetype lastEnd = wordEnd(firstEnd + 1);
    if (lastEnd == firstEnd + 1 || charAt(lastEnd) != u'!') return std::nullopt;
    pos_ = lastEnd + 1;
    return std::pair{first, text_.mid(firstEnd + 1, lastEnd - firstEnd - 1)};
}

// 'Лист 1'! or 'Лист 1:Лист 3'!, a doubled apostrophe standing for one. No sheet name holds a
// colon, so one parts the first sheet from the last.
std::pair<QString, QString> Parser::quotedSheets()
{
    QString names;
    ++pos_;
    for (;;) {
        if (atEnd()) fail(FormulaError::SheetNameNotClosed);
        const QChar c = text_[pos_++];
        if (c != u'\'') {
            names += c;
        } else if (current() == u'\'') {
            names += c;
            ++pos_;
        } else {
            break;
        }
    }
    if (current() != u'!') failUnexpected();
    ++pos_;
    const qsizetype colon = names.indexOf(u':');
    if (names.isEmpty() || colon == 0 || colon == names.size() - 1) fail(FormulaError::SheetNameNotClosed);
    if (colon < 0) return {names, QString()};
    return {names.left(colon), names.mid(colon + 1)};
}

FormulaNodePtr Parser::functionCall(const QString& upperName)
{
    expect(u'(');
    std::vector<FormulaNodePtr> args;
    skipBlanks();
    if (!accept(u')')) {
        do {
            args.push_back(argument());
        } while (accept(syntax_.argumentSeparator));
        expect(u')');
    }
    checkArgumentCount(upperName, int(args.size()));
    return makeFunction(upperName, std::move(args));
}

FormulaNodePtr Parser::argument()
{
    skipBlanks();
    if (current() == syntax_.argumentSeparator || current() == u')') return makeMissing();
    FormulaNodePtr arg = comparison();
    skipBlanks();
    return arg;
}

// Known functions are checked here so a wrong count is reported while typing, not shown
// later as #VALUE!. Unknown names give #NAME? when computed and go into the file as functions
// a workbook may define, whose name and argument count the file limits.
void Parser::checkArgumentCount(const QString& upperName, int count) const
{
    const FunctionInfo* info = findFunction(upperName);
    if (!info) {
        if (upperName.size() > kMaxFunctionNameLength)
            fail(FormulaError::FunctionNameTooLong, {QString::number(kMaxFunctionNameLength)});
        if (count > kMaxFunctionArgs - 1)
            fail(FormulaError::TooManyArguments,
                 {upperName, QString::number(kMaxFunctionArgs - 1), QString::number(count)});
        return;
    }
    if (count >= info->minArgs && count <= info->maxArgs) return;
    if (info->fixedArgCount())
        fail(FormulaError::FixedArgumentCount, {upperName, QString::number(info->minArgs), QString::number(count)});
    fail(FormulaError::ArgumentCountOutOfRange,
         {upperName, QString::number(info->minArgs), QString::number(info->maxArgs), QString::number(count)});
}

std::optional<FormulaRef> Parser::reference()
{
    qsizetype end = pos_;
    auto ref = style_ == RefStyle::A1 ? a1Reference(end) : r1c1Reference(end);
    if (ref) pos_ = end;
    return ref;
}

// A reference must not run on into a longer word: "A1B" is a name, "LOG10(" a function.
bool Parser::endsWord(qsizetype p) const
{
    if (p >= text_.size()) return true;
    const QChar c = text_[p];
    return !isNameChar(c) && c != u'(' && c != u'!' && c != u'$' && c != u'[';
}

void Parser::checkInsideSheet(const FormulaRef& ref, qsizetype start, qsizetype end) const
{
    if (!insideSheet(ref.row, ref.col))
        fail(FormulaError::ReferenceOutsideSheet, {text_.mid(start, end - start)});
}

std::optional<FormulaRef> Parser::a1Reference(qsizetype& end) const
{
    const qsizetype start = end;
    qsizetype p = end;
    FormulaRef ref;
    ref.colAbs = charAt(p) == u'$';
    if (ref.colAbs) ++p;
    // Up to three letters: IV is the last column, longer runs are names anyway.
    const qsizetype lettersStart = p;
    int col = 0;
    for (; isAsciiLetter(charAt(p)) && p - lettersStart < 3; ++p)
        col = col * 26 + (charAt(p).toUpper().unicode() - u'A' + 1);
    if (p == lettersStart || isAsciiLetter(charAt(p))) return std::nullopt;
    ref.rowAbs = charAt(p) == u'$';
    if (ref.rowAbs) ++p;
    const qsizetype digitsStart = p;
    qint64 row = 0;
    for (; isDigit(charAt(p)); ++p)
        row = std::min<qint64>(row * 10 + (charAt(p).unicode() - u'0'), kMaxRow + 1);
    if (p == digitsStart || !endsWord(p)) return std::nullopt;
    ref.row = int(row);
    ref.col = col;
    checkInsideSheet(ref, start, p);
    end = p;
    return ref;
}

std::optional<FormulaRef> Parser::r1c1Reference(qsizetype& end) const
{
    const qsizetype start = end;
    qsizetype p = end;
    FormulaRef ref;
    if (!r1c1Part(u'R', p, row_, kMaxRow, ref.row, ref.rowAbs)) return std::nullopt;
    if (!r1c1Part(u'C', p, col_, kMaxColumn, ref.col, ref.colAbs)) return std::nullopt;
    if (!endsWord(p)) return std::nullopt;
    checkInsideSheet(ref, start, p);
    end = p;
    return ref;
}

// "R", "R7" or "R[-2]" (and the same with C): an absolute number, an offset from the
// formula's own row or column in brackets, or nothing for the same row or column.
bool Parser::r1c1Part(QChar letter, qsizetype& p, int base, int limit, int& value, bool& absolute) const
{
    if (charAt(p).toUpper() != letter) return false;
    ++p;
    const bool bracketed = charAt(p) == u'[';
    if (bracketed) ++p;
    const bool negative = bracketed && charAt(p) == u'-';
    if (negative) ++p;
    const qsizetype digitsStart = p;
    qint64 number = 0;
    for (; isDigit(charAt(p)); ++p)
        number = std::min<qint64>(number * 10 + (charAt(p).unicode() - u'0'), limit + 1);
    if (bracketed) {
        if (p == digitsStart || charAt(p) != u']') return false;
        ++p;
    }
    absolute = !bracketed && p > digitsStart;
    value = int(absolute ? number : base + (negative ? -number : number));
    return true;
}

std::optional<QString> Parser::acceptOperator(std::initializer_list<const char*> ops)
{
    skipBlanks();
    for (const char* op : ops) {
        const QLatin1String candidate(op);
        if (QStringView(text_).mid(pos_).startsWith(candidate)) {
            pos_ += candidate.size();
            return QString(candidate);
        }
    }
    return std::nullopt;
}

bool Parser::accept(QChar c)
{
    skipBlanks();
    if (current() != c) return false;
    ++pos_;
    return true;
}

void Parser::expect(QChar c)
{
    if (accept(c)) return;
    if (atEnd()) fail(FormulaError::MissingAtEnd, {QString(c)});
    failUnexpected();
}

void Parser::skipBlanks()
{
    while (!atEnd() && current().isSpace()) ++pos_;
}

FormulaNodePtr Parser::capped(FormulaNodePtr node) const
{
    if (node->depth > kMaxFormulaDepth)
        fail(FormulaError::TooManyOperations, {QString::number(kMaxFormulaDepth)});
    return node;
}

void Parser::fail(FormulaError reason, const QStringList& arguments) const
{
    const Error why(reason, arguments);
    throw Error(why, FormulaError::NotParsed, {text_, why.message()});
}

void Parser::failUnexpected() const
{
    if (atEnd()) fail(FormulaError::UnexpectedEnd);
    fail(FormulaError::UnexpectedCharacter, {QString(current()), QString::number(pos_ + 1)});
}

} // namespace

FormulaNodePtr parseFormulaText(const QString& text, RefStyle style, int row, int col, const FormulaSyntax& syntax,
                                const DefinedNames& names)
{
    return Parser(text, style, row, col, syntax, names).parse();
}

} // namespace store::formula
