#pragma once

#include <QPixmap>
#include <QSize>

namespace search {

// The picture of the "Следващ" buttons: an arrow pointing on.
QPixmap nextPicture(QSize size);

} // namespace search
