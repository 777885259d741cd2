#pragma once

#include <QString>
#include <optional>

// Money as the shop counts it: in leva, as the program always did, or in euro once the shop has
// gone over. Every amount the program shows, reads back from a list or converts goes through here.
namespace store {

enum class Currency { Leva, Euro };

// The fixed rate of the lev to the euro.
inline constexpr double kLevaPerEuro = 1.95583;

// "лв." or "€": the caption beside an amount box.
QString currencySign(Currency currency);

// An amount with two decimals in the user's number format ("#0.00": 5.5 shows as 5,50 under
// Bulgarian settings), never with group separators.
QString formatMoney(double value);
// The amount followed by a blank and the sign: "12,50 лв.", "12,50 €".
QString moneyWithSign(double value, Currency currency);
// The amount an entry made by moneyWithSign stands for, in either currency ("12,50 лв.",
// "12,50 €", "0 €"); nothing when it ends in no currency's sign or its figures are no number.
std::optional<double> moneyOfEntry(const QString& entry);

// Rounded to the cent, half away from zero, by the decimal figures the amount shows (15
// significant digits), so that 1.2100000000000002 rounds as 1.21 and 0.125 as 0.13.
double roundToCent(double value);

// An amount in leva in euro, not rounded.
double levaToEuro(double leva);
// A price in leva converted as the law prescribes: divided by the rate and rounded to the cent,
// half up, computed in whole decimal steps so that no binary fraction moves a price across the
// half (0.00977915 лв. is exactly half a cent and gives 0.01 €). A value too large to convert
// exactly is rounded through floating point.
double levaPriceToEuro(double leva);

// A sum of amounts of both currencies, as the reports add rows written before and after the
// shop went over to the euro: the leva amounts are converted once, as a whole.
class MoneySum {
public:
    void add(double amount, Currency currency) { (currency == Currency::Leva ? leva_ : euro_) += amount; }
    void add(const MoneySum& other)
    {
        leva_ += other.leva_;
        euro_ += other.euro_;
    }
    // The sum in the shop's currency: in leva the plain sum; in euro the euro amounts and the
    // converted leva total, rounded to the cent at the end.
    double in(Currency currency) const;

private:
    double leva_ = 0;
    double euro_ = 0;
};

} // namespace store
