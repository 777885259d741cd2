#include "store/xls/CompoundFileWriter.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"
#include "store/xls/CompoundFileFormat.h"

#include <QIODevice>

#include <algorithm>
#include <vector>

namespace store::xls {

using namespace compound;

namespace {

constexpr qsizetype kSector = qsizetype(1) << kSmallSectorShift;
constexpr qsizetype kMiniSector = qsizetype(1) << kMiniSectorShift;
constexpr quint32 kPerSector = quint32(kSector / 4);   // sector numbers in a sector
constexpr quint32 kEntriesPerSector = quint32(kSector / kEntrySize);

// The class of the root storage of an Excel 97-2003 workbook, {00020820-0000-0000-C000-000000000046}.
const QByteArray kWorkbookClass = QByteArray::fromHex("2008020000000000c000000000000046");

quint32 sectorsFor(quint64 bytes, quint64 unit)
{
    return quint32((bytes + unit - 1) / unit);
}

void put16(QByteArray& bytes, qsizetype at, quint16 value)
{
    bytes[at] = char(value);
    bytes[at + 1] = char(value >> 8);
}

void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i));
}

QByteArray tableBytes(const std::vector<quint32>& table)
{
    QByteArray bytes(qsizetype(table.size()) * 4, '\0');
    for (size_t i = 0; i < table.size(); ++i) put32(bytes, qsizetype(i) * 4, table[i]);
    return bytes;
}

// Where each part of the file goes, in sectors counted after the header: the stream (or, for a
// stream below the cutoff, the mini stream that holds it) from sector 0, then the directory, the
// MiniFAT when there is a mini stream, the FAT and, when more FAT sectors are needed than the
// header lists, the sectors that list the rest.
struct Layout {
    explicit Layout(quint64 streamSize)
        : size(streamSize),
          mini(streamSize < kMiniStreamCutoff),
          miniSectors(mini ? sectorsFor(streamSize, kMiniSector) : 0),
          dataSectors(sectorsFor(streamSize, kSector)),
          directory(dataSectors),
          miniFat(miniSectors > 0 ? directory + 1 : kEndOfChain),
          firstFat(directory + 1 + (miniSectors > 0 ? 1 : 0))
    {
        // The FAT covers every sector, its own and those of its list among them.
        for (;;) {
            const quint32 total = firstFat + fatCount + fatListCount;
            const quint32 fat = sectorsFor(total, kPerSector);
            const quint32 list = fat > quint32(kHeaderFatListLength) ? sectorsFor(fat - kHeaderFatListLength, kPerSector - 1) : 0;
            if (fat == fatCount && list == fatListCount) break;
            fatCount = fat;
            fatListCount = list;
        }
    }
    quint32 firstFatList() const { return fatListCount > 0 ? firstFat + fatCount : kEndOfChain; }
    quint32 streamStart() const { return size > 0 ? 0 : kEndOfChain; }

    quint64 size;
    bool mini;
    quint32 miniSectors;   // of the stream, when it is held in the mini stream
    quint32 dataSectors;
    quint32 directory;
    quint32 miniFat;
    quint32 firstFat;
    quint32 fatCount = 0;
    quint32 fatListCount = 0;
};

QByteArray header(const Layout& layout)
{
    QByteArray bytes(kHeaderSize, '\0');
    bytes.replace(0, kSignature.size(), kSignature);
    put16(bytes, kMinorVersionAt, 0x003E);
    put16(bytes, kMinorVersionAt + 2, 3);
    put16(bytes, kByteOrderAt, kLittleEndian);
    put16(bytes, kSectorShiftAt, kSmallSectorShift);
    put16(bytes, kMiniSectorShiftAt, kMiniSectorShift);
    put32(bytes, kFatSectorCountAt, layout.fatCount);
    put32(bytes, kFirstDirectorySectorAt, layout.directory);
    put32(bytes, kMiniStreamCutoffAt, kMiniStreamCutoff);
    put32(bytes, kFirstMiniFatSectorAt, layout.miniFat);
    put32(bytes, kMiniFatSectorCountAt, layout.miniSectors > 0 ? 1 : 0);
    put32(bytes, kFirstFatListSectorAt, layout.firstFatList());
    put32(bytes, kFatListSectorCountAt, layout.fatListCount);
    for (quint32 i = 0; i < quint32(kHeaderFatListLength); ++i)
        put32(bytes, kHeaderFatListAt + 4 * i, i < layout.fatCount ? layout.firstFat + i : kFreeSector);
    return bytes;
}

