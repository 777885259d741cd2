#include "store/xls/OleStream.h"

#include "store/LargePages.h"
#include "store/StoreError.h"
#include "store/xls/CompoundFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSaveFile>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace store::xls {

Q_LOGGING_CATEGORY(lcGsf, "tervin.store.gsf", QtWarningMsg)

namespace {

// The first bytes of every OLE2 compound file, and of every ZIP file (such as .xlsx).
const QByteArray kCompoundFileSignature = QByteArray::fromHex("d0cf11e0a1b11ae1");
const QByteArray kZipSignature = QByteArrayLiteral("PK\x03\x04");

// libgsf tells of damaged files it meets in lines of its own on the terminal, some in its own log
// domains, some in GLib's default one. While we work with it they go to our log category instead,
// hidden unless asked for (QT_LOGGING_RULES="tervin.store.gsf.debug=true"): what is wrong with a
// file reaches the shop keeper in our own message.
void logFromGsf(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer)
{
    qCDebug(lcGsf, "%s: %s", domain ? domain : "libgsf", message ? message : "");
}

// libgsf made ready, and its log routed to us for as long as this lives.
class GsfLogRouted {
public:
    GsfLogRouted()
    {
        static std::once_flag once;
        std::call_once(once, [] { gsf_init(); });
        const auto levels = GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);
        for (size_t i = 0; i < kDomains.size(); ++i) handlers_[i] = g_log_set_handler(kDomains[i], levels, logFromGsf, nullptr);
    }
    ~GsfLogRouted()
    {
        for (size_t i = 0; i < kDomains.size(); ++i) g_log_remove_handler(kDomains[i], handlers_[i]);
    }
    GsfLogRouted(const GsfLogRouted&) = delete;
    GsfLogRouted& operator=(const GsfLogRouted&) = delete;

private:
    static constexpr std::array<const char*, 4> kDomains{nullptr, "libgsf", "libgsf:msole", "libgsf:utils"};
    std::array<guint, 4> handlers_{};
};

struct Unref {
    void operator()(gpointer object) const { if (object) g_object_unref(object); }
};
template <typename T> using GsfPtr = std::unique_ptr<T, Unref>;

void dropError(GError* error)
{
    if (error) g_error_free(error);
}

const QString kNoWorkbookStream = QStringLiteral("не е работна книга на Excel 97-2003: в нея няма поток „Workbook“");

// Where the child whose name matches is, case ignored as the compound file format does; -1 when
// there is none.
int childIndex(GsfInfile* infile, const char* name)
{
    const int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(infile, i);
        if (childName && g_ascii_strcasecmp(childName, name) == 0) return i;
    }
    return -1;
}

// Why bytes that are no compound file cannot be read.
[[noreturn]] void refuseForeign(const QByteArray& bytes)
{
    if (bytes.isEmpty()) throw Error(QStringLiteral("файлът е празен"));
    if (bytes.startsWith(kZipSignature))
        throw Error(QStringLiteral("работната книга е в по-новия формат на Excel 2007 и следващите (.xlsx), а се чете само Excel 97-2003 (.xls)"));
    throw Error(QStringLiteral("не е работна книга на Excel 97-2003"));
}

bool unfinishedCompoundFile(const QByteArray& bytes)
{
    if (!kCompoundFileSignature.startsWith(bytes.left(kCompoundFileSignature.size()))) return false;
    try {
        workbookStreamOf(bytes);
        return false;
    } catch (const Error&) {
        return true;
    }
}

// A save in progress, of ours or of another program, finishes well within this.
constexpr qint64 kSaveInProgressSeconds = 60;

// Temporary files that saves killed midway may have left beside the file, and when each is ours:
// - ".Danni.xls.1234-0a1b2c3d.tmp", made by saves of earlier versions: always;
// - ".gsf-save-Ab12Cd", made by libgsf under those saves: when unfinished and older than any save
//   in progress (another program using libgsf names its files so too);
// - "Danni.xls.AbqxYz", made by QSaveFile where the file system cannot keep the file nameless,
//   and for a moment before its rename everywhere: when unfinished, for a copy the shop keeper
//   made could have such a name. (A finished one, left by a kill in that moment, is kept.)
// Unfinished means empty, or the beginning of a compound file that does not read as one.
void removeLeftoverTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QString name = QRegularExpression::escape(info.fileName());
    const QRegularExpression earlier(QStringLiteral("^\\.%1\\.[0-9]+-[0-9a-f]{8}\\.tmp$").arg(name));
    const QRegularExpression gsf(QStringLiteral("^\\.gsf-save-[A-Za-z0-9]{6}$"));
    const QRegularExpression qt(QStringLiteral("^%1\\.[A-Za-z]{6}$").arg(name));
    const QDir folder = info.absoluteDir();
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-kSaveInProgressSeconds);
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const bool ours = earlier.match(entry.fileName()).hasMatch();
        const bool oursWhenUnfinished = qt.match(entry.fileName()).hasMatch()
                                        || (gsf.match(entry.fileName()).hasMatch() && entry.lastModified() < settled);
        if (!ours && !oursWhenUnfinished) continue;
        QFile leftover(entry.filePath());
        if (!leftover.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = leftover.readAll();
        leftover.close();
        const bool compound = kCompoundFileSignature.startsWith(bytes.left(kCompoundFileSignature.size()));
        if (ours ? compound : unfinishedCompoundFile(bytes)) leftover.remove();
    }
}

} // namespace

