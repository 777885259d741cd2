// Finance: loans and annuities, present values, rates of return, depreciation. Payments made go
// out as negative numbers, money received comes in as positive ones.
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

#include <cmath>

namespace store::formula::functions {

namespace {

// The searches for a rate stop after this many steps, as the spreadsheet's do, or when a step
// moves the rate by less than the tolerance.
constexpr int kMaxSteps = 50;
constexpr double kTolerance = 1e-10;

struct Annuity {
    double rate = 0;
    double periods = 0;
    double payment = 0;
    double present = 0;
    double future = 0;
    bool atStart = false;   // payments at the start of each period
};

double growth(const Annuity& a)
{
    return std::pow(1 + a.rate, a.periods);
}

// growth - 1, exact also for rates near 0, where a rate search ends.
double growthLessOne(const Annuity& a)
{
    return std::expm1(a.periods * std::log1p(a.rate));
}

double paymentOf(Annuity a)
{
    if (a.rate == 0) return -(a.present + a.future) / a.periods;
    const double g = growth(a);
    return -(a.rate * (a.future + a.present * g)) / ((1 + a.rate * (a.atStart ? 1 : 0)) * (g - 1));
}

double futureOf(const Annuity& a)
{
    if (a.rate == 0) return -(a.present + a.payment * a.periods);
    const double g = growth(a);
    return -(a.present * g + a.payment * (1 + a.rate * (a.atStart ? 1 : 0)) * growthLessOne(a) / a.rate);
}

double presentOf(const Annuity& a)
{
    if (a.rate == 0) return -(a.future + a.payment * a.periods);
    const double g = growth(a);
    return -(a.future + a.payment * (1 + a.rate * (a.atStart ? 1 : 0)) * (g - 1) / a.rate) / g;
}

// Newton's method on f from guess, the slope taken numerically; #NUM! when it does not settle.
template <class F>
double solve(F f, double guess)
{
    double x = guess;
    for (int step = 0; step < kMaxSteps; ++step) {
        const double fx = f(x);
        if (std::fabs(fx) < kTolerance) return x;
        const double h = std::max(1e-7, std::fabs(x) * 1e-7);
        const double slope = (f(x + h) - fx) / h;
        if (!std::isfinite(fx) || !std::isfinite(slope) || slope == 0) break;
        const double next = x - fx / slope;
        if (std::fabs(next - x) < kTolerance) return next;
        x = next;
        if (x <= -1) break;
    }
    fail(ErrorCode::Num);
}

// Arguments in the order the function takes them, the last two optional (future value, type).
Annuity annuity(const Args& args, const Evaluator& evaluator, double Annuity::*first, double Annuity::*second,
                double Annuity::*third, double Annuity::*fourth)
{
    Annuity a;
    a.*first = numberArg(args, 0, evaluator);
    a.*second = numberArg(args, 1, evaluator);
    a.*third = numberArg(args, 2, evaluator);
    a.*fourth = numberArgOr(args, 3, evaluator, 0);
    a.atStart = numberArgOr(args, 4, evaluator, 0) != 0;
    return a;
}

// IPMT: the interest in one period of a loan's payments.
double interestIn(const Annuity& loan, double period)
{
    const double payment = paymentOf(loan);
    double interest = 0;
    if (period == 1) {
        interest = loan.atStart ? 0.0 : -loan.present;
    } else {
        Annuity before = loan;
        before.payment = payment;
        before.periods = period - (loan.atStart ? 2 : 1);
        interest = futureOf(before) - (loan.atStart ? payment : 0.0);
    }
    return interest * loan.rate;
}

Annuity loanOfPeriod(const Args& args, const Evaluator& evaluator, double& period)
{
    Annuity a;
    a.rate = numberArg(args, 0, evaluator);
    period = numberArg(args, 1, evaluator);
    a.periods = numberArg(args, 2, evaluator);
    a.present = numberArg(args, 3, evaluator);
    a.future = numberArgOr(args, 4, evaluator, 0);
    a.atStart = numberArgOr(args, 5, evaluator, 0) != 0;
    if (period < 1 || period > a.periods) fail(ErrorCode::Num);
    return a;
}

} // namespace

Value pmt(const Args& args, const Evaluator& evaluator)
{
    const Annuity a = annuity(args, evaluator, &Annuity::rate, &Annuity::periods, &Annuity::present, &Annuity::future);
    if (a.periods == 0) fail(ErrorCode::Num);
    return Value(paymentOf(a));
}

Value pv(const Args& args, const Evaluator& evaluator)
{
    return Value(presentOf(annuity(args, evaluator, &Annuity::rate, &Annuity::periods, &Annuity::payment, &Annuity::future)));
}

Value fv(const Args& args, const Evaluator& evaluator)
{
    return Value(futureOf(annuity(args, evaluator, &Annuity::rate, &Annuity::periods, &Annuity::payment, &Annuity::present)));
}

Value nper(const Args& args, const Evaluator& evaluator)
{
    const Annuity a = annuity(args, evaluator, &Annuity::rate, &Annuity::payment, &Annuity::present, &Annuity::future);
    if (a.rate == 0) {
        if (a.payment == 0) fail(ErrorCode::Num);
        return Value(-(a.present + a.future) / a.payment);
    }
    const double due = a.payment * (1 + a.rate * (a.atStart ? 1 : 0));
    const double ratio = (due - a.future * a.rate) / (due + a.present * a.rate);
    if (ratio <= 0) fail(ErrorCode::Num);
    return Value(std::log(ratio) / std::log(1 + a.rate));
}

// The values discounted from the end of the first period on.
Value npv(const Args& args, const Evaluator& evaluator)
{
    const double rate = numberArg(args, 0, evaluator);
    if (rate == -1) fail(ErrorCode::Div0);
    double total = 0;
    double factor = 1;
    forEachNumber(args, evaluator, Feed::Numbers, [&](double n) {
        factor *= 1 + rate;
        total += n / factor;
    }, 1);
    return Value(total);
}

// The rate at which the net present value of the cash flows is 0.
Value irr(const Args& args, const Evaluator& evaluator)
{
    const std::vector<double> flows = numbersOf({args[0]}, evaluator);
    const double guess = numberArgOr(args, 1, evaluator, 0.1);
    const bool signsDiffer = std::any_of(flows.begin(), flows.end(), [](double f) { return f > 0; })
                             && std::any_of(flows.begin(), flows.end(), [](double f) { return f < 0; });
    if (!signsDiffer) fail(ErrorCode::Num);
    return Value(solve([&](double rate) {
        double total = 0;
        for (size_t i = 0; i < flows.size(); ++i) total += flows[i] / std::pow(1 + rate, double(i));
        return total;
    }, guess));
}

Value rate(const Args& args, const Evaluator& evaluator)
{
    Annuity a = annuity(args, evaluator, &Annuity::periods, &Annuity::payment, &Annuity::present, &Annuity::future);
    const double guess = numberArgOr(args, 5, evaluator, 0.1);
    if (a.periods <= 0) fail(ErrorCode::Num);
    return Value(solve([&](double r) {
        a.rate = r;
        return a.future - futureOf(a);   // 0 where the payments settle the future value
    }, guess));
}

Value ipmt(const Args& args, const Evaluator& evaluator)
{
    double period = 0;
    const Annuity loan = loanOfPeriod(args, evaluator, period);
    return Value(interestIn(loan, period));
}

Value ppmt(const Args& args, const Evaluator& evaluator)
{
    double period = 0;
    const Annuity loan = loanOfPeriod(args, evaluator, period);
    return Value(paymentOf(loan) - interestIn(loan, period));
}

Value sln(const Args& args, const Evaluator& evaluator)
{
    const double life = numberArg(args, 2, evaluator);
    if (life == 0) fail(ErrorCode::Div0);
    return Value((numberArg(args, 0, evaluator) - numberArg(args, 1, evaluator)) / life);
}

Value syd(const Args& args, const Evaluator& evaluator)
{
    const double cost = numberArg(args, 0, evaluator);
    const double salvage = numberArg(args, 1, evaluator);
    const double life = numberArg(args, 2, evaluator);
    const double period = numberArg(args, 3, evaluator);
    if (life <= 0 || period <= 0 || period > life) fail(ErrorCode::Num);
    return Value((cost - salvage) * (life - period + 1) * 2 / (life * (life + 1)));
}

// Declining balance at factor (2: double) times the straight rate, never below the salvage.
Value ddb(const Args& args, const Evaluator& evaluator)
{
    const double cost = numberArg(args, 0, evaluator);
    const double salvage = numberArg(args, 1, evaluator);
    const double life = numberArg(args, 2, evaluator);
    const double period = numberArg(args, 3, evaluator);
    const double factor = numberArgOr(args, 4, evaluator, 2);
    if (cost < 0 || salvage < 0 || factor <= 0 || life <= 0 || period <= 0 || period > life || salvage > cost)
        fail(ErrorCode::Num);
    double rate = factor / life;
    double before = 0;
    if (rate >= 1) {
        rate = 1;
        before = period == 1 ? cost : 0;
    } else {
        before = cost * std::pow(1 - rate, period - 1);
    }
    const double after = cost * std::pow(1 - rate, period);
    return Value(std::max(0.0, after < salvage ? before - salvage : before - after));
}

} // namespace store::formula::functions