// A directory entry. The times are left zero ("not recorded"), so a workbook saved twice gives
// the same bytes.
QByteArray entry(const QString& name, EntryType type, quint32 child, const QByteArray& classId, quint32 start, quint64 size)
{
    QByteArray bytes(kEntrySize, '\0');
    for (qsizetype i = 0; i < name.size(); ++i) put16(bytes, 2 * i, name[i].unicode());
    put16(bytes, kEntryNameBytes, quint16(2 * (name.size() + 1)));
    bytes[kEntryTypeAt] = char(type);
    bytes[kEntryColourAt] = 1;   // black: each entry is a tree of its own
    put32(bytes, kEntryLeftAt, kNoEntry);
    put32(bytes, kEntryRightAt, kNoEntry);
    put32(bytes, kEntryChildAt, child);
    bytes.replace(kEntryClassAt, classId.size(), classId);
    put32(bytes, kEntryStartAt, start);
    put32(bytes, kEntrySizeAt, quint32(size));
    return bytes;
}

// The root, the stream and empty entries to the end of the sector.
QByteArray directory(const Layout& layout, const QString& streamName)
{
    const quint64 miniStreamSize = quint64(layout.miniSectors) * kMiniSector;
    QByteArray bytes = entry(QStringLiteral("Root Entry"), RootEntry, 1, kWorkbookClass,
                             layout.miniSectors > 0 ? 0 : kEndOfChain, miniStreamSize)
                       + entry(streamName, StreamEntry, kNoEntry, QByteArray(), layout.streamStart(), layout.size);
    QByteArray empty(kEntrySize, '\0');
    put32(empty, kEntryLeftAt, kNoEntry);
    put32(empty, kEntryRightAt, kNoEntry);
    put32(empty, kEntryChildAt, kNoEntry);
    for (quint32 i = 2; i < kEntriesPerSector; ++i) bytes += empty;
    return bytes;
}

// A chain of count units from first on, in a table of whole sectors whose other entries are free.
std::vector<quint32> chainTable(quint32 count)
{
    std::vector<quint32> table(size_t(std::max<quint32>(1, sectorsFor(count, kPerSector))) * kPerSector, kFreeSector);
    for (quint32 i = 0; i < count; ++i) table[i] = i + 1 < count ? i + 1 : kEndOfChain;
    return table;
}

std::vector<quint32> fat(const Layout& layout)
{
    std::vector<quint32> table = chainTable(layout.dataSectors);
    table.resize(size_t(layout.fatCount) * kPerSector, kFreeSector);
    table[layout.directory] = kEndOfChain;
    if (layout.miniSectors > 0) table[layout.miniFat] = kEndOfChain;
    for (quint32 i = 0; i < layout.fatCount; ++i) table[layout.firstFat + i] = kFatSector;
    for (quint32 i = 0; i < layout.fatListCount; ++i) table[layout.firstFatList() + i] = kFatListSector;
    return table;
}

// The FAT sectors the header has no room for, kPerSector - 1 to a sector, each sector ending
// with the number of the next.
std::vector<quint32> fatList(const Layout& layout)
{
    std::vector<quint32> list(size_t(layout.fatListCount) * kPerSector, kFreeSector);
    for (quint32 i = kHeaderFatListLength; i < layout.fatCount; ++i) {
        const quint32 k = i - kHeaderFatListLength;
        list[(k / (kPerSector - 1)) * kPerSector + k % (kPerSector - 1)] = layout.firstFat + i;
    }
    for (quint32 s = 0; s < layout.fatListCount; ++s)
        list[size_t(s + 1) * kPerSector - 1] = s + 1 < layout.fatListCount ? layout.firstFatList() + s + 1 : kEndOfChain;
    return list;
}

} // namespace

CompoundFileWriter::CompoundFileWriter(QIODevice& device, const char* streamName)
    : device_(device), streamName_(QString::fromLatin1(streamName))
{
    write(QByteArray(kHeaderSize, '\0'));
}

void CompoundFileWriter::append(const char* data, qsizetype size)
{
    write(data, size);
    size_ += size;
}

void CompoundFileWriter::rewriteStart(const QByteArray& bytes)
{
    if (bytes.size() > size_) throw Error(XlsError::StreamStartTooLong);
    start_ = bytes;
}

void CompoundFileWriter::finish(qsizetype minimumSize)
{
    if (size_ < minimumSize) {
        const QByteArray zeros(minimumSize - size_, '\0');
        append(zeros.constData(), zeros.size());
    }
    const Layout layout{quint64(size_)};
    // The stream's last sector is filled up with zeros.
    write(QByteArray(qsizetype(layout.dataSectors) * kSector - size_, '\0'));
    write(directory(layout, streamName_));
    if (layout.miniSectors > 0) write(tableBytes(chainTable(layout.miniSectors)));
    write(tableBytes(fat(layout)));
    write(tableBytes(fatList(layout)));
    if (!start_.isEmpty()) {
        seek(kHeaderSize);
        write(start_);
    }
    seek(0);
    write(header(layout));
}

void CompoundFileWriter::write(const char* data, qsizetype size)
{
    if (size > 0 && device_.write(data, size) != size)
        throw Error(XlsError::DiskWriteFailed, {device_.errorString()});
}

void CompoundFileWriter::seek(qint64 offset)
{
    if (!device_.seek(offset)) throw Error(XlsError::DiskWriteFailed, {device_.errorString()});
}

} // namespace store::xls
