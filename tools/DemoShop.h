#pragma once

#include <QString>

// Lays out a complete program folder in dir for trying the program out: the data workbook
// Danni.xls with a small shop of children's goods, the invoice form Faktura.xls, the pictures under
// Kartini and the guide Help.doc. Creates dir when missing. Refuses, with a store::Error, a folder
// that already holds a Danni.xls: a shop's data is never overwritten. Danni.xls is written last,
// so a folder left half done by a failure can simply be laid out again.
// Draws pictures, so a QGuiApplication must exist.
void layOutDemoShop(const QString& dir);
