#pragma once

#include "archive/Arhiv.h"
#include "store/CellChanges.h"
#include "store/Money.h"

#include <QString>
#include <functional>
#include <vector>


namespace store {
class DataWorkbook;
class Workbook;
class Worksheet;
} // namespace store

// A leva shop going over to the euro, in one step: every goods price converted at the fixed rate,
// the ledgers' rows so far marked as kept in leva, the invoice form's currency with them.
namespace currency {

// What going over will change.
struct ChangeoverPlan {
    int goods = 0;    // goods records of every article
    int prices = 0;   // selling and purchase prices that will be converted
};
ChangeoverPlan planChangeover(const store::DataWorkbook& data);

// The question asked before going over.
QString changeoverQuestion(const ChangeoverPlan& plan);

// In memory: the selling (C) and purchase (K) price of every goods record divided by the rate and
// rounded to the cent, the stock value (E) following them, the markup (L) as it was; the currency
// cell set to the euro and the ledgers' row counts kept as their leva rows. A price that is empty,
// a formula, or text that reads as no number stays as it is. Throws store::Error, changing
// nothing, in a euro shop.
store::CellChanges convertToEuro(const store::DataWorkbook& data);

// The invoice form's currency texts and number formats as the shop's currency wants them: "лв."
// and "€" (also in formats such as "[$лв.-402]"), "лева" and "евро", "BGN" and "EUR" swapped in
// text cells and formats; in euro, amount formats with two decimals and no currency show " €".
// Formulas are left as they are. Returns whether anything changed.
bool followCurrency(store::Workbook& form, store::Currency currency);

// What the whole step did.
struct ChangeoverDone {
    int prices = 0;
    archive::Copy archiveCopy;   // the archive copy that holds the shop in leva
    QString formProblem;    // why the invoice form file kept its currency texts; empty when it did not
};

// The whole step on a shop: refused in a euro shop; an archive copy of the data as it stands,
// the conversion, one save of the data workbook; then the invoice form file at formPath (when
// there is one) rewritten in euro. Throws store::Error when the copy or the save fails, with the
// workbook in memory and the file as they were.
ChangeoverDone changeShopToEuro(store::Workbook& danni, archive::Arhiv& arhiv, const QString& formPath);

} // namespace currency
