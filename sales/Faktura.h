#pragma once

#include "sales/InvoiceRegister.h"
#include "store/Money.h"

#include <QString>

namespace store {
class Application;
class Worksheet;
} // namespace store

namespace sales {

class Koshnica;
struct ReturnDone;

// What the invoice data dialog holds, as typed.
struct InvoiceData {
    enum class Payment { None, Cash, Transfer, SetOff };
    QString number;        // "Фактура   №"
    QString date;          // "Дата"
    QString companyId;     // "ЕИК"
    QString vatNumber;     // "ИН по ЗДДС"
    QString company;       // "ФИРМА"
    QString address;       // "АДРЕС"
    Payment payment = Payment::None;
    QString term;          // "срок"
    QString deliveryDate;  // "дата" of the delivery
    QString deliveryPlace; // "място"
    QString zeroVatBasis;  // "основание за 0% ДДС:"
};

// Opens the invoice form in FakturaEksel, its currency texts and amount formats following the
// shop's currency (the file itself is never saved). Throws store::Error when it cannot be opened.
void openInvoiceForm(store::Application& FakturaEksel, const QString& formPath, store::Currency currency);

// The document sheet of the invoice form held by FakturaEksel, opening the form from its file
// again when it is not on screen. Throws store::Error when the form cannot be opened.
store::Worksheet& documentSheet(store::Application& FakturaEksel, const QString& formPath, store::Currency currency);

// Fills the document sheet from the basket and the dialog's data (all ten goods rows: the
// basket's lines, then empty names with 0 count and price) and makes FakturaEksel visible. The
// form is never saved.
void PokajiFakturata(store::Application& FakturaEksel, const QString& formPath, store::Currency currency,
                     const Koshnica& basket, const InvoiceData& data);

// Fills the document sheet as a credit note for the return (titled "КРЕДИТНО ИЗВЕСТИЕ", its
// number and date, "към фактура № … от …" and the reason, each returned line with a negative
// count, the recipient of the invoice) and makes FakturaEksel visible. The next invoice
// puts its own title back. Returns the credit note as the register keeps it.
IssuedDocument PokajiKreditnoIzvestie(store::Application& FakturaEksel, const QString& formPath, store::Currency currency,
                                      const ReturnDone& done, const Recipient& recipient);

// After a sale without an invoice: the recipient's cells back to their bare prefixes, payment,
// delivery, goods and credit-note cells emptied; the number and date of the last invoice stay. Not shown.
void IzchistiFakturata(store::Worksheet& sheet);

} // namespace sales
