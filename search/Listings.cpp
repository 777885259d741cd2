#include "search/Listings.h"

#include "store/DataWorkbook.h"
#include "store/Worksheet.h"

#include <cmath>

namespace search {

namespace col = store::layout::article;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kFirstGoodsRow = col::recordRow(1);

std::optional<double> numberIn(const store::Worksheet& article, int row, int column)
{
    const auto number = article.value(row, column).toNumber();
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

// A price as the lists show it: the two-decimal value of its entry.
std::optional<double> shownPrice(const store::Worksheet& article, int row)
{
    const auto price = numberIn(article, row, col::kPrice);
    if (!price) return std::nullopt;
    return entryPrice(store::moneyWithSign(*price, store::currencyOf(article)));
}

// A stored price as it is, the way a spreadsheet shows it (a computed 1.2100000000000002 as "1,21").
QString storedPriceText(const store::Worksheet& article, int row)
{
    const store::Value price = article.value(row, col::kPrice);
    return price.isNumber() ? store::shownNumberText(price.number()) : price.toText();
}

} // namespace

QStringList priceEntries(const store::Worksheet& article, int last)
{
    QStringList entries;
    const store::Currency currency = store::currencyOf(article);
    for (int row = kFirstGoodsRow; row <= last; ++row)
        if (const auto price = numberIn(article, row, col::kPrice)) entries << store::moneyWithSign(*price, currency);
    return entries;
}

std::optional<double> entryPrice(const QString& entry)
{
    return store::moneyOfEntry(entry);
}

QString priceListing(const store::Worksheet& article, int last, double from, double to)
{
    const double low = std::min(from, to);
    const double high = std::max(from, to);
    const QString currency = QLatin1Char(' ') + store::currencySign(store::currencyOf(article));
    QString listing;
    for (int row = kFirstGoodsRow; row <= last; ++row) {
        const auto price = shownPrice(article, row);
        if (!price || *price < low || *price > high) continue;
        listing += article.shownText(row, col::kName) + QStringLiteral("   цена: ") + storedPriceText(article, row)
            + currency + kCrLf;
    }
    return listing.isEmpty() ? kNoGoodsFound : listing;
}

QString missingGoodsListing(const store::Worksheet& article, int last)
{
    if (last <= 1) return QStringLiteral("  ") + kNoGoods;
    QString listing;
    for (int row = kFirstGoodsRow; row <= last; ++row) {
        const auto count = numberIn(article, row, col::kStock);
        if (count && *count == 0) listing += QStringLiteral("  ") + article.shownText(row, col::kName) + kCrLf;
    }
    return listing;
}

} // namespace search
