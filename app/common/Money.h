#pragma once

#include <QString>

namespace app {

// A sum in leva with two decimals in the user's number format ("#0.00": 5.5 shows as 5,50 under
// Bulgarian settings), never with group separators.
QString formatMoney(double value);

} // namespace app
