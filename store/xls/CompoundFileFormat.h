#pragma once

// Where things lie in an OLE2 compound file, for its reader and its writer.

#include <QByteArray>

namespace store::xls::compound {

// The first bytes of every compound file.
inline const QByteArray kSignature = QByteArray::fromHex("d0cf11e0a1b11ae1");

// Sector numbers that mean something else than a sector.
constexpr quint32 kFatListSector = 0xFFFFFFFC;   // holds part of the list of FAT sectors
constexpr quint32 kFatSector = 0xFFFFFFFD;       // holds part of the FAT
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kNoEntry = 0xFFFFFFFF;         // a directory link that leads nowhere

// The header.
constexpr qsizetype kHeaderSize = 512;
constexpr qsizetype kMinorVersionAt = 24;
constexpr qsizetype kByteOrderAt = 28;
constexpr qsizetype kSectorShiftAt = 30;
constexpr qsizetype kMiniSectorShiftAt = 32;
constexpr qsizetype kFatSectorCountAt = 44;
constexpr qsizetype kFirstDirectorySectorAt = 48;
constexpr qsizetype kMiniStreamCutoffAt = 56;
constexpr qsizetype kFirstMiniFatSectorAt = 60;
constexpr qsizetype kMiniFatSectorCountAt = 64;
constexpr qsizetype kFirstFatListSectorAt = 68;
constexpr qsizetype kFatListSectorCountAt = 72;
constexpr qsizetype kHeaderFatListAt = 76;
constexpr int kHeaderFatListLength = 109;
constexpr quint16 kLittleEndian = 0xFFFE;
constexpr int kSmallSectorShift = 9;    // 512-byte sectors
constexpr int kLargeSectorShift = 12;   // 4096-byte sectors
constexpr int kMiniSectorShift = 6;     // 64-byte mini sectors
constexpr quint32 kMiniStreamCutoff = 4096;

// A directory entry.
constexpr qsizetype kEntrySize = 128;
constexpr qsizetype kEntryNameBytes = 64;   // the name, UTF-16, and at this offset its length in bytes
constexpr qsizetype kEntryTypeAt = 66;
constexpr qsizetype kEntryColourAt = 67;
constexpr qsizetype kEntryLeftAt = 68;
constexpr qsizetype kEntryRightAt = 72;
constexpr qsizetype kEntryChildAt = 76;
constexpr qsizetype kEntryClassAt = 80;
constexpr qsizetype kEntryStartAt = 116;
constexpr qsizetype kEntrySizeAt = 120;
enum EntryType : quint8 { StreamEntry = 2, RootEntry = 5 };

} // namespace store::xls::compound
