#pragma once

#include "reports/ChartPainter.h"

#include <QWidget>

namespace reports {

// A report window's chart, named and placed; it shows the picture it was last given.
class ChartView : public QWidget {
    Q_OBJECT
public:
    ChartView(QWidget* parent, const QString& name, const QRect& geometry, ChartPicture picture);

    void setPicture(ChartPicture picture);
    const ChartPicture& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartPicture picture_;
};

} // namespace reports
