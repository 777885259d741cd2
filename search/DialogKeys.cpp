#include "search/DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace search {

bool dialogKey(QWidget& window, const QKeyEvent& key, QPushButton* defaultButton)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* focused = qobject_cast<QPushButton*>(window.focusWidget()))
            focused->click();
        else if (defaultButton->isVisible())
            defaultButton->click();
        return true;
    case Qt::Key_Escape: window.close(); return true;
    default: return false;
    }
}

} // namespace search
