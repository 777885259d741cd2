// Dates and times as serial numbers: days from 1 January 1900, the time of day the fraction. A
// workbook that counts from 1904 has its dates shifted to that count on the way in and out.
#include "store/formula/SerialDate.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

#include <QDateTime>
#include <cmath>
#include <utility>

namespace store::formula::functions {

namespace {

constexpr double kSecondsPerDay = 86400;

// A date argument: a serial number, or text that reads as a date or a number.
double serialArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    const double serial = numberArg(args, i, evaluator);
    if (serial < 0) fail(ErrorCode::Num);
    return serial + evaluator.dateShift();
}

// A date counted from 1900 as the workbook counts it; before its first day is #NUM!.
Value workbookDate(double serial, const Evaluator& evaluator)
{
    const double shifted = serial - evaluator.dateShift();
    if (shifted < 0) fail(ErrorCode::Num);
    return Value(shifted);
}

QDate dateArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    const double serial = serialArg(args, i, evaluator);
    if (serial < 1) return QDate(1899, 12, 31);   // day 0, "0 January 1900", the day before day 1
    const auto date = dateOfSerial(serial);
    if (!date) fail(ErrorCode::Num);
    return *date;
}

// The seconds into its day, rounded to the whole second as the spreadsheet shows a time.
qint64 secondsArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    const double serial = serialArg(args, i, evaluator);
    return qint64(std::llround((serial - std::floor(serial)) * kSecondsPerDay)) % qint64(kSecondsPerDay);
}

double serialNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return serialOf(now.date()) + now.time().msecsSinceStartOfDay() / (kSecondsPerDay * 1000);
}

} // namespace

Value today(const Args&, const Evaluator& evaluator)
{
    return workbookDate(serialOf(QDate::currentDate()), evaluator);
}

Value now(const Args&, const Evaluator& evaluator)
{
    return workbookDate(serialNow(), evaluator);
}

Value date(const Args& args, const Evaluator& evaluator)
{
    const auto serial = serialFromParts(numberArg(args, 0, evaluator), numberArg(args, 1, evaluator),
                                        numberArg(args, 2, evaluator));
    if (!serial) fail(ErrorCode::Num);
    return workbookDate(*serial, evaluator);
}

// Day 0 reads as 0 January 1900, day 60 as 29 February 1900, as the spreadsheet has them.
Value year(const Args& args, const Evaluator& evaluator)
{
    const double serial = serialArg(args, 0, evaluator);
    if (serial < 1) return Value(1900.0);
    return Value(double(dateArg(args, 0, evaluator).year()));
}

Value month(const Args& args, const Evaluator& evaluator)
{
    const double serial = serialArg(args, 0, evaluator);
    if (serial < 1) return Value(1.0);
    return Value(double(std::floor(serial) == 60 ? 2 : dateArg(args, 0, evaluator).month()));
}

Value day(const Args& args, const Evaluator& evaluator)
{
    const double serial = std::floor(serialArg(args, 0, evaluator));
    if (serial < 1) return Value(0.0);
    return Value(double(serial == 60 ? 29 : dateArg(args, 0, evaluator).day()));
}

// 1 Sunday to 7 Saturday; type 2 counts from Monday as 1, type 3 from Monday as 0.
Value weekday(const Args& args, const Evaluator& evaluator)
{
    const double serial = std::floor(serialArg(args, 0, evaluator));
    const int type = given(args, 1) ? integerArg(args, 1, evaluator) : 1;
    // Serial 1 (1 January 1900) was a Sunday in the spreadsheet's count.
    const int sundayFirst = int(std::fmod(serial + 6, 7));   // 0 Sunday
    switch (type) {
    case 1: return Value(double(sundayFirst + 1));
    case 2: return Value(double((sundayFirst + 6) % 7 + 1));
    case 3: return Value(double((sundayFirst + 6) % 7));
    default: fail(ErrorCode::Num);
    }
}

Value dateValue(const Args& args, const Evaluator& evaluator)
{
    const auto serial = dateFromText(textArg(args, 0, evaluator));
    if (!serial) fail(ErrorCode::Value);
    return workbookDate(std::floor(*serial), evaluator);
}

