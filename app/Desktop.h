#pragma once

#include <QString>

// What the program hands over to the desktop.
namespace app {

// Starts the first desktop calculator found; nothing happens when there is none.
void openCalculator();
// Opens a document with the program the desktop associates with it; the result is not checked.
void openDocument(const QString& path);

} // namespace app
