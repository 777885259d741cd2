#include "store/xls/Sst.h"

#include "store/StoreError.h"

namespace store::xls {

void SstBuilder::number()
{
    unique_ = 0;
    for (quint32& index : fileIndex_)
        if (index != kUnused) index = unique_++;
    unique_ += quint32(loose_.size());
}

void SstBuilder::write(RecordWriter& out, qsizetype streamBase) const
{
    // EXTSST lets a reader find every bucket's first string without reading those before it.
    const quint32 unique = uniqueCount();
    const quint32 bucketSize = std::max<quint32>(8, (unique + 127) / 128);
    struct BucketStart { quint32 streamOffset; quint16 offsetInRecord; };
    std::vector<BucketStart> buckets;
    buckets.reserve((unique + bucketSize - 1) / bucketSize);

    ContinuedRecord sst(out, rec::Sst);
    sst.appendU32(total_);
    sst.appendU32(unique);
    quint32 written = 0;
    const auto append = [&](const QString& text) {
        if (written++ % bucketSize == 0) {
            // Where the string starts, after any CONTINUE its header needs.
            sst.keepStringHeadTogether(text);
            buckets.push_back({quint32(streamBase + sst.position()), quint16(sst.offsetInRecord())});
        }
        sst.appendString(text);
    };
    for (quint32 t = 0; t < fileIndex_.size(); ++t)
        if (fileIndex_[t] != kUnused) append(table_.at(t));
    for (const QString& text : loose_) append(text);
    sst.finish();

    out.begin(rec::ExtSst);
    out.appendU16(quint16(bucketSize));
    for (const auto& b : buckets) {
        out.appendU32(b.streamOffset);
        out.appendU16(b.offsetInRecord);
        out.appendU16(0);
    }
    out.end();
}

std::vector<QString> readSst(FieldReader& reader)
{
    reader.u32();   // total count of uses: nothing to check it against here
    const quint32 unique = reader.u32();
    std::vector<QString> strings;
    strings.reserve(std::min<quint32>(unique, 1u << 20));
    // Some writers declare more strings than they write: the table holds what is there, and a
    // cell pointing past it is refused when it is read.
    for (quint32 i = 0; i < unique && !reader.atEnd(); ++i) strings.push_back(reader.unicodeString());
    return strings;
}

} // namespace store::xls
