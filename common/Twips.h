#pragma once

#include <QRect>
#include <QtGlobal>

namespace app {

// Positions of the windows are kept in twips: 15 twips are one pixel.
constexpr int px(int twips)
{
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace app
