#include "app/common/ProgramFolder.h"

#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>

namespace app {

bool ImaFail(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool ImaPapka(const QString& path)
{
    return QFileInfo(path).isDir();
}

void NapraviPapka(const QString& path)
{
    if (!QDir().mkdir(path))
        throw store::Error(QStringLiteral("Папката „%1“ не може да бъде създадена.").arg(QDir::toNativeSeparators(path)));
}

QString inFolder(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32) return false;
    return true;
}

} // namespace app
