#pragma once

#include "DemoCatalogue.h"

#include <QImage>
#include <QString>

namespace demo {

inline constexpr int kPictureSize = 300;

// The goods' own picture: its drawing in its colour on a soft background.
QImage drawGoodsPicture(const Picture& picture);
// "BezKartina.JPG": shown for goods without a picture.
QImage drawNoPicture();
// "BezArtikul.JPG": shown in the first showcase slot of an article without goods.
QImage drawNoGoods();

// Writes the image as a JPEG file; throws store::Error when it cannot.
void savePicture(const QImage& image, const QString& path);

} // namespace demo
