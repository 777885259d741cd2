#include "store/xls/LinkTable.h"

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
    for (size_t i = 0; i < kept_.size(); ++i) {
        if (kept_[i].id != rec::Name) continue;
        QByteArray data = kept_[i].data;
        for (size_t next = i + 1; next < kept_.size() && kept_[next].id == rec::Continue; ++next) data += kept_[next].data;
        keptNames_.push_back(workbookNameText(data));
    }
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
void LinkTable::write(RecordWriter& out) const
{
    for (const KeptRecord& record : kept_) out.record(record.id, record.data.constData(), quint16(record.data.size()));
    if (newNames_.isEmpty()) return;
    if (kept_.empty()) {
        out.begin(rec::SupBook);
        out.appendU16(quint16(sheetCount_));
        out.appendU16(kSupBookSelf);
        out.end();
        out.begin(rec::ExternSheet);
        out.appendU16(0);
        out.end();
    }
    for (const QString& name : newNames_) writeFunctionName(out, name);
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
