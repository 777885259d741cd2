#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace app {

// A file as it lies on disk, to tell whether another program has written it since the program
// last read or wrote it: its size, its time of last change and a hash of its bytes.
struct DiskVersion {
    qint64 size = -1;   // -1: there is no such file
    QDateTime modified;
    size_t hash = 0;
    bool operator==(const DiskVersion&) const = default;
};

DiskVersion diskVersionOf(const QString& path);

} // namespace app
