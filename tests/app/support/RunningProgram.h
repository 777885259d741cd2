#pragma once

#include "app/Form1.h"
#include "app/Form10.h"
#include "app/Program.h"
#include "QtPrinters.h"

#include <QSignalSpy>

// The program started on a folder as main starts it, ready to be driven by clicks.
class RunningProgram {
public:
    explicit RunningProgram(const QString& folder);
    ~RunningProgram();

    bool started() const { return started_; }
    app::Form10& login() const { return *program.loginWindow(); }
    // Presses "Потвърди вход" with what the login window holds and gives the main window.
    app::Form1& logIn();
    bool ended() const { return finished.count() > 0; }

    app::Program program;
    QSignalSpy finished;

private:
    bool started_;
};
