#include "tests/support/Programs.h"

#include "tests/support/FileBytes.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace testsupport {

namespace {

#ifdef _WIN32
// Wine's own answer to where a Windows path lies on this machine; null on Windows itself.
using UnixFileName = char*(CDECL*)(const wchar_t*);
UnixFileName wineUnixFileName()
{
    static const auto function =
        reinterpret_cast<UnixFileName>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    return function;
}

// Wine starts a Linux program apart and neither waits for it nor hands back what it wrote, so the
// program runs in a shell that leaves its output and exit status in files, and we wait for those.
RunResult runThroughWine(const QString& unixPath, const QStringList& arguments, int timeoutMs)
{
    RunResult result;
    QTemporaryDir exchange;
    const QString script = QStringLiteral("\"$@\" >\"$0/out\" 2>\"$0/err\"; echo $? >\"$0/status.new\"; "
                                          "mv \"$0/status.new\" \"$0/status\"");
    const QStringList shell = QStringList{QStringLiteral("-c"), script, machinePath(exchange.path()), unixPath} + arguments;
    if (!QProcess::startDetached(QStringLiteral("Z:/bin/sh"), shell)) {
        result.failure = QStringLiteral("Wine did not start /bin/sh");
        return result;
    }
    const QString status = exchange.filePath(QStringLiteral("status"));
    for (QDeadlineTimer deadline(timeoutMs); !QFileInfo::exists(status); QThread::msleep(20)) {
        if (!deadline.hasExpired()) continue;
        result.failure = QStringLiteral("no exit status after %1 ms").arg(timeoutMs);
        return result;
    }
    result.finished = true;
    result.exitCode = fileBytes(status).trimmed().toInt();
    result.out = fileBytes(exchange.filePath(QStringLiteral("out")));
    result.err = fileBytes(exchange.filePath(QStringLiteral("err")));
    return result;
}
#endif

QString machineProgram(const QString& unixPath)
{
#ifdef _WIN32
    return QStringLiteral("Z:") + unixPath;
#else
    return unixPath;
#endif
}

bool namesAPath(const QString& argument)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    return drive.match(argument).hasMatch();
}

} // namespace

QString RunResult::describe(const QString& what) const
{
    if (!finished) return what + QStringLiteral(" did not start or did not finish in time: ") + failure;
    return what + QStringLiteral(" exited with %1: %2 %3").arg(exitCode).arg(QString::fromUtf8(err), QString::fromUtf8(out));
}

RunResult runProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                     const QProcessEnvironment& environment)
{
    RunResult result;
    QProcess process;
    process.setProcessEnvironment(environment);
    // Text mode: a Windows program's "\r\n" is read as "\n".
    process.start(program, arguments, QIODevice::ReadWrite | QIODevice::Text);
    if (!process.waitForStarted(10000) || !process.waitForFinished(timeoutMs)) {
        result.failure = process.errorString();
        process.kill();
        process.waitForFinished(5000);
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    if (!result.finished) result.failure = process.errorString();
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

RunResult runWorkbookTool(const QStringList& arguments, const QProcessEnvironment& environment)
{
    return runProgram(QStringLiteral(TERVIN_WORKBOOK_TOOL), arguments, 120000, environment);
}

QString machinePath(const QString& path)
{
#ifdef _WIN32
    if (const UnixFileName toUnix = wineUnixFileName(); toUnix && namesAPath(path)) {
        const std::wstring wide = path.toStdWString();
        char* unixPath = toUnix(wide.c_str());
        if (!unixPath) return path;
        const QString result = QString::fromUtf8(unixPath);
        HeapFree(GetProcessHeap(), 0, unixPath);
        return result;
    }
#endif
    return path;
}

bool machineHas(const QString& unixPath)
{
    return QFileInfo::exists(machineProgram(unixPath));
}

RunResult runMachineProgram(const QString& unixPath, const QStringList& arguments, int timeoutMs)
{
    QStringList translated;
    for (const QString& argument : arguments) translated << (namesAPath(argument) ? machinePath(argument) : argument);
#ifdef _WIN32
    if (wineUnixFileName()) return runThroughWine(unixPath, translated, timeoutMs);
#endif
    return runProgram(machineProgram(unixPath), translated, timeoutMs);
}

} // namespace testsupport
