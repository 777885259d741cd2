#pragma once

#include <QString>
#include <QStringList>

// What the program hands over to the desktop. Each step says what went wrong, in words for the
// shop keeper, and is empty when it went well.
namespace app {

// The calculators looked for, in this order.
QStringList knownCalculators();
// Starts the first of them found.
QString openCalculator();
// "Файлът „…“ липсва.": a file the program looked for is not there.
QString missingFile(const QString& path);
// Opens a document with the program the desktop associates with it.
QString openDocument(const QString& path);

} // namespace app