namespace {

QFile& openedFile(QFile& file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists()) throw Error(QStringLiteral("файлът не съществува"));
    if (!info.isFile()) throw Error(QStringLiteral("това не е файл"));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("файлът не може да бъде отворен (%1)").arg(file.errorString()));
    return file;
}

[[noreturn]] void refuseUnread(const QString& reason)
{
    throw Error(QStringLiteral("файлът не може да бъде прочетен докрай (%1)").arg(reason));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    QByteArray bytes = openedFile(file).readAll();
    if (file.error() != QFileDevice::NoError) refuseUnread(file.errorString());
    return bytes;
}

// A whole file read into memory of its own, in pages of 2 MB where the system gives them: a big
// workbook is then laid out in a few dozen pages rather than thousands, each of which costs the
// system a fault to hand out. The bytes are a copy, so the file may change or go while they are
// read.
class FileInBigPages {
public:
    explicit FileInBigPages(const QString& path)
    {
        QFile file(path);
        const qint64 size = openedFile(file).size();
        if (size <= 0 || size > kMaxFileSize) {
            fallback_ = fileBytes(path);
            return;
        }
        capacity_ = (size_t(size) + kLargePage - 1) / kLargePage * kLargePage;
        void* memory = ::mmap(nullptr, capacity_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            fallback_ = fileBytes(path);
            return;
        }
        data_ = released_ = static_cast<char*>(memory);
        adviseLargePages(data_, capacity_);
        // Read to the end as it is now: the file may have grown or shrunk since its size was taken.
        size_t length = 0;
        for (;;) {
            const qint64 got = file.read(data_ + length, qint64(capacity_ - length));
            if (got < 0) refuseUnread(file.errorString());
            if (got == 0) break;
            length += size_t(got);
            if (length == capacity_) {
                fallback_ = QByteArray(data_, qsizetype(length)) + file.readAll();
                if (file.error() != QFileDevice::NoError) refuseUnread(file.errorString());
                return;
            }
        }
        bytes_ = QByteArray::fromRawData(data_, qsizetype(length));
    }
    ~FileInBigPages()
    {
        if (data_) ::munmap(data_, capacity_);
    }
    FileInBigPages(const FileInBigPages&) = delete;
    FileInBigPages& operator=(const FileInBigPages&) = delete;

    const QByteArray& bytes() const { return fallback_.isNull() ? bytes_ : fallback_; }

    // Gives back the memory of the bytes before `end`, when they are ours: nobody reads them again.
    void giveBack(const char* end)
    {
        if (!data_ || !fallback_.isNull() || end <= released_ || end > data_ + bytes_.size()) return;
        char* const upTo = data_ + (end - data_) / kSmallPage * kSmallPage;
        if (upTo <= released_) return;
        ::madvise(released_, size_t(upTo - released_), MADV_DONTNEED);
        released_ = upTo;
    }

private:
    static constexpr qint64 kSmallPage = 4096;
    static constexpr qint64 kMaxFileSize = qint64(1) << 31;
    char* data_ = nullptr;
    char* released_ = nullptr;   // what lies before it went back to the system
    size_t capacity_ = 0;
    QByteArray bytes_;
    QByteArray fallback_;
};

} // namespace

namespace {

// Hands the Workbook stream, as libgsf reads it, to use. False, before use is called, when libgsf
// cannot read the container or the stream.
bool usedThroughGsf(const QByteArray& bytes, const std::function<void(const QByteArray&)>& use)
{
    const GsfLogRouted routed;
    GError* error = nullptr;
    GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.constData()), bytes.size(), FALSE));
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
    dropError(error);
    if (!ole) return false;
    // The format is told by the stream's first record, not by its name: some writers put
    // Excel 97-2003 data in a stream called "Book", the name Excel 5.0/95 used.
    int index = childIndex(ole.get(), "Workbook");
    if (index < 0) index = childIndex(ole.get(), "Book");
    if (index < 0) throw Error(kNoWorkbookStream);
    GsfPtr<GsfInput> stream(gsf_infile_child_by_index(ole.get(), index));
    if (!stream) return false;
    const gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || size > bytes.size()) return false;
    // Asked for no buffer of ours, libgsf hands out the stream where it lies in the bytes when its
    // blocks follow one another, and gathers it into a buffer of its own only when they do not.
    const guint8* data = size > 0 ? gsf_input_read(stream.get(), size_t(size), nullptr) : nullptr;
    if (size > 0 && !data) return false;
    use(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    return true;
}

} // namespace

