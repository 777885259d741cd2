// The program's own start-up on a program folder, as main runs it, ending as soon as the login
// window is on screen. Prints the monotonic clock at that moment in nanoseconds, so that whoever
// started the process can tell how long the start-up took from the moment it was started.
#include "app/Form10.h"
#include "app/Program.h"
#include "bench/BenchMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <ctime>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM_FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    const bench::QuietMessages quiet(app::Answer::Cancel);

    app::Program program(QString::fromLocal8Bit(argv[1]));
    if (!program.start()) return 1;
    // The login window was shown; once the events that put it on screen are handled, it is there.
    QTimer::singleShot(0, &application, [&] {
        if (!program.loginWindow() || !program.loginWindow()->isVisible()) QCoreApplication::exit(1);
        std::printf("%lld\n", monotonicNanoseconds());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return application.exec();
}
