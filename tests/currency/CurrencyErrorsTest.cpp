// Why the shop does not go over to the euro, each kind worded once for the shop keeper.
#include "app/support/QtPrinters.h"
#include "currency/CurrencyError.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using currency::CurrencyError;

TEST(CurrencyErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<CurrencyError>({
        {CurrencyError::AlreadyEuro, {}, u"Магазинът вече работи в евро: няма какво да се преминава."_s},
        {CurrencyError::ChangeoverNotSaved, {u"Дискът е пълен."_s},
         u"Преминаването към евро не е записано, затова нищо не е променено: "
         u"цените и записите остават в лева.\nДискът е пълен."_s},
    });
}