void useWorkbookStreamOf(const QByteArray& bytes, const std::function<void(const QByteArray&)>& use)
{
    if (!bytes.startsWith(kCompoundFileSignature)) refuseForeign(bytes);
    if (usedThroughGsf(bytes, use)) return;
    // libgsf refuses some damaged files that other programs read, such as those whose header
    // counts the sector table wrong; our own reader reads them where no data is lost.
    const CompoundFile file(bytes);
    std::optional<QByteArray> stream = file.rootStream(QStringLiteral("Workbook"));
    if (!stream) stream = file.rootStream(QStringLiteral("Book"));
    if (!stream) throw Error(kNoWorkbookStream);
    use(*stream);
}

void useWorkbookStream(const QString& path, const std::function<void(const QByteArray&, const StreamDone&)>& use)
{
    FileInBigPages file(path);
    useWorkbookStreamOf(file.bytes(), [&](const QByteArray& stream) {
        use(stream, [&](qsizetype offset) { file.giveBack(stream.constData() + std::clamp(offset, qsizetype(0), stream.size())); });
    });
}

QByteArray workbookStreamOf(const QByteArray& bytes)
{
    QByteArray copy;
    useWorkbookStreamOf(bytes, [&copy](const QByteArray& stream) { copy = QByteArray(stream.constData(), stream.size()); });
    return copy;
}

QByteArray readWorkbookStream(const QString& path)
{
    return workbookStreamOf(fileBytes(path));
}

namespace {

// Writes into sink a compound file holding one stream: the parts one after the other, padded with
// zeros to at least minimumSize bytes, and closes it. False when a write failed.
bool writeCompound(GsfOutput* sink, const char* streamName, std::initializer_list<const QByteArray*> parts,
                   qsizetype minimumSize)
{
    GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink));
    if (!ole) throw Error(QStringLiteral("не може да се създаде съставен файл"));
    GsfPtr<GsfOutput> stream(gsf_outfile_new_child(ole.get(), streamName, FALSE));
    if (!stream) throw Error(QStringLiteral("не може да се създаде потокът %1").arg(QLatin1String(streamName)));

    bool written = true;
    qsizetype total = 0;
    for (const QByteArray* part : parts) {
        written = written && gsf_output_write(stream.get(), size_t(part->size()),
                                              reinterpret_cast<const guint8*>(part->constData()));
        total += part->size();
    }
    if (total < minimumSize) {
        const QByteArray padding(minimumSize - total, '\0');
        written = written && gsf_output_write(stream.get(), size_t(padding.size()),
                                              reinterpret_cast<const guint8*>(padding.constData()));
    }
    written = gsf_output_close(stream.get()) && written;
    written = gsf_output_close(GSF_OUTPUT(ole.get())) && written;
    if (!gsf_output_is_closed(sink)) written = gsf_output_close(sink) && written;
    return written;
}

struct CloseFile {
    void operator()(FILE* file) const { if (file) std::fclose(file); }
};

} // namespace

QByteArray compoundFile(const char* streamName, std::initializer_list<const QByteArray*> parts, qsizetype minimumSize)
{
    const GsfLogRouted routed;
    GsfPtr<GsfOutput> sink(gsf_output_memory_new());
    if (!writeCompound(sink.get(), streamName, parts, minimumSize))
        throw Error(QStringLiteral("съставният файл не може да бъде построен в паметта"));
    const auto* memory = GSF_OUTPUT_MEMORY(sink.get());
    return QByteArray(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(const_cast<GsfOutputMemory*>(memory))),
                      qsizetype(gsf_output_size(sink.get())));
}

void writeStreamFile(const QString& path, const char* streamName, std::initializer_list<const QByteArray*> parts,
                     qsizetype minimumSize)
{
    // QSaveFile writes beside the file (where the file system allows, into a file without a
    // name), pushes it to the disk and only then puts it in the file's place; a link is kept
    // and the file it points at is the one replaced. libgsf builds the compound file straight
    // into that file, so the file is never held in memory a second time.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("не може да се създаде файл в папката (%1)").arg(file.errorString()));
    const int handle = ::dup(file.handle());
    std::unique_ptr<FILE, CloseFile> out(handle >= 0 ? ::fdopen(handle, "wb") : nullptr);
    if (!out) {
        if (handle >= 0) ::close(handle);
        throw Error(QStringLiteral("не може да се създаде файл в папката (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
    {
        const GsfLogRouted routed;
        GsfPtr<GsfOutput> sink(gsf_output_stdio_new_FILE(QFile::encodeName(path).constData(), out.get(), TRUE));
        const bool written = sink && writeCompound(sink.get(), streamName, parts, minimumSize);
        const int flushed = std::fflush(out.get());
        if (!written || flushed != 0) {
            const GError* error = sink ? gsf_output_error(sink.get()) : nullptr;
            throw Error(QStringLiteral("грешка при запис на диска (%1)")
                            .arg(error ? QString::fromUtf8(error->message) : QString::fromLocal8Bit(std::strerror(errno))));
        }
    }
    out.reset();
    if (!file.commit())
        throw Error(QStringLiteral("файлът не може да бъде заменен (%1)").arg(file.errorString()));
    removeLeftoverTemporaries(QFileInfo(path).isSymLink() ? QFileInfo(path).symLinkTarget() : path);
}

} // namespace store::xls
