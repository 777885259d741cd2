#include "store/xls/LinkTable.h"

#include <algorithm>

namespace store::xls {

namespace {

// Options of a NAME record.
constexpr quint16 kNameIsFunction = 0x0002;
constexpr quint16 kNameIsBuiltIn = 0x0020;
// The second field of a SUPBOOK that stands for the workbook itself.
constexpr quint16 kSupBookSelf = 0x0401;

// The name of a NAME record that may be called as a function of the whole workbook: options,
// key, length, formula size, 2 bytes, sheet (0: the workbook), 4 lengths, then flags and characters.
QString workbookNameText(const QByteArray& data)
{
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    if (data.size() < 15) return {};
    if ((get16(p) & kNameIsBuiltIn) || get16(p + 8) != 0) return {};
    const int length = p[3];
    const bool wide = p[14] & 0x01;
    if (data.size() < 15 + length * (wide ? 2 : 1)) return {};
    if (!wide) return QString::fromLatin1(data.constData() + 15, length);
    QString text(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i) text[i] = QChar(get16(p + 15 + 2 * i));
    return text;
}

} // namespace

LinkTable::LinkTable(const std::vector<KeptRecord>& kept, int sheetCount) : kept_(kept), sheetCount_(sheetCount)
{
    for (size_t i = 0; i < kept_.size(); ++i)
        if (kept_[i].id == rec::Name) keptNames_.push_back(workbookNameText(keptData(i)));
    readKeptEntries();
}

// The data of the kept record at `at` with that of the CONTINUE records after it.
QByteArray LinkTable::keptData(size_t at) const
{
    QByteArray data = kept_[at].data;
    for (size_t next = at + 1; next < kept_.size() && kept_[next].id == rec::Continue; ++next) data += kept_[next].data;
    return data;
}

void LinkTable::readKeptEntries()
{
    for (size_t i = 0; i < kept_.size(); ++i) {
        const QByteArray data = kept_[i].id == rec::ExternSheet ? keptData(i) : kept_[i].data;
        const auto* p = reinterpret_cast<const uchar*>(data.constData());
        if (kept_[i].id == rec::SupBook) {
            if (data.size() == 4 && get16(p + 2) == kSupBookSelf) ownBook_ = quint16(keptBooks_);
            ++keptBooks_;
        } else if (kept_[i].id == rec::ExternSheet && data.size() >= 2) {
            keptExternSheet_ = true;
            const int count = std::min<int>(get16(p), int((data.size() - 2) / 6));
            for (int e = 0; e < count; ++e)
                keptEntries_.push_back({get16(p + 2 + 6 * e), get16(p + 4 + 6 * e), get16(p + 6 + 6 * e)});
        }
    }
}

quint16 LinkTable::sheetEntry(int firstTab, int lastTab)
{
    const quint16 book = ownBook_ ? *ownBook_ : quint16(keptBooks_);
    const SheetEntry wanted{book, quint16(firstTab), quint16(lastTab)};
    for (size_t i = 0; i < keptEntries_.size(); ++i)
        if (ownBook_ && keptEntries_[i] == wanted) return quint16(i);
    auto added = std::find(newEntries_.begin(), newEntries_.end(), wanted);
    if (added == newEntries_.end()) added = newEntries_.insert(newEntries_.end(), wanted);
    return quint16(keptEntries_.size() + size_t(added - newEntries_.begin()));
}

quint16 LinkTable::functionName(const QString& upperName)
{
    for (qsizetype i = 0; i < keptNames_.size(); ++i)
        if (keptNames_[i].compare(upperName, Qt::CaseInsensitive) == 0) return quint16(i + 1);
    qsizetype added = newNames_.indexOf(upperName);
    if (added < 0) {
        newNames_.push_back(upperName);
        added = newNames_.size() - 1;
    }
    return quint16(keptNames_.size() + added + 1);
}

// Names come last in the link table, so new ones simply follow all kept records. A workbook
// without a link table gets the SUPBOOK of its own sheets and an empty EXTERNSHEET before them,
// as spreadsheet programs write one.
// New EXTERNSHEET entries join the kept record, which is written anew; where the file had none,
// the SUPBOOK of the workbook and an EXTERNSHEET go before its first name.
void LinkTable::write(RecordWriter& out) const
{
    const bool ownLinksNeeded = !newEntries_.empty() && !keptExternSheet_;
    bool ownLinksWritten = false;
    bool rewritten = false;   // the last record was written anew, and with it what continued it
    for (const KeptRecord& record : kept_) {
        if (ownLinksNeeded && !ownLinksWritten && record.id == rec::Name) {
            writeOwnBook(out);
            writeExternSheet(out);
            ownLinksWritten = true;
        }
        if (record.id == rec::Continue && rewritten) continue;
        rewritten = record.id == rec::ExternSheet && !newEntries_.empty();
        if (rewritten) {
            if (!ownBook_) writeOwnBook(out);
            writeExternSheet(out);
        } else {
            out.record(record.id, record.data.constData(), quint16(record.data.size()));
        }
    }
    if (newNames_.isEmpty() && (!ownLinksNeeded || ownLinksWritten)) return;
    if (kept_.empty() || (ownLinksNeeded && !ownLinksWritten)) {
        writeOwnBook(out);
        writeExternSheet(out);
    }
    for (const QString& name : newNames_) writeFunctionName(out, name);
}

void LinkTable::writeOwnBook(RecordWriter& out) const
{
    out.begin(rec::SupBook);
    out.appendU16(quint16(sheetCount_));
    out.appendU16(kSupBookSelf);
    out.end();
}

// More entries than one record holds go on in CONTINUE records, never splitting an entry.
void LinkTable::writeExternSheet(RecordWriter& out) const
{
    ContinuedRecord record(out, rec::ExternSheet);
    record.appendU16(quint16(keptEntries_.size() + newEntries_.size()));
    for (const auto* entries : {&keptEntries_, &newEntries_}) {
        for (const SheetEntry& entry : *entries) {
            record.keepTogether(6);
            record.appendU16(entry.book);
            record.appendU16(entry.first);
            record.appendU16(entry.last);
        }
    }
    record.finish();
}

void LinkTable::writeFunctionName(RecordWriter& out, const QString& name) const
{
    out.begin(rec::Name);
    out.appendU16(kNameIsFunction);
    out.appendU8(0);                  // no keyboard shortcut
    out.appendU8(quint8(name.size()));
    out.appendU16(0);                 // no formula
    out.appendU16(0);
    out.appendU16(0);                 // the whole workbook
    out.appendU32(0);                 // no menu text, description, help or status text
    const bool compressed = fitsInLatin1(name);
    out.appendU8(compressed ? 0 : 1);
    out.appendChars(name, 0, name.size(), compressed);
    out.end();
}

} // namespace store::xls
