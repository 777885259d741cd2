#pragma once

#include <QString>
#include <functional>

// Runs body in a child process and gives back how the child ended, as waitpid tells it. The child
// ends with body's result at once, without the parent's exit handlers.
int inChild(const std::function<int()>& body);

// In a child process only: mounts a file system of `bytes` over folder, seen by this process alone,
// and fills it up. False when the system does not let the process mount one.
bool fullDiskAt(const QString& folder, qint64 bytes);
