#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace reports {

// A date as the shop keeper types it: day, month and year in this order, parted by dots, slashes
// or hyphens, with or without blanks and leading zeros: "15.11.2026", "15. 11. 2026", "7/12/2026",
// "07-12-2026". A two-digit year falls in this century ("15.11.26" is 15 November 2026).
// Nothing when the text names no day of the calendar ("31.02.2026", "15.13.2026", words, nothing).
std::optional<QDate> readTypedDate(const QString& text);

// How a date is asked for wherever one is typed.
inline const QString kTypedDateExample = QStringLiteral("15.11.2026");

} // namespace reports
