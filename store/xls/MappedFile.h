#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace store::xls {

// A file read where the system already holds it: mapped into memory rather than copied, so a big
// workbook costs no fresh memory and no copy to read. Another program may cut the file short
// while it is mapped; the pages it no longer has then read as zeros instead of ending the
// process, and wasCut() tells so. Where the system cannot map the file (an empty file, a pipe, a
// file system without mappings) the bytes are read into memory instead.
class MappedFile {
public:
    // Throws store::Error with the reason alone when the file is missing or cannot be read.
    explicit MappedFile(const QString& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const QByteArray& bytes() const { return bytes_; }
    // Nobody reads the bytes before `end` again: they leave this process's memory.
    void giveBack(const char* end);
    // A page went missing while the file was mapped: some of the bytes read as zeros.
    bool wasCut() const;

private:
    char* data_ = nullptr;   // the mapping, when the file is mapped
    std::size_t size_ = 0;
    char* released_ = nullptr;
    int guard_ = -1;         // the file's place among the guarded mappings
    QByteArray bytes_;
};

} // namespace store::xls
