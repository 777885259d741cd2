#include "app/Startup.h"

#include <QImageReader>
#include <QStorageInfo>

#include <csignal>

namespace app {

QStringList missingImageReaders(const QList<QByteArray>& supportedFormats)
{
    QStringList missing;
    if (!supportedFormats.contains("jpeg") && !supportedFormats.contains("jpg")) missing << QStringLiteral("JPEG");
    if (!supportedFormats.contains("bmp")) missing << QStringLiteral("BMP");
    return missing;
}

QString RegistriraiKontroli()
{
    const QStringList missing = missingImageReaders(QImageReader::supportedImageFormats());
    if (missing.isEmpty()) return {};
    return QStringLiteral("Липсва модулът на Qt за четене на снимки във формат %1 (приставка в папката "
                          "„imageformats“, например qjpeg). Без него снимките на стоките не могат да се покажат.")
        .arg(missing.join(QStringLiteral(", ")));
}

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

bool diskFull(const QString& folder)
{
    const QStorageInfo disk(folder);
    return disk.isValid() && disk.isReady() && disk.bytesAvailable() == 0;
}

} // namespace app
