#include "store/NumberFormat.h"

#include "store/Value.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace store {

namespace {

// Splits a format code at the ";" that are not quoted or escaped.
QStringList sections(const QString& code)
{
    QStringList result{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code[i];
        if (ch == QLatin1Char('"')) quoted = !quoted;
        if (!quoted && ch == QLatin1Char('\\') && i + 1 < code.size()) {
            result.back() += ch;
            result.back() += code[++i];
            continue;
        }
        if (!quoted && ch == QLatin1Char(';')) result << QString();
        else result.back() += ch;
    }
    return result;
}

// One section of a format code taken apart: the literal text before and after the number and the
// shape of the number itself.
struct NumberPattern {
    QString prefix, suffix;
    int integerZeros = 0;      // '0' before the decimal point: digits always shown
    int decimals = 0;          // placeholders after the decimal point
    int decimalZeros = 0;      // '0' among them: decimals always shown
    bool grouped = false;
    bool percent = false;
    bool hasDigits = false;
    bool understood = true;
};

bool isPlaceholder(QChar ch)
{
    return ch == QLatin1Char('0') || ch == QLatin1Char('#') || ch == QLatin1Char('?');
}

NumberPattern parsePattern(const QString& section)
{
    NumberPattern p;
    bool afterPoint = false;
    auto literal = [&p](const QString& text) { (p.hasDigits ? p.suffix : p.prefix) += text; };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar ch = section[i];
        if (ch == QLatin1Char('"')) {
            const qsizetype end = section.indexOf(QLatin1Char('"'), i + 1);
            literal(section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1));
            i = end < 0 ? section.size() : end;
        } else if (ch == QLatin1Char('\\') && i + 1 < section.size()) {
            literal(QString(section[++i]));
        } else if (ch == QLatin1Char('_') && i + 1 < section.size()) {
            ++i;
            literal(QStringLiteral(" "));
        } else if (ch == QLatin1Char('*') && i + 1 < section.size()) {
            ++i;   // a fill character: the cell is not filled
        } else if (ch == QLatin1Char('[')) {
            const qsizetype end = section.indexOf(QLatin1Char(']'), i);
            i = end < 0 ? section.size() : end;   // colours and conditions change no text
        } else if (isPlaceholder(ch)) {
            p.hasDigits = true;
            if (afterPoint) {
                ++p.decimals;
                if (ch == QLatin1Char('0')) p.decimalZeros = p.decimals;
            } else if (ch == QLatin1Char('0')) {
                ++p.integerZeros;
            }
        } else if (ch == QLatin1Char('.') && !afterPoint && (p.hasDigits || (i + 1 < section.size() && isPlaceholder(section[i + 1])))) {
            afterPoint = true;
            p.hasDigits = true;
        } else if (ch == QLatin1Char(',') && p.hasDigits && !afterPoint) {
            p.grouped = true;
        } else if (ch == QLatin1Char('%')) {
            p.percent = true;
            literal(QStringLiteral("%"));
        } else if (QStringLiteral("dmyhsDMYHSeE/@").contains(ch)) {
            p.understood = false;
        } else {
            literal(QString(ch));
        }
    }
    return p;
}


// The digits of |number| rounded to decimals places, half away from zero on the number's shortest
// decimal form (so 2.675 shows as 2.68, as a spreadsheet shows it).
QString fixedDigits(double magnitude, int decimals)
{
    const double scaled = magnitude * std::pow(10.0, decimals);
    const double rounded = std::round(QString::number(scaled, 'g', 15).toDouble());
    QString digits = QString::number(rounded, 'f', 0);
    while (digits.size() <= decimals) digits.prepend(QLatin1Char('0'));
    return digits;
}

QString applyPattern(double magnitude, const NumberPattern& p, const QLocale& locale)
{
    if (p.percent) magnitude *= 100;
    const QString digits = fixedDigits(magnitude, p.decimals);
    QString integer = digits.left(digits.size() - p.decimals);
    QString fraction = digits.right(p.decimals);
    while (fraction.size() > p.decimalZeros && fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    integer.remove(QRegularExpression(QStringLiteral("^0+")));
    while (integer.size() < p.integerZeros) integer.prepend(QLatin1Char('0'));
    if (p.grouped)
        for (qsizetype at = integer.size() - 3; at > 0; at -= 3) integer.insert(at, locale.groupSeparator());
    QString text = integer;
    if (!fraction.isEmpty() || p.decimalZeros > 0) text += locale.decimalPoint() + fraction;
    return p.prefix + text + p.suffix;
}

} // namespace

bool isGeneralFormat(const QString& code)
{
    return code.isEmpty() || code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
}

QString formatGeneral(double number, int significantDigits, const QLocale& locale)
{
    const double shown = QString::number(number, 'g', std::max(1, significantDigits)).toDouble();
    return numberToText(shown).replace(QLatin1Char('.'), locale.decimalPoint());
}

QString formatNumber(double number, const QString& code, const QLocale& locale)
{
    if (isGeneralFormat(code)) return formatGeneral(number, kGeneralDigits, locale);
    const QStringList parts = sections(code);
    QString section = parts[0];
    bool minusSign = number < 0;
    if (number < 0 && parts.size() > 1) {
        section = parts[1];
        minusSign = false;   // the negative section shows its own sign, if any
    } else if (number == 0 && parts.size() > 2) {
        section = parts[2];
    }
    const NumberPattern pattern = parsePattern(section);
    if (!pattern.understood) return formatGeneral(number, kGeneralDigits, locale);
    if (!pattern.hasDigits) return pattern.prefix;
    const QString text = applyPattern(std::abs(number), pattern, locale);
    // A negative number that rounds to nothing shows without its sign.
    const bool showsDigit = text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return (minusSign && showsDigit ? QStringLiteral("-") : QString()) + text;
}

} // namespace store
