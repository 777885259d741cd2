#include "search/Listings.h"

#include "store/DataWorkbook.h"
#include "store/Worksheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

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

// A price as the lists show it: the value of its entry, rounded to two decimals as the entry is
// written, without the user's number format (which changes the separator only), so that a long
// listing does not format and read back every price.
double shownPrice(double price)
{
    const QByteArray twoDecimals = QByteArray::number(price, 'f', 2);
    double shown = price;
    std::from_chars(twoDecimals.constBegin(), twoDecimals.constEnd(), shown);
    return shown;
}

// A stored price as it is, the way a spreadsheet shows it (a computed 1.2100000000000002 as "1,21").
QString storedPriceText(const store::Value& price)
{
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
    const QString currency = QLatin1Char(' ') + store::currencySign(store::currencyOf(article)) + kCrLf;
    struct Found {
        double price;
        int row;
        store::Value cell;
    };
    std::vector<Found> found;
    for (int row = kFirstGoodsRow; row <= last; ++row) {
        store::Value cell = article.value(row, col::kPrice);
        const auto price = cell.toNumber();
        if (!price || !std::isfinite(*price)) continue;
        const double shown = shownPrice(*price);
        if (shown >= low && shown <= high) found.push_back({*price, row, std::move(cell)});
    }
    // Cheapest first; goods of one price in the order of the article.
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.price < b.price; });
    QString listing;
    listing.reserve(qsizetype(found.size()) * 48);
    for (const Found& goods : found)
        listing += article.shownText(goods.row, col::kName) + QStringLiteral("   цена: ") + storedPriceText(goods.cell) + currency;
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
