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
        {SaleError::CompanyIdLength, {u"12345"_s},
         u"ЕИК „12345“ не е валиден: ЕИК се състои от 9 или 13 цифри (ЕГН – от 10)."_s},
        {SaleError::CompanyIdCheckDigit, {u"123456788"_s}, u"ЕИК „123456788“ не е валиден: контролната цифра не съвпада."_s},
        {SaleError::VatNumberInvalid, {u"BG123456788"_s},
         u"ИН по ЗДДС „BG123456788“ не е валиден: българският номер е „BG“ и валиден ЕИК или ЕГН."_s},
        {SaleError::NotRegistered, {u"0000000007"_s, u"Дискът е пълен."_s},
         u"Документ № 0000000007 е издаден и продажбата е записана, но не е запазен в папката на издадените "
         u"фактури: Дискът е пълен."_s},
        {SaleError::NotASale, {u"7"_s}, u"Ред 7 от дневника на продажбите не е продажба, която може да бъде върната."_s},
        {SaleError::NoReturnCount, {}, u"Не сте избрали брой за връщане."_s},
        {SaleError::ReturnTooMany, {u"Топка"_s, u"2"_s}, u"От „Топка“ могат да бъдат върнати най-много 2 бр."_s},
        {SaleError::ReturnInvoicesDiffer, {},
         u"Избраните продажби не са по една и съща фактура: върнете ги поотделно."_s},
        {SaleError::ReturnLedgerFull, {u"65535"_s},
         u"Връщането не е записано: дневникът на продажбите е пълен (65535 реда)."_s},
        {SaleError::ReturnNotSaved, {u"Дискът е пълен."_s}, u"Връщането не е записано: Дискът е пълен."_s},
        {SaleError::ReturnedArticleGone, {u"Топка"_s, u"Играчки"_s},
         u"„Топка“ не е върната в наличност: артикулът „Играчки“ вече не съществува."_s},
        {SaleError::ReturnedGoodsGone, {u"Топка"_s, u"Играчки"_s},
         u"„Топка“ не е върната в наличност: в артикула „Играчки“ вече няма такава стока."_s},
        {SaleError::ReturnedGoodsUnknown, {u"Топка"_s},
         u"„Топка“ не е върната в наличност: не може да се намери точно една такава стока."_s},
    });
}
