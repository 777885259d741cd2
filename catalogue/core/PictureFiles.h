#pragma once

#include <QString>

// Storing the picture files of goods in their article's folder (store/PicturePaths.h says where).
namespace catalogue {

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
