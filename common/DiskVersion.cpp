#include "common/DiskVersion.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace app {

DiskVersion diskVersionOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile()) return {};
    DiskVersion version{info.size(), info.lastModified(), 0};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return version;
    if (const uchar* bytes = file.map(0, file.size())) {
        version.hash = qHashBits(bytes, size_t(file.size()));
        file.unmap(const_cast<uchar*>(bytes));
    } else {
        version.hash = qHash(file.readAll());
    }
    return version;
}

} // namespace app
