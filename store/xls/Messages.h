#pragma once

// Pieces of the messages the .xls reader and writer give.

#include "store/Range.h"
#include "store/StoreError.h"
#include "store/xls/XlsError.h"

#include <QString>

namespace store::xls {

// "B5" for row 5, column 2.
inline QString cellName(int row, int col)
{
    return columnName(col) + QString::number(row);
}

// A number in hexadecimal, with at least `digits` digits: "0x" goes before it in the sentence.
inline QString hex(uint number, int digits)
{
    return QStringLiteral("%1").arg(number, digits, 16, QLatin1Char('0'));
}

// The message of an error without its closing period, to be put into a sentence of our own.
inline QString reasonOf(const Error& error)
{
    QString reason = error.message();
    while (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
    return reason;
}

// The message of an error closing a sentence of our own after a colon: with one period.
inline QString closedReason(const Error& error)
{
    return reasonOf(error) + QLatin1Char('.');
}

} // namespace store::xls
