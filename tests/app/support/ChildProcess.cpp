#include "ChildProcess.h"

#ifndef _WIN32

#include <QFile>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool writeText(const char* path, const QByteArray& text)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Mounts made from now on stay in this process; as a user without rights, in a namespace where
// the user is root.
bool mountsOfOurOwn()
{
    if (::unshare(CLONE_NEWNS) != 0) {
        const QByteArray uid = QByteArray::number(::getuid());
        const QByteArray gid = QByteArray::number(::getgid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !writeText("/proc/self/setgroups", "deny")
            || !writeText("/proc/self/uid_map", "0 " + uid + " 1") || !writeText("/proc/self/gid_map", "0 " + gid + " 1"))
            return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

} // namespace

int inChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

bool fullDiskAt(const QString& folder, qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (!mountsOfOurOwn() || ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
        return false;
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    return true;
}

#endif
