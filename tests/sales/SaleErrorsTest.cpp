// Why a sale is not recorded, each kind worded once for the shop keeper.
#include "app/support/QtPrinters.h"
#include "sales/SaleError.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using sales::SaleError;

TEST(SaleErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<SaleError>({
        {SaleError::InvoiceFormClosed, {}, u"Формата на фактурата не е отворена."_s},
        {SaleError::LedgerFull, {u"65535"_s},
         u"Продажбата не е записана: дневникът на продажбите е пълен (65535 реда). Кошницата остава непокътната."_s},
        {SaleError::NotSaved, {u"Дискът е пълен."_s},
         u"Продажбата не е записана: Дискът е пълен.\nКошницата остава непокътната, "
         u"за да може продажбата да се запише отново."_s},
    });
}
