#pragma once

// The shared string table: every text cell of a workbook names its text by index into it.

#include "store/StringTable.h"
#include "store/xls/BiffRecords.h"

#include <QString>
#include <vector>

namespace store::xls {

// The shared string table a file gets: the workbook's texts that cells use, in the order of the
// workbook's string table. A table read from a file whose texts are all still used goes back as
// it came, every index unchanged; texts no cell uses any more are left out and the ones after
// them move up. Writes SST (with CONTINUE) and EXTSST into the globals.
class SstBuilder {
public:
    explicit SstBuilder(const StringTable& table) : table_(table), fileIndex_(table.size(), kUnused) {}
    // Counts one use of the table's text `index` (one text cell).
    void use(quint32 index)
    {
        ++total_;
        fileIndex_[index] = 0;
    }
    // Counts one use of a text that is in no table (the last value of a formula written without
    // it); it goes after the table's texts. Returns its place among such texts.
    quint32 useLoose(const QString& text)
    {
        ++total_;
        loose_.push_back(text);
        return quint32(loose_.size() - 1);
    }
    // Numbers the texts that are used, once every use is counted.
    void number();
    // The index in the file of the table's text `index`; after number().
    quint32 fileIndex(quint32 index) const { return fileIndex_[index]; }
    // The index in the file of loose text `place`; after number().
    quint32 looseFileIndex(quint32 place) const { return unique_ - quint32(loose_.size()) + place; }
    quint32 totalCount() const { return total_; }
    quint32 uniqueCount() const { return unique_; }
    // Writes SST and EXTSST; the buffer of out starts at stream offset streamBase.
    void write(RecordWriter& out, qsizetype streamBase) const;

private:
    static constexpr quint32 kUnused = 0xFFFFFFFF;
    const StringTable& table_;
    std::vector<quint32> fileIndex_;   // by index in the table
    std::vector<QString> loose_;
    quint32 total_ = 0;
    quint32 unique_ = 0;
};

// The strings of an SST record whose CONTINUE records were added to the reader already.
std::vector<QString> readSst(FieldReader& reader);

} // namespace store::xls
