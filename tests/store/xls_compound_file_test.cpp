// Compound files laid out by hand, damaged the ways real files are: what loses nothing is read
// whole; a stream its chain cannot give whole (a loop, a sector
// past the end, a size that does not fit the chain) is refused as damaged, never read in part.
#include "error_message.h"
#include "store/StoreError.h"
#include "store/xls/XlsError.h"
#include "store/Workbook.h"
#include "store/xls/CompoundFile.h"
#include "store/xls/OleStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace store;

namespace {

constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr qsizetype kSector = 512;
constexpr qsizetype kMini = 64;

// Header fields, and where the tables of the layout below lie in the file.
constexpr qsizetype kFatCountAt = 44, kFirstFatListAt = 68, kFatListCountAt = 72, kHeaderFatListAt = 76;
constexpr qsizetype kFatAt = kSector;              // sector 0
constexpr qsizetype kDirectoryAt = 2 * kSector;    // sector 1
constexpr qsizetype kMiniFatAt = 3 * kSector;      // sector 2
constexpr quint32 kFirstDataSector = 3;
constexpr qsizetype kLeftAt = 68, kRightAt = 72, kChildAt = 76, kStartAt = 116, kSizeAt = 120;

void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i));
}

qsizetype sectorAt(quint32 sector) { return (qsizetype(sector) + 1) * kSector; }
qsizetype entryAt(int id) { return kDirectoryAt + 128 * id; }
qsizetype fatEntryAt(quint32 sector) { return kFatAt + 4 * qsizetype(sector); }

void putEntry(QByteArray& file, int id, const QString& name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    const qsizetype at = entryAt(id);
    for (qsizetype i = 0; i < name.size(); ++i) {
        file[at + 2 * i] = char(name[i].unicode());
        file[at + 2 * i + 1] = char(name[i].unicode() >> 8);
    }
    file[at + 64] = char(name.isEmpty() ? 0 : 2 * (name.size() + 1));
    file[at + 66] = char(type);
    put32(file, at + kLeftAt, kFree);
    put32(file, at + kRightAt, kFree);
    put32(file, at + kChildAt, child);
    put32(file, at + kStartAt, start);
    put32(file, at + kSizeAt, size);
}

// A compound file of 512-byte sectors holding one stream named Workbook: the FAT in sector 0,
// the directory in sector 1, the MiniFAT in sector 2, then the stream's sectors in order (or,
// for a stream below 4096 bytes, the root's mini stream that holds it).
QByteArray container(const QByteArray& stream)
{
    const bool mini = stream.size() < 4096;
    const qsizetype miniSectors = (stream.size() + kMini - 1) / kMini;
    const qsizetype dataBytes = mini ? miniSectors * kMini : stream.size();
    const quint32 dataSectors = quint32((dataBytes + kSector - 1) / kSector);
    QByteArray file(sectorAt(kFirstDataSector + dataSectors), '\0');
    file.replace(0, 8, QByteArray::fromHex("d0cf11e0a1b11ae1"));
    file.replace(24, 10, QByteArray::fromHex("3e000300feff09000600"));
    put32(file, kFatCountAt, 1);
    put32(file, 48, 1);                           // the directory
    put32(file, 56, 4096);                        // the mini stream cutoff
    put32(file, 60, mini ? 2 : kEnd);             // the MiniFAT
    put32(file, 64, mini ? 1 : 0);
    put32(file, kFirstFatListAt, kEnd);
    for (int i = 0; i < 109; ++i) put32(file, kHeaderFatListAt + 4 * i, i == 0 ? 0 : kFree);

    for (quint32 s = 0; s < kSector / 4; ++s) put32(file, fatEntryAt(s), kFree);
    put32(file, fatEntryAt(0), kFatSector);
    put32(file, fatEntryAt(1), kEnd);
    if (mini) put32(file, fatEntryAt(2), kEnd);
    for (quint32 s = kFirstDataSector; s < kFirstDataSector + dataSectors; ++s)
        put32(file, fatEntryAt(s), s + 1 < kFirstDataSector + dataSectors ? s + 1 : kEnd);
    for (quint32 m = 0; m < kSector / 4; ++m)
        put32(file, kMiniFatAt + 4 * m, m + 1 < miniSectors ? m + 1 : m + 1 == miniSectors ? kEnd : kFree);

    for (int id = 0; id < 4; ++id) putEntry(file, id, QString(), 0, kFree, 0, 0);
    putEntry(file, 0, QStringLiteral("Root Entry"), 5, 1, mini ? kFirstDataSector : kEnd, mini ? quint32(dataBytes) : 0);
    putEntry(file, 1, QStringLiteral("Workbook"), 2, kFree, mini ? 0 : kFirstDataSector, quint32(stream.size()));
    file.replace(sectorAt(kFirstDataSector), stream.size(), stream);
    return file;
}

