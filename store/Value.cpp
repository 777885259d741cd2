#include "Value.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>

namespace store {

namespace {
struct ErrorName { ErrorCode code; const char* text; };
constexpr std::array<ErrorName, 7> kErrors{{
    {ErrorCode::Null, "#NULL!"}, {ErrorCode::Div0, "#DIV/0!"}, {ErrorCode::Value, "#VALUE!"},
    {ErrorCode::Ref, "#REF!"},   {ErrorCode::Name, "#NAME?"},  {ErrorCode::Num, "#NUM!"},
    {ErrorCode::NA, "#N/A"},
}};
} // namespace

QString errorText(ErrorCode code)
{
    for (const auto& e : kErrors)
        if (e.code == code) return QString::fromLatin1(e.text);
    return QStringLiteral("#VALUE!");
}

std::optional<ErrorCode> errorFromText(const QString& text)
{
    for (const auto& e : kErrors)
        if (text.compare(QLatin1String(e.text), Qt::CaseInsensitive) == 0) return e.code;
    return std::nullopt;
}

std::optional<ErrorCode> errorFromCode(quint8 code)
{
    for (const auto& e : kErrors)
        if (quint8(e.code) == code) return e.code;
    return std::nullopt;
}

QString numberToText(double number)
{
    if (number == 0) return QStringLiteral("0");   // also folds -0
    // The shortest digits that read back as the same double, laid out without an exponent:
    // the largest double takes 309 digits, the smallest 324 places after the point.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::fixed);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString shownNumberText(double number)
{
    double shown = number;
    if (std::isfinite(number)) {
        // 15 significant digits: one before the point and 14 after it in scientific form.
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::scientific, 14);
        std::from_chars(buf, res.ptr, shown);
    }
    QString text = numberToText(shown);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String(".")) text.replace(QLatin1Char('.'), point);
    return text;
}

std::optional<double> parseNumber(const QString& text)
{
    QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    const QByteArray latin = t.toLatin1();
    const char* begin = latin.constData();
    const char* end = begin + latin.size();
    if (*begin == '+') ++begin;
    double result = 0;
    auto [ptr, ec] = std::from_chars(begin, end, result);
    if (ec != std::errc() || ptr != end || !std::isfinite(result)) return std::nullopt;
    return result;
}

QString Value::toText() const
{
    switch (kind()) {
    case Kind::Empty: return {};
    case Kind::Number: return numberToText(number());
    case Kind::Text: return text();
    case Kind::Bool: return boolValue() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Kind::Error: return errorText(errorValue());
    }
    return {};
}

std::optional<double> Value::toNumber() const
{
    switch (kind()) {
    case Kind::Empty: return 0.0;
    case Kind::Number: return number();
    case Kind::Text: return parseNumber(text());
    case Kind::Bool: return boolValue() ? 1.0 : 0.0;
    case Kind::Error: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace store
