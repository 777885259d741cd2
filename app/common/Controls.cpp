#include "app/common/Controls.h"

#include <QMouseEvent>

namespace app {

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

ImageBox::ImageBox(QWidget* parent) : ClickLabel({}, parent)
{
    setScaledContents(true);
}

bool ImageBox::setPicture(const QString& path)
{
    QPixmap picture;
    if (!picture.load(path)) {
        setPicture(QPixmap());
        return false;
    }
    setPicture(picture, path);
    return true;
}

void ImageBox::setPicture(const QPixmap& picture, const QString& path)
{
    setPixmap(picture);
    file_ = path;
}

void ImageBox::copyPictureFrom(const ImageBox& other)
{
    setPicture(other.pixmap(), other.file_);
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
}

void TextBox::setText(const QString& text)
{
    text_ = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

} // namespace app
