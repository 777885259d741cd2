#include "common/WindowKeys.h"

#include "store/window/KeyTip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <utility>

namespace app {

WindowKeys::WindowKeys(QWidget* window) : QObject(window), window_(window)
{
    window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &WindowKeys::showDefault);
}

// Enter on any focused button of the window presses that button.
void WindowKeys::focusedButtonsTakeEnter()
{
    for (QPushButton* b : window_->findChildren<QPushButton*>()) b->setAutoDefault(true);
}

void WindowKeys::enterPresses(QPushButton* button, QWidget* area)
{
    defaults_.push_back({button, area});
    focusedButtonsTakeEnter();
    showDefault();
}

void WindowKeys::enterPresses(std::function<QPushButton*()> chosen)
{
    chosen_ = std::move(chosen);
    focusedButtonsTakeEnter();
}

void WindowKeys::keyPresses(QPushButton* button, const QKeySequence& key, const QString& toolTip)
{
    auto* shortcut = new QShortcut(key, window_);
    connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible()) button->click();
    });
    button->setToolTip(store::window::withKey(toolTip, key));
}

QPushButton* WindowKeys::defaultButton() const
{
    if (chosen_) return chosen_();
    const QWidget* focus = QApplication::focusWidget();
    for (const Default& d : defaults_)
        if (d.area && focus && d.area->isAncestorOf(focus)) return d.button;
    for (const Default& d : defaults_)
        if (!d.area) return d.button;
    return defaults_.empty() ? nullptr : defaults_.front().button.data();
}

void WindowKeys::showDefault()
{
    QPushButton* current = defaultButton();
    for (const Default& d : defaults_)
        if (d.button) d.button->setDefault(d.button == current);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event)
{
    // Keys reach the window when the control with the focus leaves them.
    if (watched != window_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->matches(QKeySequence::Cancel)) {
        window_->close();
        return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        QPushButton* button = defaultButton();
        if (button && button->isEnabled() && button->isVisible()) button->click();
        return true;
    }
    return false;
}

void useDialogKeys(QWidget* window, QPushButton* defaultButton)
{
    auto* keys = new WindowKeys(window);
    if (defaultButton)
        keys->enterPresses(defaultButton);
    else
        keys->focusedButtonsTakeEnter();
}


} // namespace app
