#pragma once

// Our writer of OLE2 compound files: version 3 (512-byte sectors), one stream directly under the
// root storage, laid out as a spreadsheet program lays out a workbook. The stream goes to the
// device as it comes, right after the header; the directory and the sector tables follow it, and
// the header is written last, over the place kept for it. So the stream is never held whole in
// memory, however big.

#include "store/xls/OleStream.h"

class QIODevice;

namespace store::xls {

class CompoundFileWriter final : public StreamSink {
public:
    // Begins a compound file on device, open for writing, empty and able to seek back.
    CompoundFileWriter(QIODevice& device, const char* streamName);

    void append(const char* data, qsizetype size) override;
    void rewriteStart(const QByteArray& bytes) override;

    // Pads the stream with zeros to at least minimumSize bytes and completes the file. Every
    // member throws store::Error with the reason alone when the device refuses a write.
    void finish(qsizetype minimumSize);

private:
    void write(const char* data, qsizetype size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    void seek(qint64 offset);

    QIODevice& device_;
    QString streamName_;
    qint64 size_ = 0;   // of the stream so far
    QByteArray start_;  // the stream's new beginning, written when the file is completed
};

} // namespace store::xls
