#pragma once

#include <QString>
#include <QStringList>

namespace sales {

// Why a sale is not recorded. Each takes the arguments named after it.
enum class SaleError {
    InvoiceFormClosed,
    LedgerFull,    // rows the ledger holds
    NotSaved,      // why the data file was not saved
};

QString errorMessage(SaleError kind, const QStringList& arguments);

} // namespace sales
