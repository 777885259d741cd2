#pragma once

#include <QDate>
#include <QStringView>
#include <optional>

namespace store::formula {

// Dates as the spreadsheet counts them: day 1 is 1 January 1900, and day 60 the 29 February 1900
// that never was (kept so serial numbers agree with every other program's); a time of day is the
// fraction of its day.
double serialOf(QDate date);
// The date of a serial number's day; nothing before day 1 or past the year 9999. Day 60 gives
// 28 February 1900 as well.
std::optional<QDate> dateOfSerial(double serial);
// The date a year, month and day give, the month and day running over into the next ones
// as DATE(2024, 14, 35) does; years 0 to 1899 count from 1900.
std::optional<double> serialFromParts(double year, double month, double day);

// A date typed as text: "15.03.2024", "15.3.24", "2024-03-15", "15/03/2024", maybe followed by a
// time ("15.03.2024 10:30"), as its serial number.
std::optional<double> dateFromText(QStringView text);

} // namespace store::formula
