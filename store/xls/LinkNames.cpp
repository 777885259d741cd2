#include "store/xls/LinkNames.h"

#include "store/StoreError.h"
#include "store/formula/BiffFormula.h"
#include "store/xls/BiffRecords.h"

#include <algorithm>

namespace store::xls {

namespace {

using Book = BiffWorkbookNames::Book;

// SUPBOOK's character count in place of a file: the workbook itself, or its add-in functions.
constexpr quint16 kOwnBook = 0x0401;
constexpr quint16 kAddIns = 0x3A01;

constexpr quint16 kNameFunction = 0x0002;
constexpr quint16 kNameBuiltIn = 0x0020;

// Built-in names are stored as one character, their number.
QString builtInName(ushort code)
{
    static const char* const names[] = {
        "Consolidate_Area", "Auto_Open", "Auto_Close", "Extract", "Database", "Criteria", "Print_Area",
        "Print_Titles", "Recorder", "Data_Form", "Auto_Activate", "Auto_Deactivate", "Sheet_Title",
        "_FilterDatabase",
    };
    return code < std::size(names) ? QLatin1String(names[code]) : QString();
}

// The file of a link as stored: a leading 0x01 marks the encoded form, where 0x01 X is the drive
// "X:" (or "\\" before a network path), 0x02 starts at the drive's root, 0x03 separates folders
// and 0x04 goes up one; 0x05 brings an address as it is.
QString decodedPath(const QString& stored)
{
    if (!stored.startsWith(QChar(0x01))) return stored;
    QString path;
    for (qsizetype i = 1; i < stored.size(); ++i) {
        const ushort ch = stored[i].unicode();
        if (ch == 0x01 && i + 1 < stored.size()) {
            const QChar drive = stored[++i];
            path += drive == u'@' ? QStringLiteral("\\\\") : QString(drive) + u':';
        } else if (ch == 0x02 || ch == 0x03) {
            path += u'\\';
        } else if (ch == 0x04) {
            path += QStringLiteral("..\\");
        } else if (ch == 0x05) {
            ++i;   // the length of an address given as it is, which follows
        } else if (ch >= 0x20) {
            path += stored[i];
        }
    }
    return path;
}

Book readSupBook(FieldReader& fields)
{
    Book book;
    const quint16 sheetCount = fields.u16();
    const quint16 length = fields.u16();
    if (length == kOwnBook) {
        book.kind = Book::Kind::Own;
        return book;
    }
    if (length == kAddIns) {
        book.kind = Book::Kind::AddIns;
        return book;
    }
    const bool highBytes = fields.u8() & 0x01;
    const QString stored = fields.chars(length, highBytes);
    if (!stored.startsWith(QChar(0x01)) && stored.contains(QChar(0x03))) {   // a DDE or OLE link: program, topic
        book.file = QString(stored).replace(QChar(0x03), u'|');
        return book;
    }
    book.kind = Book::Kind::External;
    const QString path = decodedPath(stored);
    const qsizetype slash = path.lastIndexOf(u'\\');
    book.directory = path.left(slash + 1);
    book.file = path.mid(slash + 1);
    for (quint16 i = 0; i < sheetCount; ++i) book.sheets.push_back(fields.unicodeString());
    return book;
}

// EXTERNNAME: flags, four bytes, then the name with an 8-bit length.
QString readExternName(FieldReader& fields)
{
    fields.skip(6);
    return fields.unicodeString(true);
}

void readExternSheet(FieldReader& fields, std::vector<BiffWorkbookNames::SheetSpan>& spans)
{
    const quint16 count = fields.u16();
    for (quint16 i = 0; i < count; ++i) {
        BiffWorkbookNames::SheetSpan span;
        span.book = fields.u16();
        span.first = fields.u16();
        span.last = fields.u16();
        spans.push_back(span);
    }
}

BiffWorkbookNames::DefinedName readName(FieldReader& fields)
{
    BiffWorkbookNames::DefinedName name;
    const quint16 options = fields.u16();
    fields.u8();   // keyboard shortcut
    const quint8 length = fields.u8();
    const quint16 formulaSize = fields.u16();
    fields.skip(2);   // reserved
    name.sheet = fields.u16();
    const quint32 textLengths = fields.u8() + fields.u8() + fields.u8() + fields.u8();   // menu, description, help, status
    const bool highBytes = fields.u8() & 0x01;
    name.name = fields.chars(length, highBytes);
    if ((options & kNameBuiltIn) && !name.name.isEmpty()) name.name = builtInName(name.name[0].unicode());
    name.function = options & kNameFunction;
    constexpr int kNameTextAt = 15;   // after the fields above and the text's flags
    name.tokensAt = kNameTextAt + length * (highBytes ? 2 : 1);
    name.tokens = fields.bytes(formulaSize);
    // The constants of the definition's arrays fill what is left before the texts, which are
    // empty in every workbook but old ones.
    if (textLengths == 0) name.constants = fields.bytes(fields.remainingInSegment());
    return name;
}

} // namespace

BiffWorkbookNames readLinkNames(const std::vector<KeptRecord>& links, std::vector<QString> sheets)
{
    BiffWorkbookNames names;
    names.sheets = std::move(sheets);
    for (size_t i = 0; i < links.size(); ++i) {
        const KeptRecord& kept = links[i];
        if (kept.id == rec::Continue) continue;
        const auto recordOf = [](const KeptRecord& r) {
            return Record{r.id, reinterpret_cast<const uchar*>(r.data.constData()), quint16(r.data.size()), 0};
        };
        FieldReader fields(recordOf(kept));
        for (size_t next = i + 1; next < links.size() && links[next].id == rec::Continue; ++next)
            fields.addContinue(recordOf(links[next]));
        // Entries keep their places even when a record is damaged: tokens count them.
        try {
            switch (kept.id) {
            case rec::SupBook: names.books.push_back({}); names.books.back() = readSupBook(fields); break;
            case rec::ExternName:
                if (!names.books.empty()) {
                    names.books.back().names.push_back({});
                    names.books.back().names.back() = readExternName(fields);
                }
                break;
            case rec::ExternSheet: readExternSheet(fields, names.spans); break;
            case rec::Name:
                names.names.push_back({});
                names.names.back() = readName(fields);
                names.names.back().record = int(i);
                break;
            default: break;
            }
        } catch (const Error&) {
        }
    }
    return names;
}

void namesAfterDeletedRows(std::vector<KeptRecord>& links, BiffWorkbookNames& names, const QString& sheet,
                           int first, int count)
{
    const auto tab = std::find_if(names.sheets.begin(), names.sheets.end(),
                                  [&](const QString& name) { return name.compare(sheet, Qt::CaseInsensitive) == 0; });
    if (tab == names.sheets.end()) return;
    const int deletedTab = int(tab - names.sheets.begin());
    const auto onSheet = [&](quint16 entry) {
        if (entry >= names.spans.size()) return false;
        const BiffWorkbookNames::SheetSpan& span = names.spans[entry];
        return span.book >= 0 && size_t(span.book) < names.books.size()
            && names.books[size_t(span.book)].kind == Book::Kind::Own && span.first == deletedTab && span.last == deletedTab;
    };
    for (BiffWorkbookNames::DefinedName& name : names.names) {
        const size_t record = size_t(name.record);
        if (name.record < 0 || record >= links.size() || name.tokens.isEmpty()) continue;
        QByteArray& data = links[record].data;
        const bool continued = record + 1 < links.size() && links[record + 1].id == rec::Continue;
        if (continued || name.tokensAt + name.tokens.size() > data.size()) continue;
        const auto moved = tokensAfterDeletedRows(name.tokens, first, count, onSheet);
        if (!moved || moved->size() != name.tokens.size()) continue;
        data.replace(name.tokensAt, moved->size(), *moved);
        name.tokens = *moved;
    }
}

} // namespace store::xls
