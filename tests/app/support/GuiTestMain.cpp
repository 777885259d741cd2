// Runs window tests: one application for all of them, offscreen unless a display is asked for,
// Bulgarian number settings, and no message box that could wait for a person.
#include "MessageRecorder.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    ::testing::InitGoogleTest(&argc, argv);
    UnexpectedMessages guard;
    app::installMessageService(&guard);
    const int result = RUN_ALL_TESTS();
    app::installMessageService(nullptr);
    return result;
}
