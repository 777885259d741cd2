#pragma once

class QPushButton;
class QWidget;

namespace app {

// A secondary window answers the keys of a dialog: Escape closes it as its close box does, Enter
// on a button presses that button, and Enter anywhere else presses defaultButton (when there is
// one).
void useDialogKeys(QWidget* window, QPushButton* defaultButton = nullptr);

} // namespace app
