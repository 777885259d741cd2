#include "store/NumberFormat.h"

#include "store/Value.h"
#include "store/formula/SerialDate.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
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

namespace {

// The run of one letter at i, whatever its case.
qsizetype runOf(const QString& code, qsizetype i)
{
    qsizetype end = i;
    while (end < code.size() && code[end].toLower() == code[i].toLower()) ++end;
    return end - i;
}

// Whether the m at i stands for minutes: right after hours or right before seconds.
bool meansMinutes(const QString& code, qsizetype i, qsizetype length)
{
    for (qsizetype j = i - 1; j >= 0 && code[j] != u'm' && code[j] != u'M'; --j) {
        if (code[j].toLower() == u'h') return true;
        if (code[j].isLetter()) break;
    }
    for (qsizetype j = i + length; j < code.size(); ++j) {
        if (code[j].toLower() == u's') return true;
        if (code[j].isLetter()) break;
    }
    return false;
}

// Where the literal part of a section at i ends: quoted text, an escaped character, or a colour,
// condition or locale in brackets ([Red], [$-402]); i itself where none starts there. An elapsed
// time in brackets ([h], [mm]) is no literal.
qsizetype literalEnd(const QString& section, qsizetype i)
{
    const QChar c = section[i];
    if (c == u'\\') return std::min(i + 2, section.size());
    const QChar close = c == u'"' ? u'"' : (c == u'[' ? u']' : QChar());
    if (close.isNull()) return i;
    const qsizetype end = section.indexOf(close, i + 1);
    if (end < 0) return section.size();
    const QStringView inside = QStringView(section).mid(i + 1, end - i - 1);
    const bool elapsed = c == u'[' && !inside.isEmpty()
                      && std::all_of(inside.begin(), inside.end(), [](QChar x) { return QStringLiteral("hHmMsS").contains(x); });
    return elapsed ? i : end + 1;
}

// Whether the section shows a date or a time: a day, month, year, hour, minute or second outside
// its literal parts.
bool showsDateOrTime(const QString& section)
{
    for (qsizetype i = 0; i < section.size();) {
        if (const qsizetype end = literalEnd(section, i); end > i) {
            i = end;
        } else {
            if (QStringLiteral("dDmMyYhHsS").contains(section[i])) return true;
            ++i;
        }
    }
    return false;
}

} // namespace

std::optional<QString> formatDateTime(double serial, const QString& code, const QLocale& locale)
{
    const QString section = sections(code)[0];
    if (!showsDateOrTime(section)) return std::nullopt;
    // Day 0, a time of day alone, shows as 0 January 1900.
    const bool dayZero = serial >= 0 && serial < 1;
    const auto date = dayZero ? std::optional(QDate(1900, 1, 1)) : formula::dateOfSerial(serial);
    if (!date) return std::nullopt;
    const bool leapDay = std::floor(serial) == 60;   // 29 February 1900, which the count holds
    const qint64 seconds = std::llround((serial - std::floor(serial)) * 86400) % 86400;
    const bool twelveHours = section.contains(QLatin1String("AM/PM"), Qt::CaseInsensitive);
    const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    QString text;
    for (qsizetype i = 0; i < section.size();) {
        const QChar c = section[i].toLower();
        const qsizetype length = runOf(section, i);
        if (const qsizetype end = literalEnd(section, i); end > i) {
            // Quoted and escaped text shows; what brackets hold does not.
            const bool closedQuote = c == u'"' && end - 1 > i && section[end - 1] == u'"';
            if (c == u'"') text += section.mid(i + 1, end - i - 1 - (closedQuote ? 1 : 0));
            if (c == u'\\') text += section.mid(i + 1, end - i - 1);
            i = end;
            continue;
        }
        if (section.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            text += seconds < 43200 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 5;
            continue;
        }
        const int day = leapDay ? 29 : (dayZero ? 0 : date->day());
        const int month = leapDay ? 2 : date->month();
        switch (c.unicode()) {
        case u'y': text += length > 2 ? QString::number(date->year()) : two(date->year() % 100); break;
        case u'd':
            text += length == 1 ? QString::number(day)
                  : length == 2 ? two(day)
                                : locale.dayName(date->dayOfWeek(), length == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'm':
            if (length <= 2 && meansMinutes(section, i, length)) {
                text += length == 1 ? QString::number(seconds / 60 % 60) : two(int(seconds / 60 % 60));
            } else {
                text += length == 1 ? QString::number(month)
                      : length == 2 ? two(month)
                                    : locale.monthName(month, length == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            }
            break;
        case u'h': {
            int hours = int(seconds / 3600);
            if (twelveHours) hours = hours % 12 == 0 ? 12 : hours % 12;
            text += length == 1 ? QString::number(hours) : two(hours);
            break;
        }
        case u's': text += length == 1 ? QString::number(seconds % 60) : two(int(seconds % 60)); break;
        default: text += section.mid(i, length); break;
        }
        i += length;
    }
    return text;
}

} // namespace store
