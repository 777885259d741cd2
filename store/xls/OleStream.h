#pragma once

// The OLE2 compound file around the Workbook stream, read by CompoundFile.h and written by
// CompoundFileWriter.h.

#include <QByteArray>
#include <QString>
#include <functional>
#include <initializer_list>

namespace store::xls {

// The BIFF8 "Workbook" stream of the file at path. Throws store::Error with the reason alone (no
// file name) when the file is missing, is no compound file, is damaged, holds only an older
// "Book" stream or cannot be read whole.
QByteArray readWorkbookStream(const QString& path);
// The same for the bytes of a whole file.
QByteArray workbookStreamOf(const QByteArray& bytes);
// Hands the Workbook stream of the file at path, or of a whole file's bytes, to use, which reads it
// there and then: the stream is not copied where its blocks follow one another in the file, as
// they do in the files we and most programs write. Throws as readWorkbookStream does.
// use may tell, through its second argument, that it will not look at the stream before an offset
// again: the memory holding that part then goes back to the system at once.
using StreamDone = std::function<void(qsizetype offset)>;
void useWorkbookStream(const QString& path, const std::function<void(const QByteArray&, const StreamDone&)>& use);
void useWorkbookStreamOf(const QByteArray& bytes, const std::function<void(const QByteArray&)>& use);

// Takes a stream as it is built: its bytes in order, then, at most once and after the last of
// them, new bytes for its beginning (whose content may depend on what followed them). The stream
// is then never held in memory whole.
class StreamSink {
public:
    virtual ~StreamSink() = default;
    virtual void append(const char* data, qsizetype size) = 0;
    virtual void rewriteStart(const QByteArray& bytes) = 0;
};
using StreamProducer = std::function<void(StreamSink&)>;

// A compound file, built in memory, holding one stream: what produce gives, padded with zeros to
// at least minimumSize bytes.
QByteArray compoundFile(const char* streamName, const StreamProducer& produce, qsizetype minimumSize);

// Writes such a compound file over path, atomically: it replaces path only once it is complete
// and on the disk. Afterwards removes temporary files that earlier saves of path, killed midway,
// left beside it. Throws store::Error with the reason alone; then path is as it was.
void writeStreamFile(const QString& path, const char* streamName, const StreamProducer& produce, qsizetype minimumSize);

// The same for a stream whose parts are in memory, one after the other.
QByteArray compoundFile(const char* streamName, std::initializer_list<const QByteArray*> parts, qsizetype minimumSize);
void writeStreamFile(const QString& path, const char* streamName, std::initializer_list<const QByteArray*> parts,
                     qsizetype minimumSize);

inline void writeWorkbookStream(const QString& path, std::initializer_list<const QByteArray*> parts,
                                qsizetype minimumSize)
{
    writeStreamFile(path, "Workbook", parts, minimumSize);
}

} // namespace store::xls
