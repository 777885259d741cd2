#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace app {

// The picture readers later windows need (goods pictures are JPEG or BMP) that are not among
// the supported formats given.
QStringList missingImageReaders(const QList<QByteArray>& supportedFormats);

// Makes sure what the windows need is present: the JPEG and BMP picture readers. Empty when all
// is there, otherwise why the program cannot start.
QString RegistriraiKontroli();

// A write past the file-size limit then fails with an error that the save reports, instead of the
// system ending the program without a word (SIGXFSZ).
void ignoreFileSizeSignal();

// The disk that holds the folder has no space left.
bool diskFull(const QString& folder);

} // namespace app
