#include "ActiveWindow.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

void activate(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window)) ADD_FAILURE() << "the window did not become active";
}
