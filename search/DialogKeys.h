#pragma once

class QKeyEvent;
class QPushButton;
class QWidget;

namespace search {

// Enter and Escape in the search and sort windows, which are not dialogs to the toolkit: Enter
// presses the button that has the focus, anywhere else `defaultButton` when it is shown; Escape
// closes the window. False for any other key.
bool dialogKey(QWidget& window, const QKeyEvent& key, QPushButton* defaultButton);

} // namespace search
