#pragma once

#include "ledgers/RollOver.h"

#include <QDate>
#include <QString>
#include <functional>

namespace store {
class DataWorkbook;
}

namespace sales {

class Koshnica;

inline constexpr int kInvoiceNumberLength = 10;

// The next invoice number: K1 + 1 padded on the left with "0" to ten characters (K1 = 6 gives
// "0000000007"); a longer number is not cut.
QString NomerNaFaktura(const store::DataWorkbook& data);
// The number the invoice dialog proposes: K1 + 1 as plain decimal text.
QString nextInvoiceNumber(const store::DataWorkbook& data);

// Writes the basket into the sales ledger: one row per line after the R1 rows there are (the
// date today() gives, name, count, selling price, the invoice number when withInvoice, purchase
// price, article sheet), K1 + 1 when withInvoice, R1 + lines. Nothing is saved. Returns the first row written.
// Throws store::Error before writing anything when the ledger has no room for the lines, or R1
// or K1 is no whole number in its range or R1 disagrees with the ledger's rows.
int writeSale(const store::DataWorkbook& data, const Koshnica& basket, bool withInvoice,
               const std::function<QDate()>& today = &QDate::currentDate);

// Records the basket as a sale: one sales-ledger row per line after the R1 rows there are (date,
// name, count, selling price, the invoice number when withInvoice, purchase price), K1 + 1 when
// withInvoice, R1 + lines, then saves the data workbook, which also makes the stock changes of
// the basket permanent. The basket itself is left as it is.
// A full ledger first moves its oldest rows out to make room (saved at once, see
// ledgers::makeRoom): what moved is returned.
// Throws store::Error, with nothing changed, when the ledger has no room for the lines even so or
// the save fails (what was written is taken back, so the same basket can be recorded again).
std::optional<ledgers::RollOver> ProdajbiDobavi(const store::DataWorkbook& data, Koshnica& basket, bool withInvoice);

} // namespace sales
