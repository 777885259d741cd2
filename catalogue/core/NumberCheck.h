#pragma once

#include <QString>
#include <optional>

namespace catalogue {

// True when every character of the text may stand in a typed number: digits; "+" or "-" as the
// first character when allowed; with decimals allowed, one "." and one "," (so both may appear).
// The empty text passes.
bool ProverkaChislo(const QString& text, bool decimals, bool plus, bool minus);

// A typed price or percentage: passes the character check with decimals and reads as one number,
// "," or "." being the decimal mark. Nothing when it is not one.
std::optional<double> typedNumber(const QString& text);
// A typed count: digits only.
std::optional<double> typedWholeNumber(const QString& text);

} // namespace catalogue
