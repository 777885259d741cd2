// Text: taking text apart, searching it, changing case, and numbers as text.
#include "store/NumberFormat.h"
#include "store/formula/CountCriterion.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

#include <QLocale>
#include <array>
#include <cmath>

namespace store::formula::functions {

namespace {

// The longest text a cell holds.
constexpr qsizetype kLongestText = 32767;

// Codes 128 to 255 of the Cyrillic code page the spreadsheet's CHAR and CODE use on a Bulgarian
// computer; codes below 128 are ASCII.
constexpr std::array<char16_t, 128> kCyrillicPage = [] {
    std::array<char16_t, 128> page{
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
        0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
        0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    };
    for (int i = 64; i < 128; ++i) page[size_t(i)] = char16_t(0x0410 + i - 64);   // А to я
    return page;
}();

QChar characterOfCode(int code)
{
    return code < 128 ? QChar(code) : QChar(kCyrillicPage[size_t(code - 128)]);
}

int codeOfCharacter(QChar c)
{
    if (c.unicode() < 128) return c.unicode();
    for (size_t i = 0; i < kCyrillicPage.size(); ++i)
        if (kCyrillicPage[i] == c.unicode()) return int(128 + i);
    return '?';
}

Value checkedText(const QString& text)
{
    if (text.size() > kLongestText) fail(ErrorCode::Value);
    return Value(text);
}

int countArg(const Args& args, size_t i, const Evaluator& evaluator, int absent)
{
    const int n = given(args, i) ? integerArg(args, i, evaluator) : absent;
    if (n < 0) fail(ErrorCode::Value);
    return n;
}

// FIND and SEARCH: where found, from 1; #VALUE! where not.
Value position(const Args& args, const Evaluator& evaluator, bool wildcards)
{
    const QString wanted = textArg(args, 0, evaluator);
    const QString within = textArg(args, 1, evaluator);
    const int start = given(args, 2) ? integerArg(args, 2, evaluator) : 1;
    if (start < 1 || start > within.size() + 1) fail(ErrorCode::Value);
    if (wildcards) {
        const WildcardPattern pattern(wanted + u'*');
        for (qsizetype at = start - 1; at <= within.size(); ++at)
            if (pattern.matches(QStringView(within).mid(at))) return Value(double(at + 1));
        fail(ErrorCode::Value);
    }
    const qsizetype at = within.indexOf(wanted, start - 1, Qt::CaseSensitive);
    if (at < 0) fail(ErrorCode::Value);
    return Value(double(at + 1));
}

// The argument as a number where text functions want one: text that reads as a number counts.
std::optional<double> numberOf(const Value& value)
{
    if (value.isNumber()) return value.number();
    if (value.isText()) return numberInText(value.text());
    if (value.isEmpty()) return 0.0;
    return std::nullopt;
}

} // namespace

Value length(const Args& args, const Evaluator& evaluator)
{
    return Value(double(textArg(args, 0, evaluator).size()));
}

Value left(const Args& args, const Evaluator& evaluator)
{
    return Value(textArg(args, 0, evaluator).left(countArg(args, 1, evaluator, 1)));
}

Value right(const Args& args, const Evaluator& evaluator)
{
    return Value(textArg(args, 0, evaluator).right(countArg(args, 1, evaluator, 1)));
}

Value mid(const Args& args, const Evaluator& evaluator)
{
    const QString text = textArg(args, 0, evaluator);
    const int start = integerArg(args, 1, evaluator);
    const int count = countArg(args, 2, evaluator, 0);
    if (start < 1) fail(ErrorCode::Value);
    return Value(start > text.size() ? QString() : text.mid(start - 1, count));
}

Value find(const Args& args, const Evaluator& evaluator)
{
    return position(args, evaluator, false);
}

Value search(const Args& args, const Evaluator& evaluator)
{
    return position(args, evaluator, true);
}

Value substitute(const Args& args, const Evaluator& evaluator)
{
    QString text = textArg(args, 0, evaluator);
    const QString old = textArg(args, 1, evaluator);
    const QString replacement = textArg(args, 2, evaluator);
    if (old.isEmpty()) return Value(text);
    if (!given(args, 3)) return checkedText(text.replace(old, replacement));
    const int instance = integerArg(args, 3, evaluator);
    if (instance < 1) fail(ErrorCode::Value);
    qsizetype at = -old.size();
    for (int i = 0; i < instance; ++i) {
        at = text.indexOf(old, at + old.size());
        if (at < 0) return Value(text);
    }
    return checkedText(text.replace(at, old.size(), replacement));
}

Value replace(const Args& args, const Evaluator& evaluator)
{
    QString text = textArg(args, 0, evaluator);
    const int start = integerArg(args, 1, evaluator);
    const int count = countArg(args, 2, evaluator, 0);
    const QString replacement = textArg(args, 3, evaluator);
    if (start < 1) fail(ErrorCode::Value);
    const qsizetype from = std::min<qsizetype>(start - 1, text.size());
    return checkedText(text.replace(from, count, replacement));
}

// Spaces off both ends, and runs of spaces inside made one.
Value trim(const Args& args, const Evaluator& evaluator)
{
    QString result;
    for (const QString& word : textArg(args, 0, evaluator).split(u' ', Qt::SkipEmptyParts)) {
        if (!result.isEmpty()) result += u' ';
        result += word;
    }
    return Value(result);
}

Value upper(const Args& args, const Evaluator& evaluator)
{
    return Value(textArg(args, 0, evaluator).toUpper());
}

Value lower(const Args& args, const Evaluator& evaluator)
{
    return Value(textArg(args, 0, evaluator).toLower());
}

// Each letter after something that is not a letter capital, the others small.
Value proper(const Args& args, const Evaluator& evaluator)
{
    QString text = textArg(args, 0, evaluator);
    bool afterLetter = false;
    for (QChar& c : text) {
        c = afterLetter ? c.toLower() : c.toUpper();
        afterLetter = c.isLetter();
    }
    return Value(text);
}

// A number through a format code as a cell with that format shows it, dates and times as
// well; text that is no number stays as it is.
Value text(const Args& args, const Evaluator& evaluator)
{
    const Value value = valueArg(args, 0, evaluator);
    const QString code = textArg(args, 1, evaluator);
    const auto number = numberOf(value);
    if (!number) return Value(value.toText());
    if (const auto dateTime = formatDateTime(*number, code)) return Value(*dateTime);
    return Value(formatNumber(*number, code));
}

Value value(const Args& args, const Evaluator& evaluator)
{
    const Value given = valueArg(args, 0, evaluator);
    if (given.isBool()) fail(ErrorCode::Value);
    const auto number = numberOf(given);
    if (!number) fail(ErrorCode::Value);
    return Value(*number);
}

Value concatenate(const Args& args, const Evaluator& evaluator)
{
    QString result;
    for (size_t i = 0; i < args.size(); ++i) result += textArg(args, i, evaluator);
    return checkedText(result);
}

// The number rounded to the places and written with the locale's marks, grouped unless told not.
Value fixed(const Args& args, const Evaluator& evaluator)
{
    const double number = numberArg(args, 0, evaluator);
    const int places = std::clamp(given(args, 1) ? integerArg(args, 1, evaluator) : 2, -127, 127);
    const bool grouped = !truthArgOr(args, 2, evaluator, false);
    QString code = grouped ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (places > 0) code += u'.' + QString(places, u'0');
    return Value(formatNumber(roundDecimal(number, places), code));
}

Value repeat(const Args& args, const Evaluator& evaluator)
{
    const QString text = textArg(args, 0, evaluator);
    const int times = countArg(args, 1, evaluator, 0);
    if (qint64(text.size()) * times > kLongestText) fail(ErrorCode::Value);
    return Value(text.repeated(times));
}

Value character(const Args& args, const Evaluator& evaluator)
{
    const int code = integerArg(args, 0, evaluator);
    if (code < 1 || code > 255) fail(ErrorCode::Value);
    return Value(QString(characterOfCode(code)));
}

Value code(const Args& args, const Evaluator& evaluator)
{
    const QString text = textArg(args, 0, evaluator);
    if (text.isEmpty()) fail(ErrorCode::Value);
    return Value(double(codeOfCharacter(text[0])));
}

Value exact(const Args& args, const Evaluator& evaluator)
{
    return Value::boolean(textArg(args, 0, evaluator) == textArg(args, 1, evaluator));
}

// Control characters (codes below 32) taken out.
Value clean(const Args& args, const Evaluator& evaluator)
{
    QString text = textArg(args, 0, evaluator);
    text.removeIf([](QChar c) { return c.unicode() < 32; });
    return Value(text);
}

Value textOnly(const Args& args, const Evaluator& evaluator)
{
    const Value given = valueArg(args, 0, evaluator);
    return Value(given.isText() ? given.text() : QString());
}

} // namespace store::formula::functions
