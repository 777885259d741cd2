#pragma once

// Pieces of the messages the .xls reader and writer give.

#include "store/Range.h"
#include "store/StoreError.h"

#include <QString>

namespace store::xls {

// "B5" for row 5, column 2.
inline QString cellName(int row, int col)
{
    return columnName(col) + QString::number(row);
}

// The message of an error without its closing period, to be put into a sentence of our own.
inline QString reasonOf(const Error& error)
{
    QString reason = error.message();
    while (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
    return reason;
}

} // namespace store::xls
