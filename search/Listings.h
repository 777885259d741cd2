#pragma once

#include "store/Money.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace store {
class Worksheet;
}

// The listings of the search dialog, apart from any window: the entries of the two price lists,
// the goods within a price range and the goods out of stock. `last` is the last goods row (T1 + 1).
namespace search {

// The first entry of both price lists: "0 лв." in a leva shop, "0 €" in a euro shop.
inline QString zeroPriceEntry(store::Currency currency)
{
    return QStringLiteral("0 ") + store::currencySign(currency);
}
inline const QString kNoGoodsFound = QStringLiteral("Не са намерени стоки");
inline const QString kNoGoods = QStringLiteral("Няма налични стоки");
inline const QString kPickPrices = QStringLiteral("Моля изберете цена от ... до ...");

// One entry per goods record with a price, in row order: the price as "#0.00" followed by " лв."
// or " €" as the shop counts (an empty price cell gives 0,00). A price that is not a number gives
// no entry.
QStringList priceEntries(const store::Worksheet& article, int last);
// The price a list entry stands for: the entry without its currency, in the user's number format.
std::optional<double> entryPrice(const QString& entry);

// Every goods record whose price, as the lists show it, lies between the two bounds (either order,
// both inclusive), cheapest first and goods of one price in row order: the name, "   цена: ", the
// price as stored and the currency (" лв.", " €"), each line ending in CR LF;
// "Не са намерени стоки" when there is none. A price that is not a number is left out.
QString priceListing(const store::Worksheet& article, int last, double from, double to);

// Two blanks and the name of every goods record whose count is 0 (an empty count cell counts as 0),
// each line ending in CR LF; "  Няма налични стоки" for an article without goods. A count that is
// not a number is left out.
QString missingGoodsListing(const store::Worksheet& article, int last);

} // namespace search
