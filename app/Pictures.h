#pragma once

#include <QPixmap>
#include <QSize>

// The small pictures the main window keeps with itself, drawn at the size of their control.
namespace app::pictures {

QPixmap arrow(QSize size, bool pointsLeft);
QPixmap closeCross(QSize size);
QPixmap addToBasket(QSize size);
QPixmap undoLast(QSize size);
QPixmap welcome(QSize size);

} // namespace app::pictures
