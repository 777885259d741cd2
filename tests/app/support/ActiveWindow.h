#pragma once

class QWidget;

// The window on screen and active, so that focus moves between its controls and its keys act.
void activate(QWidget* window);
