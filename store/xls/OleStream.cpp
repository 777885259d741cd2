#include "store/xls/OleStream.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"
#include "store/xls/CompoundFile.h"
#include "store/xls/CompoundFileFormat.h"
#include "store/xls/CompoundFileWriter.h"
#include "store/xls/MappedFile.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace store::xls {

namespace {

// The first bytes of every ZIP file (such as .xlsx).
const QByteArray kZipSignature = QByteArrayLiteral("PK\x03\x04");

// Why bytes that are no compound file cannot be read.
[[noreturn]] void refuseForeign(const QByteArray& bytes)
{
    if (bytes.isEmpty()) throw Error(XlsError::EmptyFile);
    if (bytes.startsWith(kZipSignature)) throw Error(XlsError::NewerFormat);
    throw Error(XlsError::NotAWorkbook);
}

bool unfinishedCompoundFile(const QByteArray& bytes)
{
    if (!compound::kSignature.startsWith(bytes.left(compound::kSignature.size()))) return false;
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
// - ".gsf-save-Ab12Cd", made under still earlier saves by the library they wrote through: when
//   unfinished and older than any save in progress (other programs using it name theirs so too);
// - "Danni.xls.AbqxYz", made by QSaveFile where the file system cannot keep the file nameless,
//   and for a moment before its rename everywhere: when unfinished, for a copy the shop keeper
//   made could have such a name. (A finished one, left by a kill in that moment, is kept.)
// Unfinished means empty, or the beginning of a compound file that does not read as one.
void removeLeftoverTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QString name = QRegularExpression::escape(info.fileName());
    const QRegularExpression earlier(QStringLiteral("^\\.%1\\.[0-9]+-[0-9a-f]{8}\\.tmp$").arg(name));
    const QRegularExpression library(QStringLiteral("^\\.gsf-save-[A-Za-z0-9]{6}$"));
    const QRegularExpression qt(QStringLiteral("^%1\\.[A-Za-z]{6}$").arg(name));
    const QDir folder = info.absoluteDir();
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-kSaveInProgressSeconds);
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const bool ours = earlier.match(entry.fileName()).hasMatch();
        const bool oursWhenUnfinished = qt.match(entry.fileName()).hasMatch()
                                        || (library.match(entry.fileName()).hasMatch() && entry.lastModified() < settled);
        if (!ours && !oursWhenUnfinished) continue;
        QFile leftover(entry.filePath());
        if (!leftover.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = leftover.readAll();
        leftover.close();
        const bool isCompound = compound::kSignature.startsWith(bytes.left(compound::kSignature.size()));
        if (ours ? isCompound : unfinishedCompoundFile(bytes)) leftover.remove();
    }
}

} // namespace

void useWorkbookStreamOf(const QByteArray& bytes, const std::function<void(const QByteArray&)>& use)
{
    if (!bytes.startsWith(compound::kSignature)) refuseForeign(bytes);
    const CompoundFile file(bytes);
    // The format is told by the stream's first record, not by its name: some writers put
    // Excel 97-2003 data in a stream called "Book", the name Excel 5.0/95 used.
    std::optional<QByteArray> stream = file.rootStream(QStringLiteral("Workbook"));
    if (!stream) stream = file.rootStream(QStringLiteral("Book"));
    if (!stream) throw Error(XlsError::NoWorkbookStream);
    use(*stream);
}

void useWorkbookStream(const QString& path, const std::function<void(const QByteArray&, const StreamDone&)>& use)
{
    MappedFile file(path);
    // Bytes the file lost while it was read read as zeros; what was read from them is dropped.
    const auto refuseWhenCut = [&file] {
        if (file.wasCut()) throw Error(XlsError::ChangedWhileRead);
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

// Writes into device a compound file holding one stream: what produce gives, padded with zeros
// to at least minimumSize bytes.
void writeCompound(QIODevice& device, const char* streamName, const StreamProducer& produce, qsizetype minimumSize)
{
    CompoundFileWriter file(device, streamName);
    produce(file);
    file.finish(minimumSize);
}

StreamProducer partsInOrder(std::initializer_list<const QByteArray*> parts)
{
    return [parts](StreamSink& out) {
        for (const QByteArray* part : parts) out.append(part->constData(), part->size());
    };
}

} // namespace

QByteArray compoundFile(const char* streamName, const StreamProducer& produce, qsizetype minimumSize)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeCompound(buffer, streamName, produce, minimumSize);
    buffer.close();
    return bytes;
}

void writeStreamFile(const QString& path, const char* streamName, const StreamProducer& produce, qsizetype minimumSize)
{
    // QSaveFile writes beside the file (where the file system allows, into a file without a
    // name), pushes it to the disk and only then puts it in the file's place; a link is kept
    // and the file it points at is the one replaced. The compound file is built straight into
    // that file, unbuffered, so a full disk is told at the write that meets it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Error(XlsError::FileNotCreated, {file.errorString()});
    writeCompound(file, streamName, produce, minimumSize);
    if (!file.commit())
        throw Error(XlsError::FileNotReplaced, {file.errorString()});
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
