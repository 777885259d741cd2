#include "store/xls/MappedFile.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace store::xls {

namespace {

QFile& openedFile(QFile& file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists()) throw Error(XlsError::FileMissing);
    if (!info.isFile()) throw Error(XlsError::NotAFile);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(XlsError::FileNotOpened, {file.errorString()});
    return file;
}

QByteArray fileBytes(QFile& file)
{
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(XlsError::FileNotReadToEnd, {file.errorString()});
    return bytes;
}

#ifndef Q_OS_WIN
// The mappings whose missing pages read as zeros. The system tells of a missing page with SIGBUS,
// delivered to the thread that touched it; the handler finds the mapping here without locks.
struct Guarded {
    std::atomic<bool> taken{false};   // by a MappedFile
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::size_t> size{0};
    std::atomic<bool> cut{false};
};
std::array<Guarded, 16> guarded;
struct sigaction earlierHandler {};
std::size_t pageSize = 4096;

void onBusError(int signal, siginfo_t* info, void* context)
{
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guarded& mapping : guarded) {
        const std::uintptr_t start = mapping.start.load();
        if (start == 0 || at < start || at >= start + mapping.size.load()) continue;
        void* page = reinterpret_cast<void*>(at / pageSize * pageSize);
        if (::mmap(page, pageSize, PROT_READ, MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) == MAP_FAILED) break;
        mapping.cut.store(true);
        return;   // the read is done again, now of zeros
    }
    // Not a mapping of ours: what was set up before us decides.
    if ((earlierHandler.sa_flags & SA_SIGINFO) && earlierHandler.sa_sigaction) {
        earlierHandler.sa_sigaction(signal, info, context);
    } else if (earlierHandler.sa_handler != SIG_DFL && earlierHandler.sa_handler != SIG_IGN) {
        earlierHandler.sa_handler(signal);
    } else {
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        ::sigaction(SIGBUS, &fallback, nullptr);   // the fault comes again and ends the process as it would have
    }
}

void installHandlerOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = std::size_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &earlierHandler);
    });
}

// A free place among the guarded mappings; -1 when all are taken.
int takeSlot()
{
    for (int i = 0; i < int(guarded.size()); ++i) {
        bool expected = false;
        if (guarded[i].taken.compare_exchange_strong(expected, true)) return i;
    }
    return -1;
}

#endif

} // namespace

#ifdef Q_OS_WIN

// Windows keeps a mapped file from being cut short, and keeps it from being replaced as well,
// which a save by another program must be able to do: the file is read into memory.
MappedFile::MappedFile(const QString& path)
{
    QFile file(path);
    bytes_ = fileBytes(openedFile(file));
}

MappedFile::~MappedFile() = default;

void MappedFile::giveBack(const char*) {}

bool MappedFile::wasCut() const
{
    return false;
}

#else

MappedFile::MappedFile(const QString& path)
{
    QFile file(path);
    const qint64 size = openedFile(file).size();
    if (size > 0 && std::uint64_t(size) < (std::uint64_t(1) << 31)) {
        installHandlerOnce();
        guard_ = takeSlot();
        void* memory = guard_ < 0 ? MAP_FAILED : ::mmap(nullptr, std::size_t(size), PROT_READ, MAP_PRIVATE, file.handle(), 0);
        if (memory != MAP_FAILED) {
            data_ = released_ = static_cast<char*>(memory);
            size_ = std::size_t(size);
            guarded[guard_].cut.store(false);
            guarded[guard_].size.store(size_);
            guarded[guard_].start.store(reinterpret_cast<std::uintptr_t>(data_));
            bytes_ = QByteArray::fromRawData(data_, qsizetype(size_));
            return;
        }
        if (guard_ >= 0) guarded[guard_].taken.store(false);
        guard_ = -1;
    }
    bytes_ = fileBytes(file);
}

MappedFile::~MappedFile()
{
    if (!data_) return;
    guarded[guard_].start.store(0);
    ::munmap(data_, size_);
    guarded[guard_].taken.store(false);
}

void MappedFile::giveBack(const char* end)
{
    if (!data_ || end <= released_ || end > data_ + size_) return;
    char* const upTo = data_ + std::size_t(end - data_) / pageSize * pageSize;
    if (upTo <= released_) return;
    ::madvise(released_, std::size_t(upTo - released_), MADV_DONTNEED);
    released_ = upTo;
}

bool MappedFile::wasCut() const
{
    return data_ && guarded[guard_].cut.load();
}

#endif

} // namespace store::xls
