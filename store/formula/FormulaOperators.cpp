#include "store/formula/FormulaOperators.h"

#include "store/Collation.h"
#include "store/formula/SerialDate.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace store::formula {

namespace {

// Longer text is never a number a person wrote.
constexpr qsizetype kMaxNumberText = 64;

NumberOrError errorOf(ErrorCode code)
{
    return {0, code};
}

std::optional<ErrorCode> firstError(const Value& left, const Value& right)
{
    if (left.isError()) return left.errorValue();
    if (right.isError()) return right.errorValue();
    return std::nullopt;
}

Value arithmetic(QChar op, double a, double b)
{
    switch (op.unicode()) {
    case u'+': return numberResult(approxAdd(a, b));
    case u'-': return numberResult(approxAdd(a, -b));
    case u'*': return numberResult(a * b);
    case u'/': return b == 0 ? Value::error(ErrorCode::Div0) : numberResult(a / b);
    case u'^': {
        if (a == 0 && b < 0) return Value::error(ErrorCode::Div0);
        // 0^0 is #NUM! as the spreadsheet gives it (another program gives 1).
        if (a == 0 && b == 0) return Value::error(ErrorCode::Num);
        const double result = std::pow(a, b);
        if (std::isnan(result)) return Value::error(ErrorCode::Num);   // (-8)^(1/3)
        // Too small to hold is 0 (10^-400), too large #NUM!.
        return numberResult(result);
    }
    }
    return Value::error(ErrorCode::Value);
}

Value applyArithmetic(QChar op, const Value& left, const Value& right)
{
    const NumberOrError a = arithmeticNumber(left);
    if (a.error) return Value::error(*a.error);
    const NumberOrError b = arithmeticNumber(right);
    if (b.error) return Value::error(*b.error);
    return arithmetic(op, a.number, b.number);
}

Value concatenate(const Value& left, const Value& right)
{
    if (auto error = firstError(left, right)) return Value::error(*error);
    return Value(formulaText(left) + formulaText(right));
}

bool comparisonHolds(const QString& op, int order)
{
    if (op == u"=") return order == 0;
    if (op == u"<>") return order != 0;
    if (op == u"<") return order < 0;
    if (op == u">") return order > 0;
    if (op == u"<=") return order <= 0;
    return order >= 0;   // ">="
}

Value compare(const QString& op, const Value& left, const Value& right)
{
    if (auto error = firstError(left, right)) return Value::error(*error);
    return Value::boolean(comparisonHolds(op, compareValues(left, right)));
}

// What an empty value stands for next to the other side of a comparison.
Value emptyLike(const Value& other)
{
    switch (other.kind()) {
    case Value::Kind::Text: return Value(QString());
    case Value::Kind::Bool: return Value::boolean(false);
    default: return Value(0.0);
    }
}

int typeRank(const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Text: return 1;
    case Value::Kind::Bool: return 2;
    default: return 0;
    }
}

template <class T>
int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

double significantDigits15(double number)
{
    if (!std::isfinite(number) || number == 0) return number;
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific, 14).ptr;
    double rounded = number;
    std::from_chars(buffer, end, rounded);
    return rounded;
}

// From 10^15 on, numbers are written as the spreadsheet's General format writes them there:
// "1E+15", "1.23456789012346E+20".
QString formulaText(const Value& value)
{
    constexpr double kScientificFrom = 1e15;
    if (!value.isNumber()) return value.toText();
    const double number = value.number();
    if (std::fabs(number) < kScientificFrom) return shownNumberText(number);
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific, 14).ptr;
    const QString text = QString::fromLatin1(buffer, int(end - buffer));
    const qsizetype e = text.indexOf(u'e');
    QString mantissa = text.left(e);
    while (mantissa.endsWith(u'0')) mantissa.chop(1);
    if (mantissa.endsWith(u'.')) mantissa.chop(1);
    mantissa.replace(u'.', QLocale().decimalPoint());
    const int exponent = text.mid(e + 1).toInt();
    return mantissa + QStringLiteral("E+") + QString::number(exponent).rightJustified(2, u'0');
}

// Two numbers of opposite sign whose sum keeps less than the last few bits of their 53 give 0.
double approxAdd(double a, double b)
{
    const double sum = a + b;
    if ((a < 0) == (b < 0) || sum == 0) return sum;
    constexpr double kSnap = 0x1p-48;
    return std::fabs(sum) < std::fabs(a) * kSnap ? 0.0 : sum;
}

