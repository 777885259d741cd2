#pragma once

#include <QString>
#include <optional>

// Where the picture files of goods lie: each article keeps them in its own folder under Kartini,
// and column J of a goods record names one of them by its bare file name. Every path built from
// an article sheet's name or from column J goes through here, so none leads out of Kartini.
namespace store {

// A name that stays inside the folder it is joined to: not empty, not "." or "..", no folder
// separator, drive colon or control character.
bool isBareFileName(const QString& name);

// The name with every character a bare file name may not hold made "_".
QString bareFileName(QString name);

// The folder of an article's pictures, picturesRoot/<article>; nothing when the article's name
// would lead anywhere else (".", "..", a separator, a drive) or the folder is a link out of
// picturesRoot.
std::optional<QString> articlePictureFolder(const QString& picturesRoot, const QString& article);

// A picture of an article: a file lying directly in its folder; nothing when the name would lead
// out of it or the file is a link to somewhere outside the folder.
std::optional<QString> articlePicture(const QString& picturesRoot, const QString& article, const QString& fileName);

} // namespace store
