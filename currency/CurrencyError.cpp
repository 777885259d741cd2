#include "currency/CurrencyError.h"

namespace currency {

QString errorMessage(CurrencyError kind, const QStringList& a)
{
    switch (kind) {
    case CurrencyError::AlreadyEuro:
        return QStringLiteral("Магазинът вече работи в евро: няма какво да се преминава.");
    case CurrencyError::ChangeoverNotSaved:
        return QStringLiteral("Преминаването към евро не е записано, затова нищо не е променено: "
                              "цените и записите остават в лева.\n%1")
            .arg(a.value(0));
    }
    return {};
}

} // namespace currency
