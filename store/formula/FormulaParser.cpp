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
    Parser(const QString& text, RefStyle style, int row, int col)
        : text_(text), style_(style), row_(row), col_(col) {}

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

    FormulaNodePtr numberLiteral();
    FormulaNodePtr stringLiteral();
    FormulaNodePtr errorLiteral();
    FormulaNodePtr arrayConstant();
    FormulaNodePtr arrayElement();
    FormulaNodePtr parenthesised();
    FormulaNodePtr referenceOrName();
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

FormulaNodePtr Parser::primary()
{
    skipBlanks();
    if (atEnd()) fail(FormulaError::UnexpectedEnd);
    const QChar c = current();
    if (isDigit(c) || c == u'.') {
        FormulaNodePtr number = numberLiteral();
        skipBlanks();
        if (current() == u':')
            fail(FormulaError::WholeRowsNotSupported);
        return number;
    }
    if (c == u'"') return stringLiteral();
    if (c == u'#') return errorLiteral();
    if (c == u'(') return parenthesised();
    if (c == u'\'') fail(FormulaError::OtherSheetsNotSupported);
    if (c == u'{') return arrayConstant();
    if (c.isLetter() || c == u'_' || c == u'$') return referenceOrName();
    failUnexpected();
}

FormulaNodePtr Parser::numberLiteral()
{
    const qsizetype start = pos_;
    while (isDigit(current())) ++pos_;
    if (current() == u'.') {
        ++pos_;
        while (isDigit(current())) ++pos_;
    }
    if (pos_ - start == 1 && text_[start] == u'.') {
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
    const QByteArray latin = text_.mid(start, pos_ - start).toLatin1();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
        fail(FormulaError::NumberTooLarge, {QString::fromLatin1(latin)});
    return makeNumber(value);
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

// {1,2;3,4}: "," between the elements of a row, ";" between rows.
FormulaNodePtr Parser::arrayConstant()
{
    ++pos_;
    std::vector<FormulaNodePtr> elements;
    int columns = 0;
    int inRow = 0;
    for (;;) {
        elements.push_back(arrayElement());
        ++inRow;
        if (accept(u',')) continue;
        if (columns != 0 && inRow != columns) fail(FormulaError::ArrayRowsUneven);
        columns = inRow;
        inRow = 0;
        if (accept(u';')) continue;
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
    if (c == u'-' || isDigit(c) || c == u'.') {
        const bool negative = accept(u'-');
        FormulaNodePtr number = numberLiteral();
        if (negative) number->number = -number->number;
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

FormulaNodePtr Parser::parenthesised()
{
    ++pos_;
    FormulaNodePtr inner = comparison();
    expect(u')');
    return makeParen(inner);
}

FormulaNodePtr Parser::referenceOrName()
{
    if (auto first = reference()) {
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
    const qsizetype start = pos_;
    while (!atEnd() && (isNameChar(current()) || current() == u'$')) ++pos_;
    const QString word = text_.mid(start, pos_ - start);
    skipBlanks();
    if (current() == u'(' && !word.contains(u'$')) return functionCall(word.toUpper());
    if (current() == u'!') fail(FormulaError::OtherSheetsNotSupported);
    if (current() == u':') fail(FormulaError::WholeColumnsOrRowsNotSupported);
    if (word.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) return makeBool(true);
    if (word.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) return makeBool(false);
    fail(FormulaError::UnknownWord, {word});
}

FormulaNodePtr Parser::functionCall(const QString& upperName)
{
    expect(u'(');
    std::vector<FormulaNodePtr> args;
    skipBlanks();
    if (!accept(u')')) {
        do {
            args.push_back(argument());
        } while (accept(u','));
        expect(u')');
    }
    checkArgumentCount(upperName, int(args.size()));
    return makeFunction(upperName, std::move(args));
}

FormulaNodePtr Parser::argument()
{
    skipBlanks();
    if (current() == u',' || current() == u')') return makeMissing();
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

FormulaNodePtr parseFormulaText(const QString& text, RefStyle style, int row, int col)
{
    return Parser(text, style, row, col).parse();
}

} // namespace store::formula
