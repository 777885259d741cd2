#pragma once

#include <QString>

namespace app {

// The files the program keeps in its folder.
inline const QString kDataFile = QStringLiteral("Danni.xls");
inline const QString kInvoiceFile = QStringLiteral("Faktura.xls");
inline const QString kHelpFile = QStringLiteral("Help.doc");
inline const QString kPictureFolder = QStringLiteral("Kartini");
inline const QString kNoPicture = QStringLiteral("BezKartina.JPG");
inline const QString kNoGoods = QStringLiteral("BezArtikul.JPG");
// Where the windows were left: their places and the main window's size.
inline const QString kSettingsFile = QStringLiteral("Nastroiki.ini");
// Marks the folder as taken by a running copy of the program, or by the workbook tool while it
// replaces the data.
inline const QString kLockFile = QLatin1Char('.') + kDataFile + QStringLiteral(".lock");

bool ImaFail(const QString& path);
bool ImaPapka(const QString& path);
// Creates one folder level; throws store::Error when it cannot.
void NapraviPapka(const QString& path);

// folder + "/" + name
QString inFolder(const QString& folder, const QString& name);

} // namespace app
