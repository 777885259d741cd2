#pragma once

#include "store/DataWorkbook.h"

#include <QString>

namespace store {
class RowKeeper;
}

// Articles: one article sheet each, its name in the index sheet's column B, its picture folder.
namespace catalogue {

inline const QString kArticleTaken = QStringLiteral("Вече има артикул с такова име");

// Why the name cannot name an article sheet and its picture folder; empty when it can.
QString articleNameProblem(const QString& name);

// ProverkaArtikul: the name is taken when it equals, as a whole and with case ignored, a name in
// B2:B(D1 + 2) of the index sheet (deleted articles stay there) or the name of any sheet.
bool ProverkaArtikul(const store::DataWorkbook& data, const QString& name);

struct ArticleAdded {
    QString refusal;        // why nothing was added; empty when the article was added
    int sheetsBefore = 0;   // D1 before the addition
};

// DobaviArtikul: checks the name, makes the picture folder under picturesRoot when it is missing,
// adds the sheet (in front of the active one) with the count formula in T1, writes the name to
// B(D1 + 2) and raises D1. Nothing is written when a check refuses.
ArticleAdded DobaviArtikul(const store::DataWorkbook& data, const QString& picturesRoot, const QString& name);

// Deletes the article sheet without asking and lowers D1; column B of the index sheet and the
// picture folder stay. Refused (message returned, nothing changed) while the basket holds goods
// of the article. The spreadsheet's alerts are left off, as deleting a sheet needs them off.
QString IztriiArtikul(const store::DataWorkbook& data, const QString& name, const store::RowKeeper* keeper);

} // namespace catalogue
