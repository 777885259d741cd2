// Why the shop does not go over to the euro, each kind worded once for the shop keeper.
#include "app/support/QtPrinters.h"
#include "currency/CurrencyError.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using currency::CurrencyError;

TEST(CurrencyErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    const struct {
        CurrencyError kind;
        QStringList arguments;
        QString message;
    } sentences[] = {
        {CurrencyError::AlreadyEuro, {}, u"Магазинът вече работи в евро: няма какво да се преминава."_s},
        {CurrencyError::ChangeoverNotSaved, {u"Дискът е пълен."_s},
         u"Преминаването към евро не е записано, затова нищо не е променено: "
         u"цените и записите остават в лева.\nДискът е пълен."_s},
    };
    for (const auto& [kind, arguments, message] : sentences) {
        const store::Error error(kind, arguments);
        EXPECT_EQ(error.message(), message);
        EXPECT_EQ(error.kind<CurrencyError>(), kind) << message.toStdString();
    }
}
