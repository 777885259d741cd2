#include "ledgers/LedgerError.h"

namespace ledgers {

QString errorMessage(LedgerError kind, const QStringList& a)
{
    switch (kind) {
    case LedgerError::YearWorkbookFull:
        return QStringLiteral("Годишната книга „%1“ няма място за още редове от %2: тя побира %3 реда.")
            .arg(a.value(0), a.value(1), a.value(2));
    case LedgerError::YearWorkbookDisagrees:
        return QStringLiteral("Редовете на %2 в годишната книга „%1“ не продължават реда на дневника: "
                              "книгата е променяна отвън.")
            .arg(a.value(0), a.value(1));
    case LedgerError::NotRolledOver:
        return QStringLiteral("Най-старите редове на %1 не са преместени в годишните книги: %2\n"
                              "Всички файлове остават, както бяха.")
            .arg(a.value(0), a.value(1));
    }
    return {};
}

} // namespace ledgers
