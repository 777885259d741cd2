#pragma once

#include <QString>
#include <QStringList>

namespace ledgers {

// Why a ledger's oldest rows do not move to the year workbooks. Each takes the arguments named
// after it; a path is written as the system writes it.
enum class LedgerError {
    YearWorkbookFull,        // year workbook, ledger, rows it can hold
    YearWorkbookDisagrees,   // year workbook, ledger
    NotRolledOver,           // ledger, why
};

QString errorMessage(LedgerError kind, const QStringList& arguments);

} // namespace ledgers
