#pragma once

// The shared string table: every text cell of a workbook names its text by index into it.

#include "store/xls/BiffRecords.h"

#include <QString>
#include <unordered_map>
#include <vector>

namespace store::xls {

// Collects the texts of the cells while the sheets are written, then writes SST (with CONTINUE)
// and EXTSST into the globals.
class SstBuilder {
public:
    // Room for this many different texts, so that the table is not rebuilt while it grows.
    void reserve(size_t count) { index_.reserve(count); strings_.reserve(count); }
    // The index of text, added when new; every call counts one use.
    quint32 add(const QString& text);
    quint32 totalCount() const { return total_; }
    quint32 uniqueCount() const { return quint32(strings_.size()); }
    // Writes SST and EXTSST; the buffer of out starts at stream offset streamBase.
    void write(RecordWriter& out, qsizetype streamBase) const;

private:
    std::unordered_map<QString, quint32> index_;
    std::vector<QString> strings_;
    quint32 total_ = 0;
};

// The strings of an SST record whose CONTINUE records were added to the reader already.
std::vector<QString> readSst(FieldReader& reader);

} // namespace store::xls
