#include "sales/SaleError.h"

namespace sales {

QString errorMessage(SaleError kind, const QStringList& a)
{
    switch (kind) {
    case SaleError::InvoiceFormClosed:
        return QStringLiteral("Формата на фактурата не е отворена.");
    case SaleError::LedgerFull:
        return QStringLiteral("Продажбата не е записана: дневникът на продажбите е пълен (%1 реда). "
                              "Кошницата остава непокътната.")
            .arg(a.value(0));
    case SaleError::NotSaved:
        return QStringLiteral("Продажбата не е записана: %1\nКошницата остава непокътната, "
                              "за да може продажбата да се запише отново.")
            .arg(a.value(0));
    case SaleError::CompanyIdLength:
        return QStringLiteral("ЕИК „%1“ не е валиден: ЕИК се състои от 9 или 13 цифри (ЕГН – от 10).").arg(a.value(0));
    case SaleError::CompanyIdCheckDigit:
        return QStringLiteral("ЕИК „%1“ не е валиден: контролната цифра не съвпада.").arg(a.value(0));
    case SaleError::VatNumberInvalid:
        return QStringLiteral("ИН по ЗДДС „%1“ не е валиден: българският номер е „BG“ и валиден ЕИК или ЕГН.")
            .arg(a.value(0));
    case SaleError::NotRegistered:
        return QStringLiteral("Документ № %1 е издаден и продажбата е записана, но не е запазен в папката "
                              "на издадените фактури: %2")
            .arg(a.value(0), a.value(1));
    case SaleError::NotASale:
        return QStringLiteral("Ред %1 от дневника на продажбите не е продажба, която може да бъде върната.").arg(a.value(0));
    case SaleError::NoReturnCount:
        return QStringLiteral("Не сте избрали брой за връщане.");
    case SaleError::ReturnTooMany:
        return QStringLiteral("От „%1“ могат да бъдат върнати най-много %2 бр.").arg(a.value(0), a.value(1));
    case SaleError::ReturnInvoicesDiffer:
        return QStringLiteral("Избраните продажби не са по една и съща фактура: върнете ги поотделно.");
    case SaleError::ReturnLedgerFull:
        return QStringLiteral("Връщането не е записано: дневникът на продажбите е пълен (%1 реда).").arg(a.value(0));
    case SaleError::ReturnNotSaved:
        return QStringLiteral("Връщането не е записано: %1").arg(a.value(0));
    case SaleError::ReturnedArticleGone:
        return QStringLiteral("„%1“ не е върната в наличност: артикулът „%2“ вече не съществува.").arg(a.value(0), a.value(1));
    case SaleError::ReturnedGoodsGone:
        return QStringLiteral("„%1“ не е върната в наличност: в артикула „%2“ вече няма такава стока.").arg(a.value(0), a.value(1));
    case SaleError::ReturnedGoodsUnknown:
        return QStringLiteral("„%1“ не е върната в наличност: не може да се намери точно една такава стока.").arg(a.value(0));
    }
    return {};
}

} // namespace sales
