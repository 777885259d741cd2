#pragma once

// The OLE2 compound file around the Workbook stream, through libgsf.

#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace store::xls {

// The BIFF8 "Workbook" stream of the file at path. Throws store::Error with the reason alone (no
// file name) when the file is missing, is no compound file, holds only an older "Book" stream or
// cannot be read whole.
QByteArray readWorkbookStream(const QString& path);

// Writes the parts, one after the other and padded with zeros to at least minimumSize bytes, as
// the stream streamName of a new compound file that replaces path only once it is complete.
// Throws store::Error with the reason alone; then path is as it was and no temporary file is left.
void writeStreamFile(const QString& path, const char* streamName, std::initializer_list<const QByteArray*> parts,
                     qsizetype minimumSize);

inline void writeWorkbookStream(const QString& path, std::initializer_list<const QByteArray*> parts,
                                qsizetype minimumSize)
{
    writeStreamFile(path, "Workbook", parts, minimumSize);
}

} // namespace store::xls
