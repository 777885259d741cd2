#include "store/PicturePaths.h"

#include <QFileInfo>

namespace store {

namespace {

// Whether path, once its links are followed, lies inside folder (itself with its links followed);
// a path that does not exist yet is judged by where its folder lies.
bool liesIn(const QString& path, const QString& folder)
{
    const QFileInfo info(path);
    const QString real = info.exists() ? info.canonicalFilePath()
                                       : QFileInfo(info.absolutePath()).canonicalFilePath() + QLatin1Char('/') + info.fileName();
    const QString inside = QFileInfo(folder).canonicalFilePath();
    return !inside.isEmpty() && real.startsWith(inside + QLatin1Char('/'));
}

} // namespace

QString bareFileName(QString name)
{
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32)
            c = QLatin1Char('_');
    return name;
}

bool isBareFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    return bareFileName(name) == name;
}

std::optional<QString> articlePictureFolder(const QString& picturesRoot, const QString& article)
{
    if (!isBareFileName(article)) return std::nullopt;
    const QString folder = picturesRoot + QLatin1Char('/') + article;
    if (QFileInfo::exists(picturesRoot) && !liesIn(folder, picturesRoot)) return std::nullopt;
    return folder;
}

std::optional<QString> articlePicture(const QString& picturesRoot, const QString& article, const QString& fileName)
{
    const std::optional<QString> folder = articlePictureFolder(picturesRoot, article);
    if (!folder || !isBareFileName(fileName)) return std::nullopt;
    const QString path = *folder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(*folder) && !liesIn(path, *folder)) return std::nullopt;
    return path;
}

} // namespace store
