#include "common/ScaledArea.h"

#include <QChildEvent>
#include <QEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace app {

ScaledArea::ScaledArea(QSize designed, QWidget* parent) : QWidget(parent), designed_(designed)
{
    setMinimumSize(designed);
}

QRect ScaledArea::designedPlace(const QWidget* control) const
{
    const auto found = controls_.find(const_cast<QWidget*>(control));
    return found == controls_.end() ? QRect() : found->second.designedPlace;
}

void ScaledArea::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType()) follow(static_cast<QWidget*>(event->child()));
    if (event->removed()) controls_.erase(event->child());
}

void ScaledArea::follow(QWidget* widget)
{
    if (controls_.count(widget)) return;
    controls_[widget] = Control{widget, widget->geometry(), widget->font(), widget->geometry(), widget->font()};
    widget->installEventFilter(this);
}

// A place or a font that differs from the one the area last gave is the code's own: the
// designed one from now on.
bool ScaledArea::adoptCodesChanges(Control& control)
{
    bool changed = false;
    if (control.widget->geometry() != control.shownPlace) {
        control.designedPlace = control.widget->geometry();
        changed = true;
    }
    if (control.widget->font() != control.shownFont) {
        control.designedFont = control.widget->font();
        changed = true;
    }
    return changed;
}

bool ScaledArea::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = controls_.find(watched);
    if (found == controls_.end()) return false;
    Control& control = found->second;
    if (!control.widget || control.widget->isWindow()) return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::FontChange:
        if (adoptCodesChanges(control)) place(control);
        break;
    default:
        break;
    }
    return false;
}

void ScaledArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize room = event->size();
    scale_ = std::max(1.0, std::min(double(room.width()) / designed_.width(), double(room.height()) / designed_.height()));
    const QSize used(int(std::lround(designed_.width() * scale_)), int(std::lround(designed_.height() * scale_)));
    origin_ = QPoint((room.width() - used.width()) / 2, (room.height() - used.height()) / 2);
    placeAll();
}

void ScaledArea::placeAll()
{
    for (auto& [object, control] : controls_) {
        if (!control.widget || control.widget->isWindow()) continue;
        adoptCodesChanges(control);
        place(control);
    }
}

void ScaledArea::place(Control& control)
{
    control.shownPlace = scaled(control.designedPlace);
    // What lies left of the area as drawn stays out of sight, however the area is centred.
    if (control.designedPlace.right() < 0) control.shownPlace.moveRight(-1);
    control.shownFont = scaled(control.designedFont);
    if (control.widget->font() != control.shownFont) control.widget->setFont(control.shownFont);
    if (control.widget->geometry() != control.shownPlace) control.widget->setGeometry(control.shownPlace);
}

// Edges are scaled, not sizes, so that controls that touch as designed touch as shown.
QRect ScaledArea::scaled(const QRect& designed) const
{
    const auto at = [this](int designedAt) { return int(std::lround(designedAt * scale_)); };
    return QRect(QPoint(at(designed.left()), at(designed.top())) + origin_,
                 QPoint(at(designed.left() + designed.width()) - 1, at(designed.top() + designed.height()) - 1) + origin_);
}

QFont ScaledArea::scaled(const QFont& designed) const
{
    QFont font = designed;
    if (designed.pointSizeF() > 0)
        font.setPointSizeF(designed.pointSizeF() * scale_);
    else if (designed.pixelSize() > 0)
        font.setPixelSize(int(std::lround(designed.pixelSize() * scale_)));
    return font;
}

} // namespace app