// The same file grown past what one FAT sector covers, its FAT listed not in the header but in
// an extension sector at its end, whose chain goes on to next (itself when none): the second FAT
// sector the file's size calls for is never found.
QByteArray withFatListExtension(QByteArray file, bool listsFat, std::optional<quint32> next)
{
    file.append(QByteArray(kSector * kSector / 4, '\0'));
    const quint32 sector = quint32(file.size() / kSector - 1);
    file.append(QByteArray(kSector, '\xff'));
    put32(file, kHeaderFatListAt, kFree);
    put32(file, kFirstFatListAt, sector);
    put32(file, kFatListCountAt, 1);
    put32(file, file.size() - kSector, listsFat ? 0 : kFree);
    put32(file, file.size() - 4, next.value_or(sector));
    return file;
}

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

QByteArray ourRead(const QByteArray& file)
{
    return xls::CompoundFile(file).rootStream(QStringLiteral("Workbook")).value_or(QByteArray("(none)"));
}

// The Workbook stream of a workbook with a few hundred cells: some dozen sectors.
QByteArray realStream()
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    for (int row = 1; row <= 300; ++row) {
        sheet.setValue(row, 1, Value(QStringLiteral("Кукла %1").arg(row)));
        sheet.setValue(row, 2, Value(row * 2.5));
    }
    return xls::workbookStreamOf(book.toBytes());
}

QStringList cellsOf(const Workbook& book)
{
    QStringList cells;
    const Worksheet& sheet = book.sheets(1);
    for (int row = 1; row <= sheet.lastRow(); ++row)
        cells << sheet.value(row, 1).toText() + u'|' + sheet.value(row, 2).toText();
    return cells;
}

} // namespace

TEST(XlsCompoundFile, StreamsReadWholeFromEitherKindOfSector)
{
    const QByteArray big = pattern(5000), small = pattern(1000);
    EXPECT_EQ(ourRead(container(big)), big);
    EXPECT_EQ(ourRead(container(small)), small);
    EXPECT_EQ(xls::CompoundFile(container(small)).rootStream(QStringLiteral("WORKBOOK")), small);

    // Sectors out of order are gathered in the chain's order.
    QByteArray scattered = container(big);
    const QByteArray third = scattered.mid(sectorAt(5), kSector);
    scattered.replace(sectorAt(5), kSector, scattered.mid(sectorAt(6), kSector));
    scattered.replace(sectorAt(6), kSector, third);
    put32(scattered, fatEntryAt(4), 6);
    put32(scattered, fatEntryAt(6), 5);
    put32(scattered, fatEntryAt(5), 7);
    EXPECT_EQ(ourRead(scattered), big);
}

