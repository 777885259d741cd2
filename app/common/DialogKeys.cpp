#include "app/common/DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace app {

namespace {

// Sees the keys the window's controls leave unused, as they travel up to the window.
class DialogKeys : public QObject {
public:
    DialogKeys(QWidget* window, QPushButton* defaultButton) : QObject(window), window_(window), default_(defaultButton)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers != Qt::NoModifier) return false;
        if (key->key() == Qt::Key_Escape) {
            window_->close();
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && default_ && default_->isVisible() && default_->isEnabled()) {
            default_->click();
            return true;
        }
        return false;
    }

private:
    QWidget* window_;
    QPushButton* default_;
};

} // namespace

void useDialogKeys(QWidget* window, QPushButton* defaultButton)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) button->setAutoDefault(true);
    if (defaultButton) defaultButton->setDefault(true);
    new DialogKeys(window, defaultButton);
}

} // namespace app
