#pragma once

#include <QString>

namespace app {

bool ImaFail(const QString& path);
bool ImaPapka(const QString& path);
// Creates one folder level; throws store::Error when it cannot.
void NapraviPapka(const QString& path);

// folder + "/" + name
QString inFolder(const QString& folder, const QString& name);

} // namespace app
