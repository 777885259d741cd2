#pragma once

// Files as bytes, for tests that lay out, damage or compare files.

#include <QByteArray>
#include <QString>

namespace testsupport {

// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString& path);

// Makes the file hold exactly these bytes, its folder made first when missing; false when any
// step fails.
bool writeBytes(const QString& path, const QByteArray& bytes);

} // namespace testsupport
