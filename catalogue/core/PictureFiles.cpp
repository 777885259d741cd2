#include "catalogue/core/PictureFiles.h"

#include "store/PicturePaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace catalogue {

namespace {

constexpr int kMostSameNames = 10000;

// "мече.jpg", 3 -> "мече (3).jpg"
QString numberedName(const QString& name, int n)
{
    if (n == 1) return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    return QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
}

QString copyProblem(const QString& chosenFile, const QString& reason)
{
    return QStringLiteral("Картината „%1“ не може да бъде копирана в папката на артикула: %2\n\n"
                          "Стоката е записана, а картината ѝ е останала каквато беше.")
        .arg(QDir::toNativeSeparators(chosenFile), reason);
}

} // namespace

bool sameContent(const QString& a, const QString& b)
{
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size()) return false;
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly)) return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!first.atEnd())
        if (first.read(kChunk) != second.read(kChunk)) return false;
    return true;
}

StoredPicture storePicture(const QString& chosenFile, const QString& articleFolder)
{
    const QFileInfo chosen(chosenFile);
    if (!chosen.isFile()) return {{}, copyProblem(chosenFile, QStringLiteral("файлът не съществува."))};
    if (!QDir().mkpath(articleFolder))
        return {{}, copyProblem(chosenFile, QStringLiteral("папката „%1“ не може да бъде създадена.")
                                                .arg(QDir::toNativeSeparators(articleFolder)))};
    const QString folder = QFileInfo(articleFolder).canonicalFilePath();
    if (chosen.canonicalPath() == folder && store::isBareFileName(chosen.fileName())) return {chosen.fileName(), {}};

    const QString wanted = store::bareFileName(chosen.fileName());
    for (int n = 1; n <= kMostSameNames; ++n) {
        const QString name = numberedName(wanted, n);
        const QString target = folder + QLatin1Char('/') + name;
        if (!QFileInfo::exists(target)) {
            QFile source(chosenFile);
            if (!source.copy(target)) return {{}, copyProblem(chosenFile, source.errorString())};
            return {name, {}};
        }
        if (sameContent(chosenFile, target)) return {name, {}};
    }
    return {{}, copyProblem(chosenFile, QStringLiteral("в папката има твърде много картини с това име."))};
}

} // namespace catalogue
