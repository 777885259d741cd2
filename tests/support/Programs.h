#pragma once

// Running other programs from the tests: the workbook tool, and this machine's programs that
// check our files (Python with xlrd and olefile, LibreOffice, Gnumeric, Poppler's PDF tools).
// The Windows build's tests run under Wine, where this machine's programs are Linux programs:
// they are started through drive Z: and handed Unix paths.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

struct RunResult {
    bool finished = false;   // started and ended within the time given
    int exitCode = -1;
    QByteArray out;          // line ends as "\n", whatever the platform wrote
    QByteArray err;
    QString failure;         // why it did not start or finish
    QString describe(const QString& what) const;
};

// Runs a program of the build (a Windows program under Wine).
RunResult runProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Runs the workbook tool of the build.
RunResult runWorkbookTool(const QStringList& arguments,
                          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Runs a program of this machine, named by its Unix path; an argument that is a path of ours
// ("C:/…", "Z:\…") reaches it as the machine's path.
RunResult runMachineProgram(const QString& unixPath, const QStringList& arguments, int timeoutMs);
bool machineHas(const QString& unixPath);

// A path of ours as this machine's programs see it: itself, but for Wine's drive letters.
QString machinePath(const QString& path);

} // namespace testsupport
