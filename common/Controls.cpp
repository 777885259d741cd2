#include "common/Controls.h"

#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace app {

namespace {

// The largest picture read: what the cameras of today take, 200 megapixels.
constexpr qint64 kLargestPictureMegapixels = 200;
constexpr qint64 kLargestPicturePixels = kLargestPictureMegapixels * 1000 * 1000;

// Qt refuses to decode a picture of more than 128 MB, a phone's photo of 48 megapixels among
// them; the limit is raised to what the largest picture takes at four bytes a pixel.
void allowLargestPictures()
{
    static const bool allowed = [] {
        QImageReader::setAllocationLimit(int(kLargestPicturePixels * 4 / (1024 * 1024)) + 1);
        return true;
    }();
    Q_UNUSED(allowed);
}

} // namespace

PictureRead readPicture(const QString& path, const QSize& shownAt)
{
    allowLargestPictures();
    const QString name = QFileInfo(path).fileName();
    QImageReader reader(path);
    const QSize size = reader.size();
    if (qint64(size.width()) * size.height() > kLargestPicturePixels)
        return {{}, QStringLiteral("Картината „%1“ е твърде голяма: %2 × %3 пиксела. Програмата показва картини "
                                   "до %4 мегапиксела.")
                        .arg(name)
                        .arg(size.width())
                        .arg(size.height())
                        .arg(kLargestPictureMegapixels)};
    const QSize covering = size.scaled(shownAt, Qt::KeepAspectRatioByExpanding);
    if (size.isValid() && !shownAt.isEmpty() && covering.width() < size.width()) reader.setScaledSize(covering);
    const QImage image = reader.read();
    if (image.isNull())
        return {{}, QStringLiteral("Файлът „%1“ не е картина, която програмата може да покаже. "
                                   "Изберете файл .jpg или .bmp.").arg(name)};
    return {QPixmap::fromImage(image), {}};
}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

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

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) emit clicked();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), 2, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

ImageBox::ImageBox(QWidget* parent) : ClickLabel({}, parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    const QPixmap shown = pixmap();
    if (shown.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect room = contentsRect();
    QRect target(QPoint(), shown.size().scaled(room.size(), Qt::KeepAspectRatio));
    target.moveCenter(room.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, shown);
}

void ImageBox::resizeEvent(QResizeEvent* event)
{
    ClickLabel::resizeEvent(event);
    // A window made larger shows the picture file again at the new size, not blown up.
    const QSize grown = event->size();
    if (!file_.isEmpty() && (grown.width() > readFor_.width() || grown.height() > readFor_.height())) setPicture(file_);
}

bool ImageBox::setPicture(const QString& path)
{
    readFor_ = size();
    const PictureRead read = readPicture(path, readFor_);
    setPicture(read.picture, read.picture.isNull() ? QString() : path);
    return !read.picture.isNull();
}

void ImageBox::setPicture(const QPixmap& picture, const QString& path)
{
    setPixmap(picture);
    file_ = path;
}

void ImageBox::copyPictureFrom(const ImageBox& other)
{
    if (other.file_.isEmpty() || !setPicture(other.file_)) setPicture(other.pixmap(), other.file_);
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