std::optional<double> numberFromText(QStringView text)
{
    text = text.trimmed();
    if (text.size() > kMaxNumberText) return std::nullopt;   // also bounds the percent signs read below
    if (text.endsWith(u'%')) {
        const auto number = numberFromText(text.chopped(1));
        if (number) return *number / 100;
        return std::nullopt;
    }
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point != u"." && text.contains(point[0]) && !text.contains(u'.')) {
        QString withDot = text.toString();
        withDot.replace(point[0], u'.');
        return numberFromText(withDot);
    }
    if (text.startsWith(u'+')) text = text.mid(1);
    if (text.isEmpty() || text.size() > kMaxNumberText) return std::nullopt;
    char buffer[kMaxNumberText];
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7f) return std::nullopt;
        buffer[i] = char(c);
    }
    double number = 0;
    const char* end = buffer + text.size();
    const auto [ptr, ec] = std::from_chars(buffer, end, number);
    if (ec != std::errc() || ptr != end || !std::isfinite(number)) return std::nullopt;
    return number;
}

std::optional<double> timeFromText(QStringView text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,4}):(\\d{1,2})(?::(\\d{1,2}(?:\\.\\d+)?))?\\s*([AaPp][Mm])?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text.toString());
    if (!match.hasMatch()) return std::nullopt;
    int hours = match.capturedView(1).toInt();
    const int minutes = match.capturedView(2).toInt();
    const double seconds = match.hasCaptured(3) ? match.capturedView(3).toDouble() : 0.0;
    if (minutes > 59 || seconds >= 60) return std::nullopt;
    if (match.hasCaptured(4)) {
        if (hours < 1 || hours > 12) return std::nullopt;
        const bool pm = match.capturedView(4).front().toUpper() == u'P';
        hours = hours % 12 + (pm ? 12 : 0);
    }
    constexpr double kSecondsPerDay = 86400;
    return (hours * 3600 + minutes * 60 + seconds) / kSecondsPerDay;
}

std::optional<double> numberInText(QStringView text)
{
    if (auto number = numberFromText(text)) return number;
    if (auto time = timeFromText(text)) return time;
    return dateFromText(text);
}

NumberOrError arithmeticNumber(const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Empty: return {0, std::nullopt};
    case Value::Kind::Number: return {value.number(), std::nullopt};
    case Value::Kind::Bool: return {value.boolValue() ? 1.0 : 0.0, std::nullopt};
    case Value::Kind::Text:
        if (auto number = numberInText(value.text())) return {*number, std::nullopt};
        return errorOf(ErrorCode::Value);
    case Value::Kind::Error: return errorOf(value.errorValue());
    }
    return errorOf(ErrorCode::Value);
}

Value numberResult(double number)
{
    if (!std::isfinite(number)) return Value::error(ErrorCode::Num);
    return Value(number);
}

bool numbersEqual(double a, double b)
{
    if (a == b) return true;
    // Numbers that round to the same 15 digits lie within one unit of the 15th digit of each
    // other; anything farther apart differs without rounding both.
    if (std::fabs(a - b) > 2e-14 * std::max(std::fabs(a), std::fabs(b))) return false;
    return significantDigits15(a) == significantDigits15(b);
}

int compareValues(const Value& left, const Value& right)
{
    if (left.isEmpty() && right.isEmpty()) return 0;
    if (left.isEmpty()) return compareValues(emptyLike(right), right);
    if (right.isEmpty()) return compareValues(left, emptyLike(left));
    if (typeRank(left) != typeRank(right)) return threeWay(typeRank(left), typeRank(right));
    switch (left.kind()) {
    case Value::Kind::Number:
        return numbersEqual(left.number(), right.number()) ? 0 : threeWay(left.number(), right.number());
    case Value::Kind::Text: return compareText(left.text(), right.text());
    case Value::Kind::Bool: return threeWay(left.boolValue(), right.boolValue());
    default: return 0;
    }
}

int compareText(const QString& left, const QString& right)
{
    if (left.compare(right, Qt::CaseInsensitive) == 0) return 0;
    return threeWay(bulgarianCollator().compare(left, right), 0);
}

Value applyUnary(const QString& op, const Value& operand)
{
    if (op == u"+") return operand;
    const NumberOrError n = arithmeticNumber(operand);
    if (n.error) return Value::error(*n.error);
    return Value(op == u"%" ? n.number / 100 : -n.number);
}

Value applyBinary(const QString& op, const Value& left, const Value& right)
{
    if (op == u"&") return concatenate(left, right);
    if (op.size() == 1 && QStringLiteral("+-*/^").contains(op[0])) return applyArithmetic(op[0], left, right);
    return compare(op, left, right);
}

} // namespace store::formula
