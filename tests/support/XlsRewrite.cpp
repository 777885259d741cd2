#include "tests/support/XlsRewrite.h"

#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"

#include <vector>

namespace testsupport {

using namespace store::xls;

void rewriteXls(const QString& from, const QString& to, const RecordChange& change)
{
    const QByteArray stream = readWorkbookStream(from);
    RecordWriter out;
    std::vector<qsizetype> offsetFields, sheetStarts;
    RecordReader reader(stream, 0);
    bool inGlobals = true;
    while (auto r = reader.next()) {
        if (r->id == 0 && r->size == 0) break;   // the zeros that pad the stream
        const std::optional<RawRecord> changed =
            change({r->id, QByteArray(reinterpret_cast<const char*>(r->data), r->size)});
        if (!changed) continue;
        if (changed->id == rec::Bof && !inGlobals) sheetStarts.push_back(out.size());
        if (changed->id == rec::BoundSheet) offsetFields.push_back(out.size() + 4);
        if (changed->id == rec::Eof) inGlobals = false;
        out.record(changed->id, changed->data.constData(), quint16(changed->data.size()));
    }
    for (size_t i = 0; i < offsetFields.size() && i < sheetStarts.size(); ++i)
        out.patch32(offsetFields[i], quint32(sheetStarts[i]));
    const QByteArray rewritten = out.data();
    writeWorkbookStream(to, {&rewritten}, 4096);
}

QByteArray boundSheetNamed(const QByteArray& data, const QString& name)
{
    QByteArray named = data.left(6);
    named.append(char(name.size())).append('\x01');
    for (QChar c : name) named.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return named;
}

} // namespace testsupport
