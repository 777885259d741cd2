#pragma once

#include <Qt>

class QWidget;

// The window on screen and active, so that focus moves between its controls and its keys act.
void activate(QWidget* window);

// A key pressed where the focus is, as the shop keeper presses it.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Alt and a Cyrillic letter where the focus is: the underlined letter of a caption. A button so
// pressed shows itself down a moment before it acts; this waits until it has.
void pressAlt(char16_t letter);
