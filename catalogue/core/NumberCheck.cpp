#include "catalogue/core/NumberCheck.h"

#include "store/Value.h"

namespace catalogue {

bool ProverkaChislo(const QString& text, bool decimals, bool plus, bool minus)
{
    bool point = false;
    bool comma = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) continue;
        if (c == QLatin1Char('+') && plus && i == 0) continue;
        if (c == QLatin1Char('-') && minus && i == 0) continue;
        if (c == QLatin1Char('.') && decimals && !point) {
            point = true;
            continue;
        }
        if (c == QLatin1Char(',') && decimals && !comma) {
            comma = true;
            continue;
        }
        return false;
    }
    return true;
}

std::optional<double> typedNumber(const QString& text)
{
    if (!ProverkaChislo(text, true, false, false)) return std::nullopt;
    return store::parseNumber(text);
}

std::optional<double> typedWholeNumber(const QString& text)
{
    if (!ProverkaChislo(text, false, false, false)) return std::nullopt;
    return store::parseNumber(text);
}

} // namespace catalogue
