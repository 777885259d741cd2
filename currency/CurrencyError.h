#pragma once

#include <QString>
#include <QStringList>

namespace currency {

// Why the shop does not go over to the euro. Each takes the arguments named after it.
enum class CurrencyError {
    AlreadyEuro,
    ChangeoverNotSaved,   // why the data file was not saved
};

QString errorMessage(CurrencyError kind, const QStringList& arguments);

} // namespace currency
