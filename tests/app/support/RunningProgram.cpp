#include "RunningProgram.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

RunningProgram::RunningProgram(const QString& folder)
    : program(folder), finished(&program, &app::Program::finished), started_(program.start())
{
}

RunningProgram::~RunningProgram()
{
    // Windows that delete themselves when closed go now, not in a later test.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->testAttribute(Qt::WA_DeleteOnClose)) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

app::Form1& RunningProgram::logIn()
{
    QTest::mouseClick(login().Command1, Qt::LeftButton);
    app::Form1* main = program.mainWindow();
    if (!main) qFatal("the main window did not open");
    return *main;
}
