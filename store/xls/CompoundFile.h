#pragma once

// Our reader of OLE2 compound files: it forgives what the readers the shop keeper also uses
// forgive (a wrong count in the header, a table of FAT sectors that ends early or points past
// the end of a cut file) and refuses whatever would hand out a stream other than the one written.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace store::xls {

class CompoundFile {
public:
    // Reads the header, the sector allocation table and the directory of the compound file in
    // bytes, which must outlive this. Throws store::Error(XlsError::Damaged) when they cannot
    // be read.
    explicit CompoundFile(const QByteArray& bytes);

    // The stream directly in the root storage whose name matches, case ignored; nothing when
    // there is none. Where its sectors follow one another in the file the result points into
    // the file's bytes, otherwise it is a copy. Throws store::Error(XlsError::Damaged) when the
    // stream cannot be read whole: its sectors lead past the file, into a loop, or are fewer or
    // more than its size needs.
    std::optional<QByteArray> rootStream(const QString& name) const;

private:
    struct Entry {
        QString name;
        quint8 type = 0;
        quint32 left = 0;
        quint32 right = 0;
        quint32 child = 0;
        quint32 start = 0;
        quint64 size = 0;
    };

    using Table = std::vector<quint32>;

    quint32 word(qsizetype at) const;
    qsizetype sectorOffset(quint32 sector) const;
    Table sectorTable(const Table& sectors) const;
    Table fatSectors() const;
    Table chainToEnd(const Table& table, quint32 start) const;
    Table chainOfSize(const Table& table, quint32 start, quint64 size, qsizetype unit) const;
    std::vector<Entry> directory() const;
    std::vector<quint32> rootChildren() const;
    QByteArray regularStream(const Entry& entry) const;
    QByteArray miniStream(const Entry& entry) const;

    const QByteArray& bytes_;
    int sectorShift_ = 0;
    int miniShift_ = 0;
    quint32 miniCutoff_ = 0;
    quint32 sectorCount_ = 0;   // sectors of which the file holds at least a byte
    Table fat_;                 // one entry per sector in the file; free where the FAT is lost
    std::vector<Entry> entries_;
    std::vector<quint32> rootChildren_;
};

} // namespace store::xls
