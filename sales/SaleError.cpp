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
    }
    return {};
}

} // namespace sales
