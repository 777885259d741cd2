#include "common/ProgramFolder.h"

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

} // namespace app
