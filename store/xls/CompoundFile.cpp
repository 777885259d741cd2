#include "store/xls/CompoundFile.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"
#include "store/xls/CompoundFileFormat.h"

#include <algorithm>

namespace store::xls {

using namespace compound;

namespace {

[[noreturn]] void refuseDamaged()
{
    throw Error(XlsError::Damaged);
}

quint16 le16(const char* at)
{
    const auto* b = reinterpret_cast<const uchar*>(at);
    return quint16(b[0] | b[1] << 8);
}

quint32 le32(const char* at)
{
    const auto* b = reinterpret_cast<const uchar*>(at);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

} // namespace

CompoundFile::CompoundFile(const QByteArray& bytes)
    : bytes_(bytes)
{
    if (bytes_.size() < kHeaderSize || le16(bytes_.constData() + kByteOrderAt) != kLittleEndian) refuseDamaged();
    sectorShift_ = le16(bytes_.constData() + kSectorShiftAt);
    miniShift_ = le16(bytes_.constData() + kMiniSectorShiftAt);
    if ((sectorShift_ != kSmallSectorShift && sectorShift_ != kLargeSectorShift) || miniShift_ > sectorShift_)
        refuseDamaged();
    miniCutoff_ = word(kMiniStreamCutoffAt);
    // The header takes the place of sector -1; the last sector may be cut short.
    sectorCount_ = quint32(std::max<qsizetype>(0, (bytes_.size() - 1) >> sectorShift_));
    fat_ = sectorTable(fatSectors());
    fat_.resize(sectorCount_, kFreeSector);
    entries_ = directory();
    if (entries_.empty() || entries_[0].type != RootEntry) refuseDamaged();
    rootChildren_ = rootChildren();
}

quint32 CompoundFile::word(qsizetype at) const
{
    return le32(bytes_.constData() + at);
}

qsizetype CompoundFile::sectorOffset(quint32 sector) const
{
    return (qsizetype(sector) + 1) << sectorShift_;
}

// The entries held in the given sectors, one after the other. Entries the file does not hold
// (a sector past its end, or cut by it) are free, so a chain that meets them ends as damaged.
CompoundFile::Table CompoundFile::sectorTable(const Table& sectors) const
{
    const qsizetype perSector = (qsizetype(1) << sectorShift_) / 4;
    Table table(size_t(sectors.size() * perSector), kFreeSector);
    for (size_t i = 0; i < sectors.size(); ++i) {
        if (sectors[i] >= sectorCount_) continue;
        const qsizetype offset = sectorOffset(sectors[i]);
        const qsizetype held = std::min(perSector, (bytes_.size() - offset) / 4);
        for (qsizetype k = 0; k < held; ++k) table[i * perSector + k] = word(offset + 4 * k);
    }
    return table;
}

// The sectors that hold the FAT, in order, as many as the sectors of the file need. The count
// the header gives is not used: files are met whose count is wrong while the list itself is
// whole. Free entries in the list are passed over, as other readers do, and the list ends early
// where its chain of extension sectors does (at its end, past the end of the file, or where it
// comes back on itself); the FAT entries of what is not listed are then unknown.
CompoundFile::Table CompoundFile::fatSectors() const
{
    const qsizetype perSector = (qsizetype(1) << sectorShift_) / 4;
    const size_t needed = size_t((qsizetype(sectorCount_) + perSector - 1) / perSector);
    Table sectors;
    const auto take = [&](quint32 sector) {
        if (sector != kFreeSector && sector != kEndOfChain && sectors.size() < needed) sectors.push_back(sector);
    };
    for (int i = 0; i < kHeaderFatListLength; ++i) take(word(kHeaderFatListAt + 4 * i));

    quint32 next = word(kFirstFatListSectorAt);
    // Some writers put 0 rather than the end of chain where there is no extension.
    if (next == 0 && word(kFatListSectorCountAt) == 0) next = kEndOfChain;
    std::vector<bool> seen(sectorCount_);
    while (sectors.size() < needed && next < sectorCount_ && !seen[next]) {
        seen[next] = true;
        const qsizetype offset = sectorOffset(next);
        if (offset + perSector * 4 > bytes_.size()) break;
        for (qsizetype k = 0; k + 1 < perSector; ++k) take(word(offset + 4 * k));
        next = word(offset + 4 * (perSector - 1));
    }
    return sectors;
}

// The sectors of the chain from start to its end, which must be there.
CompoundFile::Table CompoundFile::chainToEnd(const Table& table, quint32 start) const
{
    Table chain;
    std::vector<bool> seen(table.size());
    for (quint32 sector = start; sector != kEndOfChain; sector = table[sector]) {
        if (sector >= table.size() || seen[sector]) refuseDamaged();
        seen[sector] = true;
        chain.push_back(sector);
    }
    return chain;
}

// The sectors of the chain from start of a stream of size bytes, in units of unit bytes: as
// many as the size needs, and the chain must end there. A shorter chain would cut the stream;
// a longer one tells that the size itself is wrong, and the stream would be cut as well. A chain
// that comes back on itself never ends, so it is refused here too.
CompoundFile::Table CompoundFile::chainOfSize(const Table& table, quint32 start, quint64 size, qsizetype unit) const
{
    const quint64 count = (size + quint64(unit) - 1) / quint64(unit);
    if (count > table.size()) refuseDamaged();
    Table chain;
    chain.reserve(size_t(count));
    quint32 sector = start;
    while (chain.size() < count) {
        if (sector >= table.size()) refuseDamaged();
        chain.push_back(sector);
        sector = table[sector];
    }
    if (sector != kEndOfChain) refuseDamaged();
    return chain;
}

std::vector<CompoundFile::Entry> CompoundFile::directory() const
{
    const qsizetype sectorSize = qsizetype(1) << sectorShift_;
    std::vector<Entry> entries;
    for (const quint32 sector : chainToEnd(fat_, word(kFirstDirectorySectorAt))) {
        const qsizetype start = sectorOffset(sector);
        if (start + sectorSize > bytes_.size()) refuseDamaged();
        for (qsizetype at = start; at < start + sectorSize; at += kEntrySize) {
            const char* raw = bytes_.constData() + at;
            Entry entry;
            const qsizetype nameBytes = std::min<qsizetype>(le16(raw + kEntryNameBytes), kEntryNameBytes);
            for (qsizetype k = 0; k + 1 < nameBytes; k += 2) {
                const char16_t unit = le16(raw + k);
                if (unit == 0) break;
                entry.name.append(QChar(unit));
            }
            entry.type = quint8(raw[kEntryTypeAt]);
            entry.left = le32(raw + kEntryLeftAt);
            entry.right = le32(raw + kEntryRightAt);
            entry.child = le32(raw + kEntryChildAt);
            entry.start = le32(raw + kEntryStartAt);
            // Files with 512-byte sectors hold no stream of 4 GB or more; older writers left
            // anything in the upper half of the size.
            entry.size = le32(raw + kEntrySizeAt);
            if (sectorShift_ == kLargeSectorShift) entry.size |= quint64(le32(raw + kEntrySizeAt + 4)) << 32;
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

// The entries in the root storage: the tree under the root's child, each entry once. Links out
// of the directory or back into the tree are passed over, as other readers do: what is read through
// the entries that are reached is whole all the same.
std::vector<quint32> CompoundFile::rootChildren() const
{
    std::vector<quint32> children;
    std::vector<bool> seen(entries_.size());
    seen[0] = true;
    std::vector<quint32> pending{entries_[0].child};
    while (!pending.empty()) {
        const quint32 id = pending.back();
        pending.pop_back();
        if (id >= entries_.size() || seen[id]) continue;
        seen[id] = true;
        children.push_back(id);
        pending.push_back(entries_[id].right);
        pending.push_back(entries_[id].left);
    }
    return children;
}

std::optional<QByteArray> CompoundFile::rootStream(const QString& name) const
{
    for (const quint32 id : rootChildren_) {
        const Entry& entry = entries_[id];
        if (entry.type != StreamEntry || entry.name.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (entry.size > quint64(bytes_.size())) refuseDamaged();
        if (entry.size == 0) return QByteArray();
        return entry.size < miniCutoff_ ? miniStream(entry) : regularStream(entry);
    }
    return std::nullopt;
}

QByteArray CompoundFile::regularStream(const Entry& entry) const
{
    const qsizetype sectorSize = qsizetype(1) << sectorShift_;
    const qsizetype size = qsizetype(entry.size);
    const Table chain = chainOfSize(fat_, entry.start, entry.size, sectorSize);
    // The file's last sector may be cut short: what the stream needs of each must be there.
    bool contiguous = true;
    for (size_t k = 0; k < chain.size(); ++k) {
        const qsizetype wanted = std::min(sectorSize, size - qsizetype(k) * sectorSize);
        if (sectorOffset(chain[k]) + wanted > bytes_.size()) refuseDamaged();
        contiguous = contiguous && chain[k] == chain[0] + k;
    }
    if (contiguous) return QByteArray::fromRawData(bytes_.constData() + sectorOffset(chain[0]), size);

    QByteArray stream;
    stream.reserve(size);
    for (const quint32 sector : chain)
        stream.append(bytes_.constData() + sectorOffset(sector), std::min(sectorSize, size - stream.size()));
    return stream;
}

// A stream below the cutoff, held in mini sectors inside the root entry's stream.
QByteArray CompoundFile::miniStream(const Entry& entry) const
{
    const Entry& root = entries_[0];
    const Table container = chainToEnd(fat_, root.start);
    const Table miniFat = sectorTable(chainToEnd(fat_, word(kFirstMiniFatSectorAt)));
    const qsizetype miniSize = qsizetype(1) << miniShift_;
    const qsizetype sectorSize = qsizetype(1) << sectorShift_;
    const qsizetype size = qsizetype(entry.size);

    QByteArray stream;
    stream.reserve(size);
    for (const quint32 mini : chainOfSize(miniFat, entry.start, entry.size, miniSize)) {
        const qsizetype wanted = std::min(miniSize, size - stream.size());
        const qint64 at = qint64(mini) << miniShift_;
        const quint64 index = quint64(at >> sectorShift_);
        if (quint64(at + wanted) > root.size || index >= container.size()) refuseDamaged();
        const qsizetype offset = sectorOffset(container[index]) + (at & (sectorSize - 1));
        if (offset + wanted > bytes_.size()) refuseDamaged();
        stream.append(bytes_.constData() + offset, wanted);
    }
    return stream;
}

} // namespace store::xls
