// Why a ledger's oldest rows do not move out, each kind worded once for the shop keeper.
#include "app/support/QtPrinters.h"
#include "ledgers/LedgerError.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ledgers::LedgerError;

TEST(LedgerErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<LedgerError>({
        {LedgerError::YearWorkbookFull, {u"Dnevnici\\Danni-2026.xls"_s, u"дневника на продажбите"_s, u"65535"_s},
         u"Годишната книга „Dnevnici\\Danni-2026.xls“ няма място за още редове от дневника на продажбите: "
         u"тя побира 65535 реда."_s},
        {LedgerError::YearWorkbookDisagrees, {u"Dnevnici\\Danni-2025.xls"_s, u"дневника на покупките"_s},
         u"Редовете на дневника на покупките в годишната книга „Dnevnici\\Danni-2025.xls“ не продължават реда на "
         u"дневника: книгата е променяна отвън."_s},
        {LedgerError::NotRolledOver, {u"дневника на продажбите"_s, u"Дискът е пълен."_s},
         u"Най-старите редове на дневника на продажбите не са преместени в годишните книги: Дискът е пълен.\n"
         u"Всички файлове остават, както бяха."_s},
    });
}
