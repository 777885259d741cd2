#pragma once

#include <QString>
#include <QStringList>

namespace sales {

// Why a sale or a return is not recorded. Each takes the arguments named after it.
enum class SaleError {
    InvoiceFormClosed,
    LedgerFull,    // rows the ledger holds
    NotSaved,      // why the data file was not saved
    CompanyIdLength,      // the ЕИК as typed
    CompanyIdCheckDigit,  // the ЕИК as typed
    VatNumberInvalid,     // the ИН по ЗДДС as typed
    NotRegistered,        // the document's number, why it was not kept
    // Why a return is not recorded.
    NotASale,          // the ledger row
    NoReturnCount,
    ReturnTooMany,     // the goods' name, the count that can still be returned
    ReturnInvoicesDiffer,
    ReturnLedgerFull,  // rows the ledger holds
    ReturnNotSaved,    // why the data file was not saved
    // Why a recorded return could not put its goods back in stock.
    ReturnedArticleGone,   // the goods' name, the article
    ReturnedGoodsGone,     // the goods' name, the article
    ReturnedGoodsUnknown,  // the goods' name
};

QString errorMessage(SaleError kind, const QStringList& arguments);

} // namespace sales
