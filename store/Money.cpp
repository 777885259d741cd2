#include "store/Money.h"

#include "store/Value.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace store {

namespace {

// A finite number as its decimal figures: value = digits × 10^exponent, with at most 15
// significant digits, as a spreadsheet shows the number.
struct Decimal {
    std::int64_t digits = 0;
    int exponent = 0;
};

Decimal decimalOf(double value)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    // d.dddddddddddddde±x
    Decimal d;
    bool negative = false;
    const char* p = buf;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    int fractionDigits = 0;
    bool afterPoint = false;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p == '.') {
            afterPoint = true;
            continue;
        }
        d.digits = d.digits * 10 + (*p - '0');
        if (afterPoint) ++fractionDigits;
    }
    int exponent = 0;
    if (p < res.ptr) std::from_chars(p + 1 + (p[1] == '+'), res.ptr, exponent);
    d.exponent = exponent - fractionDigits;
    if (negative) d.digits = -d.digits;
    return d;
}

// GCC and clang have it on every platform the shop runs on; ISO C++ has no 128-bit integer.
__extension__ using Wide = __int128;

Wide power10(int n)
{
    Wide p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// numerator / denominator rounded to a whole number, half away from zero; denominator > 0.
Wide divideRounded(Wide numerator, Wide denominator)
{
    const bool negative = numerator < 0;
    const Wide magnitude = negative ? -numerator : numerator;
    Wide quotient = magnitude / denominator;
    if (2 * (magnitude % denominator) >= denominator) ++quotient;
    return negative ? -quotient : quotient;
}

// digits × 10^exponent × factor / divisor in cents, rounded half away from zero; nothing when the
// figures leave the exact range (amounts beyond 10^28).
std::optional<double> exactCents(double value, std::int64_t factor, std::int64_t divisor)
{
    const Decimal d = decimalOf(value);
    const int shift = d.exponent + 2;   // cents
    if (shift > 15) return std::nullopt;
    Wide numerator = Wide(d.digits) * factor;
    Wide denominator = divisor;
    if (shift >= 0) numerator *= power10(shift);
    else if (-shift <= 30) denominator *= power10(-shift);
    else return 0.0;   // far below a cent
    return double(divideRounded(numerator, denominator));
}

// The rate as a fraction: 1.95583 = 195583 / 100000.
constexpr std::int64_t kRateNumerator = 195583;
constexpr std::int64_t kRateDenominator = 100000;

} // namespace

QString currencySign(Currency currency)
{
    return currency == Currency::Euro ? QStringLiteral("€") : QStringLiteral("лв.");
}

QString formatMoney(double value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

QString moneyWithSign(double value, Currency currency)
{
    return formatMoney(value) + QLatin1Char(' ') + currencySign(currency);
}

std::optional<double> moneyOfEntry(const QString& entry)
{
    for (const Currency currency : {Currency::Leva, Currency::Euro}) {
        const QString suffix = QLatin1Char(' ') + currencySign(currency);
        if (entry.endsWith(suffix)) return parseNumber(entry.chopped(suffix.size()));
    }
    return std::nullopt;
}

double roundToCent(double value)
{
    if (!std::isfinite(value)) return value;
    if (const auto cents = exactCents(value, 1, 1)) return *cents / 100.0;
    return value;
}

double levaToEuro(double leva)
{
    return leva / kLevaPerEuro;
}

double levaPriceToEuro(double leva)
{
    if (!std::isfinite(leva)) return leva;
    if (const auto cents = exactCents(leva, kRateDenominator, kRateNumerator)) return *cents / 100.0;
    return std::round(levaToEuro(leva) * 100.0) / 100.0;
}

double MoneySum::in(Currency currency) const
{
    if (currency == Currency::Leva) return leva_;
    return roundToCent(euro_ + levaToEuro(leva_));
}

} // namespace store
