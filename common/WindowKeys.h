#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

namespace app {

// The keys of a window as a dialog has them, for the shop's windows that are not dialogs: Enter
// presses the default button of the part of the window that holds the focus (a focused button
// presses itself), Escape closes the window. Keys the focused control uses itself stay its own.
class WindowKeys : public QObject {
    Q_OBJECT
public:
    explicit WindowKeys(QWidget* window);

    // Enter presses button while the focus is in area, or anywhere in the window when area is
    // null. The default of the part with the focus is drawn as the default button.
    void enterPresses(QPushButton* button, QWidget* area = nullptr);
    // Enter presses the button `chosen` names at that moment: for a window whose default changes
    // with what it shows, and which draws its default itself.
    void enterPresses(std::function<QPushButton*()> chosen);
    // key presses button as well, and the button's tool tip tells so.
    void keyPresses(QPushButton* button, const QKeySequence& key, const QString& toolTip);
    // Enter on a focused button presses that button, without a default for the rest.
    void focusedButtonsTakeEnter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* defaultButton() const;
    void showDefault();

    struct Default {
        QPointer<QPushButton> button;
        QPointer<QWidget> area;
    };
    QWidget* window_;
    std::vector<Default> defaults_;
    std::function<QPushButton*()> chosen_;
};

// A secondary window with the keys of a dialog: Escape closes it as its close box does, Enter on
// a button presses that button, and Enter anywhere else presses defaultButton, when there is one.
void useDialogKeys(QWidget* window, QPushButton* defaultButton = nullptr);

} // namespace app
