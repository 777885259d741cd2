#include "common/Desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace app {

QStringList knownCalculators()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("calc.exe")};
#else
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
            QStringLiteral("mate-calc"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
#endif
}

QString openCalculator()
{
    for (const QString& name : knownCalculators()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (program.isEmpty()) continue;
        if (QProcess::startDetached(program, {})) return {};
        return QStringLiteral("Калкулаторът „%1“ не можа да бъде пуснат.").arg(QDir::toNativeSeparators(program));
    }
    return QStringLiteral("На този компютър няма калкулатор: програмата търси %1. Инсталирайте някой от тях.")
        .arg(knownCalculators().join(QStringLiteral(", ")));
}

QString missingFile(const QString& path)
{
    return QStringLiteral("Файлът „%1“ липсва.").arg(QDir::toNativeSeparators(path));
}

QString openDocument(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) return missingFile(path);
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return {};
    return QStringLiteral("Няма програма, която да отвори „%1“: инсталирайте програма за файлове %2.")
        .arg(shown, QStringLiteral(".") + QFileInfo(path).suffix());
}

} // namespace app
