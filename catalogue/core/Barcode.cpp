#include "catalogue/core/Barcode.h"

#include "store/DataWorkbook.h"
#include "store/Worksheet.h"

#include <algorithm>

namespace catalogue {

namespace col = store::layout::article;

namespace {

bool allDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool latinLetterOrDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// The standard code these many digits make; empty for the shop's own codes.
QString standardKind(const QString& digits)
{
    switch (digits.size()) {
    case 8: return QStringLiteral("EAN-8");
    case 12: return QStringLiteral("UPC-A");
    case 13: return QStringLiteral("EAN-13");
    default: return {};
    }
}

} // namespace

int checkDigit(const QString& leadingDigits)
{
    // From the right, the digits weigh 3, 1, 3, 1, …
    int sum = 0;
    for (qsizetype i = 0; i < leadingDigits.size(); ++i)
        sum += leadingDigits[leadingDigits.size() - 1 - i].digitValue() * (i % 2 == 0 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

std::optional<QString> barcodeProblem(const QString& text)
{
    if (allDigits(text) && !standardKind(text).isEmpty()) {
        const int expected = checkDigit(text.chopped(1));
        if (text.back().digitValue() == expected) return std::nullopt;
        return QStringLiteral("Баркодът %1 е грешен: последната цифра на %2 с тези цифри трябва да е %3. "
                              "Проверете го или го сканирайте отново.")
            .arg(text, standardKind(text))
            .arg(expected);
    }
    if (text.size() > kLongestOwnCode || !std::all_of(text.begin(), text.end(), latinLetterOrDigit))
        return QStringLiteral("Баркодът може да има само латински букви и цифри, най-много %1 знака.")
            .arg(kLongestOwnCode);
    return std::nullopt;
}

std::optional<GoodsPlace> findBarcode(const store::DataWorkbook& data, const QString& code)
{
    const QString wanted = code.trimmed();
    if (wanted.isEmpty()) return std::nullopt;
    for (const store::Worksheet* article : data.articleSheets()) {
        const int n = data.goodsCount(*article);
        for (int record = 1; record <= n; ++record)
            if (article->shownText(col::recordRow(record), col::kBarcode).trimmed() == wanted)
                return GoodsPlace{article->Name(), record};
    }
    return std::nullopt;
}

QString unknownBarcodeText(const QString& code)
{
    return QStringLiteral("Няма стока с баркод „%1“.").arg(code.trimmed());
}

} // namespace catalogue
