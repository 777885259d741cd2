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

// A label that reports a click: captions used as links and pictures used as buttons.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = {}, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// A picture stretched to fill its frame.
class ImageBox : public ClickLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    // Shows the picture file; false (and nothing shown) when it cannot be read.
    bool setPicture(const QString& path);
    void setPicture(const QPixmap& picture, const QString& path = {});
    // Takes over what another picture box shows.
    void copyPictureFrom(const ImageBox& other);
    // The file shown, empty when none.
    const QString& pictureFile() const { return file_; }

private:
    QString file_;
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
