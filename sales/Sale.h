#pragma once

#include "sales/Faktura.h"
#include "sales/Returns.h"
#include "store/Money.h"

#include <QString>
#include <optional>
#include <vector>

namespace app {
class Shop;
}

namespace sales {

class Koshnica;

// The sale operations as the sale panel and the document dialogs call them, apart from any
// window. Failures of the spreadsheet (a full ledger, a failed save, a form that cannot be
// opened) come as store::Error with nothing recorded and the basket as it was.

// Puts count pieces of goods record goodsPosition + 1 of the article sheet into the basket.
// False when the basket is full: nothing is taken from stock then.
bool addToBasket(app::Shop& shop, Koshnica& basket, const QString& sheet, int articlePosition, int goodsPosition,
                 int count);

// What a scanned piece did to the basket.
enum class PieceAdded { NewLine, LineRaised, BasketFull, OutOfStock };

// One piece of the goods at row of the article sheet into the basket, as a scanned code puts it:
// onto the line that already holds these goods, else onto a new line. Goods with no piece left in
// stock, or a full basket for a new line, take nothing.
PieceAdded addOnePiece(app::Shop& shop, Koshnica& basket, const QString& sheet, int articlePosition, int row);

// "Продажба" with "не": the basket is recorded without an invoice number, emptied, and the
// document sheet is cleared.
void sellWithoutInvoice(app::Shop& shop, Koshnica& basket);

// "Покажи фактурата": the basket is recorded with the next invoice number, the invoice is filled
// from it and shown, the basket is emptied, and the invoice is kept in the register of issued
// documents (what cannot be kept there is told; the sale stays recorded). An empty basket records
// nothing: false.
bool sellWithInvoice(app::Shop& shop, Koshnica& basket, const InvoiceData& data);

// "Отказ" of the invoice dialog: the basket is recorded without an invoice number and emptied;
// the document sheet keeps what it shows.
void sellDecliningInvoice(app::Shop& shop, Koshnica& basket);

// What a sale of the basket records, as the shop keeper is told once it is done: "Продажбата е
// записана: 3 реда, 27,50 лв., фактура № 0000000012." (no invoice part when invoiceNumber is
// empty).
QString saleRecordedText(const Koshnica& basket, store::Currency currency, const QString& invoiceNumber);

// A return as recorded, with its credit note when the sale was invoiced.
struct ReturnIssued {
    ReturnDone done;
    std::optional<IssuedDocument> creditNote;
};

// "Върни": the lines come back for reason in one step (VarniStoka). For invoiced sales the invoice
// form must be at hand before anything is recorded; the one credit note for all the lines is then
// filled in it for the invoice's recipient as the register keeps it, shown, and kept in the
// register like an invoice.
ReturnIssued returnSale(app::Shop& shop, const std::vector<ReturnLine>& lines, const QString& reason);

// Keeps the document the invoice form of the shop shows now: its PDF, the filled form and its
// register entry. The sale is recorded by then, so nothing here undoes it: what cannot be kept is
// told to the shop keeper, and the rest is kept all the same. False when something was not kept.
bool registerIssued(app::Shop& shop, const IssuedDocument& document);

// The program ends: the goods in the basket go back to stock. The file already counts them as
// there, so nothing is saved.
void returnBasketAtEnd(app::Shop& shop, Koshnica& basket);

} // namespace sales
