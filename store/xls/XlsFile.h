#pragma once

#include <QByteArray>
#include <QString>

namespace store {

class Workbook;

namespace xls {

// Reads an Excel 97-2003 (BIFF8) workbook into `into`, a workbook made without sheets. Throws store::Error naming the file
// and the reason when the file is missing, not a workbook, or damaged; never yields an empty
// workbook for a file it could not read.
void readWorkbook(const QString& path, Workbook& into);
// The same for the bytes of a whole file; the message names no file.
void readWorkbookBytes(const QByteArray& bytes, Workbook& into);

// Writes the workbook as BIFF8 in an OLE2 file at path, atomically (write beside, then rename).
// Throws store::Error when the workbook does not fit the format (rows, columns, sheet names) or
// the file cannot be written; then nothing at path has changed.
void writeWorkbook(const Workbook& workbook, const QString& path);
// The bytes of the file writeWorkbook would write; throws store::Error as it does, naming no file.
QByteArray workbookBytes(const Workbook& workbook);

} // namespace xls
} // namespace store
