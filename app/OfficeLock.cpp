#include "app/OfficeLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

namespace app {

const QString OfficeLock::kOwner = QStringLiteral("Тервин за детски стоки");

namespace {

QString inSameFolder(const QString& file, const QString& name)
{
    return QFileInfo(file).dir().filePath(name);
}

QString userName()
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QStringLiteral("-") : user;
}

// The fields of a LibreOffice lock file: who, system user, host, when, profile.
QStringList lockFields(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(file.read(4096)).trimmed();
    if (text.endsWith(QLatin1Char(';'))) text.chop(1);
    return text.split(QLatin1Char(','));
}

} // namespace

OfficeLock::OfficeLock(const QString& dataFile)
    : libreOfficeLock_(inSameFolder(dataFile, QStringLiteral(".~lock.") + QFileInfo(dataFile).fileName() + QLatin1Char('#'))),
      excelLock_(inSameFolder(dataFile, QStringLiteral("~$") + QFileInfo(dataFile).fileName()))
{
}

OfficeLock::~OfficeLock()
{
    release();
}

QString OfficeLock::heldElsewhere() const
{
    if (QFileInfo::exists(libreOfficeLock_)) {
        const QStringList fields = lockFields(libreOfficeLock_);
        if (fields.value(0) != kOwner) {
            const QString who = fields.value(0).isEmpty() ? fields.value(1) : fields.value(0);
            return QStringLiteral("LibreOffice (%1, компютър „%2“, от %3)").arg(who, fields.value(2), fields.value(3));
        }
    }
    if (QFileInfo::exists(excelLock_)) return QStringLiteral("Excel");
    return {};
}

void OfficeLock::take()
{
    QSaveFile file(libreOfficeLock_);
    if (!file.open(QIODevice::WriteOnly)) return;
    const QString fields = QStringList{kOwner, userName(), QSysInfo::machineHostName(),
                                       QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                                       QString()}
                               .join(QLatin1Char(','));
    file.write((fields + QLatin1Char(';')).toUtf8());
    taken_ = file.commit();
}

void OfficeLock::release()
{
    if (taken_ && lockFields(libreOfficeLock_).value(0) == kOwner) QFile::remove(libreOfficeLock_);
    taken_ = false;
}

} // namespace app
