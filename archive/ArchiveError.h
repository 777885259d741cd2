#pragma once

#include <QString>
#include <QStringList>

namespace archive {

// Why a copy of the data workbook is not taken or not put back. Each takes the arguments named
// after it; a path is written as the system writes it.
enum class ArchiveError {
    CopyNotRead,          // copy, why
    FolderNotCreated,     // folder
    CopyNotWritten,       // copy, why
    CopyDamaged,          // when it was taken
};

QString errorMessage(ArchiveError kind, const QStringList& arguments);

} // namespace archive
