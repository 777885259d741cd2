#include "store/xls/OleStream.h"

#include "store/StoreError.h"
#include "store/xls/CompoundFile.h"
#include "store/xls/MappedFile.h"

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
    MappedFile file(path);
    // Bytes the file lost while it was read read as zeros; what was read from them is dropped.
    const auto refuseWhenCut = [&file] {
        if (file.wasCut()) throw Error(QStringLiteral("друга програма промени файла, докато се четеше; опитайте пак"));
    };
    try {
        useWorkbookStreamOf(file.bytes(), [&](const QByteArray& stream) {
            use(stream, [&](qsizetype offset) {
                file.giveBack(stream.constData() + std::clamp(offset, qsizetype(0), stream.size()));
            });
        });
    } catch (...) {
        refuseWhenCut();
        throw;
    }
    refuseWhenCut();
}

QByteArray workbookStreamOf(const QByteArray& bytes)
{
    QByteArray copy;
    useWorkbookStreamOf(bytes, [&copy](const QByteArray& stream) { copy = QByteArray(stream.constData(), stream.size()); });
    return copy;
}

QByteArray readWorkbookStream(const QString& path)
{
    QByteArray copy;
    useWorkbookStream(path, [&copy](const QByteArray& stream, const StreamDone&) { copy = QByteArray(stream.constData(), stream.size()); });
    return copy;
}

namespace {

// The stream of a compound file being written through libgsf.
class GsfStreamSink final : public StreamSink {
public:
    explicit GsfStreamSink(GsfOutput* stream) : stream_(stream) {}
    void append(const char* data, qsizetype size) override
    {
        written_ = written_ && gsf_output_write(stream_, size_t(size), reinterpret_cast<const guint8*>(data));
        size_ += size;
    }
    void rewriteStart(const QByteArray& bytes) override
    {
        written_ = written_ && bytes.size() <= size_ && gsf_output_seek(stream_, 0, G_SEEK_SET)
                   && gsf_output_write(stream_, size_t(bytes.size()), reinterpret_cast<const guint8*>(bytes.constData()))
                   && gsf_output_seek(stream_, 0, G_SEEK_END);
    }
    bool written() const { return written_; }
    qsizetype size() const { return size_; }

private:
    GsfOutput* stream_;
    bool written_ = true;
    qsizetype size_ = 0;
};

// Writes into sink a compound file holding one stream: what produce gives, padded with zeros to
// at least minimumSize bytes, and closes it. False when a write failed.
bool writeCompound(GsfOutput* sink, const char* streamName, const StreamProducer& produce, qsizetype minimumSize)
{
    GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink));
    if (!ole) throw Error(QStringLiteral("не може да се създаде съставен файл"));
    GsfPtr<GsfOutput> stream(gsf_outfile_new_child(ole.get(), streamName, FALSE));
    if (!stream) throw Error(QStringLiteral("не може да се създаде потокът %1").arg(QLatin1String(streamName)));

    GsfStreamSink out(stream.get());
    produce(out);
    if (out.size() < minimumSize) {
        const QByteArray padding(minimumSize - out.size(), '\0');
        out.append(padding.constData(), padding.size());
    }
    bool written = gsf_output_close(stream.get()) && out.written();
    written = gsf_output_close(GSF_OUTPUT(ole.get())) && written;
    if (!gsf_output_is_closed(sink)) written = gsf_output_close(sink) && written;
    return written;
}

StreamProducer partsInOrder(std::initializer_list<const QByteArray*> parts)
{
    return [parts](StreamSink& out) {
        for (const QByteArray* part : parts) out.append(part->constData(), part->size());
    };
}

struct CloseFile {
    void operator()(FILE* file) const { if (file) std::fclose(file); }
};

} // namespace

QByteArray compoundFile(const char* streamName, const StreamProducer& produce, qsizetype minimumSize)
{
    const GsfLogRouted routed;
    GsfPtr<GsfOutput> sink(gsf_output_memory_new());
    if (!writeCompound(sink.get(), streamName, produce, minimumSize))
        throw Error(QStringLiteral("съставният файл не може да бъде построен в паметта"));
    const auto* memory = GSF_OUTPUT_MEMORY(sink.get());
    return QByteArray(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(const_cast<GsfOutputMemory*>(memory))),
                      qsizetype(gsf_output_size(sink.get())));
}

void writeStreamFile(const QString& path, const char* streamName, const StreamProducer& produce, qsizetype minimumSize)
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
        const bool written = sink && writeCompound(sink.get(), streamName, produce, minimumSize);
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

QByteArray compoundFile(const char* streamName, std::initializer_list<const QByteArray*> parts, qsizetype minimumSize)
{
    return compoundFile(streamName, partsInOrder(parts), minimumSize);
}

void writeStreamFile(const QString& path, const char* streamName, std::initializer_list<const QByteArray*> parts,
                     qsizetype minimumSize)
{
    writeStreamFile(path, streamName, partsInOrder(parts), minimumSize);
}

} // namespace store::xls
