// Тервин за детски стоки: the shop's program, started from its own folder.
#include "app/EndRequests.h"
#include "app/Program.h"
#include "app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv)
{
    app::ignoreFileSizeSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tervin"));
    // The program ends when its main window closes or the login is given up, not sooner.
    QApplication::setQuitOnLastWindowClosed(false);

    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    app::Program program(QCoreApplication::applicationDirPath());
    QObject::connect(&program, &app::Program::finished, &application, &QCoreApplication::quit, Qt::QueuedConnection);
    // The basket's goods go back and both spreadsheet applications close, also when the system
    // or the desktop ends the program.
    app::endOnTerminationSignals([&program] { program.endNow(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &program, [&program] { program.endNow(); });
    if (!program.start()) return 1;
    return application.exec();
}
