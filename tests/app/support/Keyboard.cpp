#include "Keyboard.h"

#include <QAbstractButton>
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

void press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void pressAlt(char16_t letter)
{
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(QChar(letter).toUpper().unicode()),
                        QString(QChar(letter)), Qt::AltModifier);
    if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget())) {
        EXPECT_TRUE(QTest::qWaitFor([button] { return !button->isDown(); }));
    }
}
