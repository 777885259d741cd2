#include "archive/ArchiveError.h"

namespace archive {

QString errorMessage(ArchiveError kind, const QStringList& a)
{
    switch (kind) {
    case ArchiveError::CopyNotRead: return QStringLiteral("Копието „%1“ не може да бъде прочетено: %2").arg(a.value(0), a.value(1));
    case ArchiveError::FolderNotCreated:
        return QStringLiteral("Папката за архивни копия „%1“ не може да бъде създадена.").arg(a.value(0));
    case ArchiveError::CopyNotWritten:
        return QStringLiteral("Архивното копие „%1“ не може да бъде записано: %2").arg(a.value(0), a.value(1));
    case ArchiveError::CopyDamaged:
        return QStringLiteral("Копието от %1 е повредено и не може да бъде възстановено.").arg(a.value(0));
    }
    return {};
}

} // namespace archive