// Hours, minutes and seconds as a fraction of a day; past 24 hours the days are dropped.
Value time(const Args& args, const Evaluator& evaluator)
{
    const double seconds = std::trunc(numberArg(args, 0, evaluator)) * 3600
                           + std::trunc(numberArg(args, 1, evaluator)) * 60 + std::trunc(numberArg(args, 2, evaluator));
    if (seconds < 0) fail(ErrorCode::Num);
    return Value(std::fmod(seconds, kSecondsPerDay) / kSecondsPerDay);
}

Value hour(const Args& args, const Evaluator& evaluator)
{
    return Value(double(secondsArg(args, 0, evaluator) / 3600));
}

Value minute(const Args& args, const Evaluator& evaluator)
{
    return Value(double(secondsArg(args, 0, evaluator) / 60 % 60));
}

Value second(const Args& args, const Evaluator& evaluator)
{
    return Value(double(secondsArg(args, 0, evaluator) % 60));
}

Value timeValue(const Args& args, const Evaluator& evaluator)
{
    const QString text = textArg(args, 0, evaluator);
    auto serial = timeFromText(text);
    if (!serial) serial = dateFromText(text);
    if (!serial) fail(ErrorCode::Value);
    return Value(*serial - std::floor(*serial));
}

// Days between two dates in a year of twelve 30-day months: the US way, or the European one when
// the third argument is TRUE.
Value days360(const Args& args, const Evaluator& evaluator)
{
    const QDate start = dateArg(args, 0, evaluator);
    const QDate end = dateArg(args, 1, evaluator);
    const bool european = truthArgOr(args, 2, evaluator, false);
    int startDay = start.day();
    int endDay = end.day();
    if (european) {
        startDay = std::min(startDay, 30);
        endDay = std::min(endDay, 30);
    } else {
        const bool startLastOfFebruary = start.month() == 2 && start.day() == start.daysInMonth();
        if (startLastOfFebruary || startDay == 31) startDay = 30;
        if (endDay == 31 && startDay >= 30) endDay = 30;
    }
    return Value(double((end.year() - start.year()) * 360 + (end.month() - start.month()) * 30 + endDay - startDay));
}

// The whole years, months or days from one date to a later one ("Y", "M", "D"), or what is left
// of them past the whole months ("MD"), years ("YM") or years in days ("YD"). Where the start's
// day is past the end's, "MD" counts from that day of the month before the end's month, run over
// as DATE runs over, and may come out below zero as in the spreadsheet.
Value dateDif(const Args& args, const Evaluator& evaluator)
{
    const double startSerial = std::floor(serialArg(args, 0, evaluator));
    const double endSerial = std::floor(serialArg(args, 1, evaluator));
    const QString unit = textArg(args, 2, evaluator).toUpper();
    if (startSerial > endSerial) fail(ErrorCode::Num);
    const QDate start = dateArg(args, 0, evaluator);
    const QDate end = dateArg(args, 1, evaluator);
    const bool dayReached = end.day() >= start.day();
    const int months = (end.year() - start.year()) * 12 + end.month() - start.month() - (dayReached ? 0 : 1);
    const auto daysFrom = [&](double year, double month, double day) {
        const auto from = serialFromParts(year, month, day);
        if (!from) fail(ErrorCode::Num);
        return Value(endSerial - *from);
    };
    if (unit == u"D") return Value(endSerial - startSerial);
    if (unit == u"M") return Value(double(months));
    if (unit == u"Y") return Value(double(months / 12));
    if (unit == u"YM") return Value(double(months % 12));
    if (unit == u"MD")
        return dayReached ? Value(double(end.day() - start.day())) : daysFrom(end.year(), end.month() - 1, start.day());
    if (unit == u"YD") {
        const bool yearReached = std::pair(end.month(), end.day()) >= std::pair(start.month(), start.day());
        return daysFrom(end.year() - (yearReached ? 0 : 1), start.month(), start.day());
    }
    fail(ErrorCode::Num);
}

} // namespace store::formula::functions
