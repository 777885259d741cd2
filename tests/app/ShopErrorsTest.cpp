// Why the shop's data workbook is not at hand or not saved, each kind worded once for the shop
// keeper.
#include "app/support/QtPrinters.h"
#include "common/ShopError.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using app::ShopError;

TEST(ShopErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<ShopError>({
        {ShopError::DataFileClosed, {u"Danni.xls"_s}, u"Файлът с данните Danni.xls вече е затворен."_s},
        {ShopError::OtherVersionNotKept, {u"Danni.xls"_s, u"Дискът е пълен."_s},
         u"Файлът с данните „Danni.xls“ е променен от друга програма, а нейната версия не може да бъде запазена в "
         u"архива, затова данните не се записват върху нея.\nДискът е пълен."_s},
        {ShopError::ReloadingOtherVersion, {},
         u"Промяната не е записана: данните се зареждат, както ги е оставила другата програма."_s},
    });
}