TEST(XlsCompoundFile, WrongFatCountAndShortFatListAreForgiven)
{
    const QByteArray stream = realStream();
    ASSERT_GT(stream.size(), 8 * kSector);
    ASSERT_LT(stream.size(), 100 * kSector);   // one FAT sector covers the file
    auto expected = Workbook::fromBytes(container(stream));
    ASSERT_EQ(cellsOf(*expected).size(), 300);

    // A header that counts 8,388,610 FAT sectors.
    QByteArray wrongCount = container(stream);
    put32(wrongCount, kFatCountAt, 0x00800002);
    // The list of FAT sectors cut short: its chain leads past the end of the file, or back to
    // itself.
    const QByteArray extensionPastEnd = withFatListExtension(container(stream), true, 4000);
    const QByteArray extensionLoop = withFatListExtension(container(stream), true, std::nullopt);
    // A file cut right after the stream's last byte, in the middle of its last sector.
    const QByteArray cutAfterStream = container(stream).left(sectorAt(kFirstDataSector) + stream.size());

    // A directory whose links loop, or lead out of it.
    QByteArray directoryLinks = wrongCount;
    put32(directoryLinks, entryAt(1) + kLeftAt, 1);
    put32(directoryLinks, entryAt(1) + kRightAt, 4);

    for (const QByteArray& file : {wrongCount, extensionPastEnd, extensionLoop, cutAfterStream, directoryLinks}) {
        EXPECT_EQ(ourRead(file), stream);
        std::unique_ptr<Workbook> book;
        ASSERT_NO_THROW(book = Workbook::fromBytes(file));
        EXPECT_EQ(cellsOf(*book), cellsOf(*expected));
    }
}

TEST(XlsCompoundFile, StreamsTheirChainsCannotGiveWholeAreRefused)
{
    const QByteArray stream = realStream();
    // Where the stream's last byte lies in the file.
    const qsizetype streamEnd = sectorAt(kFirstDataSector) + stream.size();
    const std::vector<std::pair<const char*, std::function<void(QByteArray&)>>> damages{
        {"chain loops", [](QByteArray& f) { put32(f, fatEntryAt(6), 4); }},
        {"chain leads past the end", [](QByteArray& f) { put32(f, fatEntryAt(6), 100); }},
        {"chain ends on a free sector", [](QByteArray& f) { put32(f, fatEntryAt(6), kFree); }},
        {"size beyond the chain", [&](QByteArray& f) { put32(f, entryAt(1) + kSizeAt, quint32(stream.size() + kSector)); }},
        {"size short of the chain", [&](QByteArray& f) { put32(f, entryAt(1) + kSizeAt, quint32(stream.size() - kSector)); }},
        {"file cut a byte short of the stream", [&](QByteArray& f) { f.truncate(streamEnd - 1); }},
        {"directory's chain loops", [](QByteArray& f) { put32(f, fatEntryAt(1), 1); }},
        {"FAT past the end", [](QByteArray& f) { put32(f, kHeaderFatListAt, 4000); }},
        {"FAT list's chain loops listing nothing", [](QByteArray& f) { f = withFatListExtension(f, false, std::nullopt); }},
    };
    for (const auto& [what, damage] : damages) {
        // With the header's FAT count wrong as well: the count forgiven leaves the damage told.
        QByteArray file = container(stream);
        put32(file, kFatCountAt, 0x00800002);
        damage(file);
        EXPECT_EQ(errorKind<xls::XlsError>([&] { ourRead(file); }), xls::XlsError::Damaged) << what;
        EXPECT_EQ(errorKind<xls::XlsError>([&] { Workbook::fromBytes(file); }), xls::XlsError::Damaged) << what;
    }

    // Mini sectors past the root's stream, in a loop, or fewer than the size needs.
    QByteArray shortRoot = container(pattern(1000));
    put32(shortRoot, entryAt(0) + kSizeAt, 512);
    QByteArray miniLoop = container(pattern(1000));
    put32(miniLoop, kMiniFatAt + 4 * 9, 3);
    QByteArray miniShortChain = container(pattern(1000));
    put32(miniShortChain, entryAt(1) + kSizeAt, 1000 + kMini);
    for (const QByteArray& file : {shortRoot, miniLoop, miniShortChain})
        EXPECT_EQ(errorKind<xls::XlsError>([&] { ourRead(file); }), xls::XlsError::Damaged);
}
