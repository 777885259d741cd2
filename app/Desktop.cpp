#include "app/Desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace app {

void openCalculator()
{
#ifdef Q_OS_WIN
    const QStringList calculators{QStringLiteral("calc.exe")};
#else
    const QStringList calculators{QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                  QStringLiteral("galculator"), QStringLiteral("mate-calc"), QStringLiteral("xcalc")};
#endif
    for (const QString& name : calculators) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty()) {
            QProcess::startDetached(program, {});
            return;
        }
    }
}

void openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace app
