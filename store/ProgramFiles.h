#pragma once

#include <QString>

namespace store {

// The files and folders of the program's folder. The program, the archive and the workbook tool
// all name them from here: the tool must take the very lock a running program holds.
inline const QString kDataFile = QStringLiteral("Danni.xls");
inline const QString kInvoiceFile = QStringLiteral("Faktura.xls");
inline const QString kHelpFile = QStringLiteral("Help.doc");
inline const QString kPictureFolder = QStringLiteral("Kartini");
inline const QString kNoPicture = QStringLiteral("BezKartina.JPG");   // in kPictureFolder
inline const QString kNoGoods = QStringLiteral("BezArtikul.JPG");     // in kPictureFolder
// The copies of the data workbook, beside it.
inline const QString kArchiveFolder = QStringLiteral("Arhiv");
// The ledgers' older years, moved out of the data workbook when a ledger fills: one workbook a
// year, Dnevnici/Danni-2025.xls.
inline const QString kLedgerFolder = QStringLiteral("Dnevnici");
inline QString yearWorkbookName(int year) { return QStringLiteral("Danni-%1.xls").arg(year); }
// Every invoice and credit note issued, as a PDF: Fakturi/2026/0000000012.pdf.
inline const QString kInvoiceFolder = QStringLiteral("Fakturi");
// In kInvoiceFolder: the register of the documents issued and of the recipients typed.
inline const QString kInvoiceRegisterFile = QStringLiteral("Registar.xls");
// Where the windows were left: their places and the main window's size.
inline const QString kSettingsFile = QStringLiteral("Nastroiki.ini");
// Marks the folder as taken by a running copy of the program, or by the workbook tool while it
// replaces the data.
inline const QString kLockFile = QLatin1Char('.') + kDataFile + QStringLiteral(".lock");

} // namespace store
