#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QString>

namespace app {

// Gives a control its name and puts it where it belongs.
template <class W>
W* placed(W* widget, const QString& objectName, const QRect& geometry)
{
    widget->setObjectName(objectName);
    widget->setGeometry(geometry);
    return widget;
}

// A label that reports a click: captions used as links and pictures used as buttons. It takes
// the keyboard focus like a button, shows it with a frame, and Space or Enter press it. A double
// click is one click: the second press of it does nothing.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = {}, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

// A picture file read to be shown at `shownAt`: a larger picture is scaled down as it is read,
// keeping its proportions and covering `shownAt` in both directions, so that a camera's photo
// costs no more memory than the control that shows it. `problem` tells the shop keeper why
// nothing was read.
struct PictureRead {
    QPixmap picture;
    QString problem;
};
PictureRead readPicture(const QString& path, const QSize& shownAt);

// A picture fitted into its frame and centred there, its proportions kept. It is no button:
// it takes no keyboard focus.
class ImageBox : public ClickLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    // Shows the picture file; false (and nothing shown) when it cannot be read.
    bool setPicture(const QString& path);
    void setPicture(const QPixmap& picture, const QString& path = {});
    // Takes over what another picture box shows, read again at this box's size.
    void copyPictureFrom(const ImageBox& other);
    // The file shown, empty when none.
    const QString& pictureFile() const { return file_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString file_;
    QSize readFor_;   // the size the file was last read for
};

// A text box that keeps its text as given, line breaks "\r\n" included, and shows it with
// ordinary line breaks.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    void setText(const QString& text);
    const QString& text() const { return text_; }

private:
    QString text_;
};

} // namespace app
