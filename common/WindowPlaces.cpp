#include "common/WindowPlaces.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace app {

namespace {

const char* const kKey = "placeKey";
const char* const kPlaced = "placedOnce";

QString posKey(const QString& key) { return key + QStringLiteral("/pos"); }
QString sizeKey(const QString& key) { return key + QStringLiteral("/size"); }
QString maximisedKey(const QString& key) { return key + QStringLiteral("/maximised"); }
const QString kMainKey = QStringLiteral("Form1");

// A place kept on another set of screens may now be off every screen.
bool onAScreen(const QRect& frame)
{
    const QScreen* screen = QGuiApplication::screenAt(frame.topLeft() + QPoint(40, 10));
    return screen && screen->availableGeometry().intersects(frame);
}

} // namespace

WindowPlaces::WindowPlaces(const QString& iniFile) : settings_(iniFile, QSettings::IniFormat) {}

void WindowPlaces::followMain(QWidget* mainWindow)
{
    main_ = mainWindow;
    mainWindow->setProperty(kKey, kMainKey);
    mainWindow->installEventFilter(this);
    restoreMain();
}

void WindowPlaces::restoreMain()
{
    const QSize size = settings_.value(sizeKey(kMainKey)).toSize();
    if (size.isValid()) main_->resize(size.expandedTo(main_->minimumSize()));
    if (settings_.value(maximisedKey(kMainKey)).toBool()) main_->setWindowState(main_->windowState() | Qt::WindowMaximized);
}

void WindowPlaces::follow(QWidget* window, const QString& key)
{
    window->setProperty(kKey, key);
    window->installEventFilter(this);
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QWidget*>(watched);
    if (window && window->isWindow()) {
        if (event->type() == QEvent::Show && window != main_) place(window);
        if (event->type() == QEvent::Hide) keep(window);
    }
    return false;
}

void WindowPlaces::place(QWidget* window)
{
    if (window->property(kPlaced).toBool()) return;
    window->setProperty(kPlaced, true);
    const QString key = window->property(kKey).toString();
    const QPoint kept = settings_.value(posKey(key)).toPoint();
    if (settings_.contains(posKey(key)) && onAScreen(QRect(kept, window->frameGeometry().size()))) {
        window->move(kept);
        return;
    }
    QRect frame = window->frameGeometry();
    if (main_ && main_->isVisible() && main_ != window)
        frame.moveCenter(main_->frameGeometry().center());
    else if (const QScreen* screen = window->screen())
        frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void WindowPlaces::keep(QWidget* window)
{
    const QString key = window->property(kKey).toString();
    if (window == main_) {
        settings_.setValue(maximisedKey(key), window->isMaximized());
        if (!window->isMaximized()) settings_.setValue(sizeKey(key), window->size());
    } else {
        settings_.setValue(posKey(key), window->pos());
    }
    settings_.sync();
}

} // namespace app
