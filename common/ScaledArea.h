#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <map>

namespace app {

// The main window's area, drawn for one size and shown at any larger one: each control keeps the
// place and font it was given ("as designed") and is shown at those times the area's scale, the
// whole centred. Code that places a control later gives the designed place, as ever; the area
// scales it.
class ScaledArea : public QWidget {
    Q_OBJECT
public:
    ScaledArea(QSize designed, QWidget* parent = nullptr);

    // How many times larger than designed the controls are shown.
    double scale() const { return scale_; }
    // Where a control was placed, as designed; an empty rectangle for one the area does not scale.
    QRect designedPlace(const QWidget* control) const;

    QSize sizeHint() const override { return designed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    struct Control {
        QPointer<QWidget> widget;
        QRect designedPlace;
        QFont designedFont;
        QRect shownPlace;
        QFont shownFont;
    };

    void follow(QWidget* widget);
    bool adoptCodesChanges(Control& control);
    void placeAll();
    void place(Control& control);
    QRect scaled(const QRect& designed) const;
    QFont scaled(const QFont& designed) const;

    QSize designed_;
    double scale_ = 1.0;
    QPoint origin_;
    std::map<QObject*, Control> controls_;
};

} // namespace app
