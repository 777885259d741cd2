#pragma once

#include <QString>
#include <QStringList>

namespace sales {

// Why a sale is not recorded. Each takes the arguments named after it.
enum class SaleError {
    InvoiceFormClosed,
    LedgerFull,    // rows the ledger holds
    NotSaved,      // why the data file was not saved
    CompanyIdLength,      // the ЕИК as typed
    CompanyIdCheckDigit,  // the ЕИК as typed
    VatNumberInvalid,     // the ИН по ЗДДС as typed
    NotRegistered,        // the document's number, why it was not kept
};

QString errorMessage(SaleError kind, const QStringList& arguments);

} // namespace sales
