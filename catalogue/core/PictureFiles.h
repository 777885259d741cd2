#pragma once

#include <QString>
#include <optional>

// The picture files of goods: each article keeps them in its own folder under Kartini, and column
// J of a goods record names one of them by its bare file name.
namespace catalogue {

// A name that stays inside the folder it is joined to: not empty, not "." or "..", no folder
// separator, drive colon or control character.
bool isBareFileName(const QString& name);

// The folder of an article's pictures, picturesRoot/<article>; nothing when the article's name
// would lead anywhere else (".", "..", a separator, a drive) or the folder is a link out of
// picturesRoot. Every path built from an article sheet's name goes through here.
std::optional<QString> articlePictureFolder(const QString& picturesRoot, const QString& article);

// A picture of an article: a file lying directly in its folder; nothing when the name would lead
// out of it or the file is a link to somewhere outside the folder. Every path built from column J
// goes through here.
std::optional<QString> articlePicture(const QString& picturesRoot, const QString& article, const QString& fileName);

struct StoredPicture {
    QString name;      // the file name to write into column J; empty when nothing was stored
    QString problem;   // why the picture could not be stored, for the shop keeper
};

// Puts the chosen picture file into the article's folder and gives the name it goes by there. A
// file already in that folder is used where it lies. A file of the same name and the same content
// is shared; one of the same name and other content is never replaced: the new picture takes the
// first free name "name (2).ext", "name (3).ext", ...
StoredPicture storePicture(const QString& chosenFile, const QString& articleFolder);

// True when the two files hold the same bytes.
bool sameContent(const QString& a, const QString& b);

} // namespace catalogue
