#include "common/ProgramFolder.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"

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
        throw store::Error(store::xls::XlsError::FolderNotCreated, {QDir::toNativeSeparators(path)});
}

QString inFolder(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

} // namespace app
