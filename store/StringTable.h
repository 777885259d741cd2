#pragma once

#include <QHash>
#include <QString>
#include <unordered_map>
#include <vector>

namespace store {

// The texts of a workbook's cells, each held once; a text cell names its text by index. A workbook
// read from a file starts with the file's own shared string table, in the file's order, so that
// reading it costs no lookup and saving it again reuses every index.
class StringTable {
public:
    // The index of text, added when the table does not hold it yet.
    quint32 add(const QString& text);
    const QString& at(quint32 index) const { return strings_[index]; }
    quint32 size() const { return quint32(strings_.size()); }

    // Takes the texts of a file's shared string table as they are, duplicates included; texts
    // already in the table keep their indices and the file's come after them. Returns the index
    // of the file's first text.
    quint32 adopt(std::vector<QString> strings);

private:
    void buildIndex() const;

    std::vector<QString> strings_;
    // Index of every text, built on the first add: a workbook that is only read never needs it.
    mutable std::unordered_map<QString, quint32> index_;
    mutable bool indexed_ = false;
};

} // namespace store
