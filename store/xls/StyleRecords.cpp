#include "store/xls/StyleRecords.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"

namespace store::xls {

namespace {

// Bits of a packed field.
constexpr quint32 bits(quint32 value, int from, int count) { return (value >> from) & ((1u << count) - 1); }
constexpr quint32 place(quint32 value, int from, int count) { return (value & ((1u << count) - 1)) << from; }

constexpr quint16 kFontBold = 0x0001;   // kept in step with the weight for older readers
constexpr quint16 kFontItalic = 0x0002;
constexpr quint16 kFontStrikeout = 0x0008;
constexpr quint16 kStyleParentNone = 0x0FFF;
constexpr quint16 kMaxFonts = 511;

} // namespace

Font readFont(FieldReader& reader)
{
    Font font;
    font.height = reader.u16();
    const quint16 flags = reader.u16();
    font.italic = flags & kFontItalic;
    font.strikeout = flags & kFontStrikeout;
    font.colorIndex = reader.u16();
    font.weight = reader.u16();
    font.escapement = reader.u16();
    font.underline = reader.u8();
    font.family = reader.u8();
    font.charset = reader.u8();
    reader.u8();
    font.name = reader.unicodeString(true);
    return font;
}

void writeFont(RecordWriter& out, const Font& font)
{
    out.begin(rec::Font);
    out.appendU16(font.height);
    out.appendU16(quint16((font.weight > 400 ? kFontBold : 0) | (font.italic ? kFontItalic : 0)
                          | (font.strikeout ? kFontStrikeout : 0)));
    out.appendU16(font.colorIndex);
    out.appendU16(font.weight);
    out.appendU16(font.escapement);
    out.appendU8(font.underline);
    out.appendU8(font.family);
    out.appendU8(font.charset);
    out.appendU8(0);
    out.appendUnicodeString(font.name, true);
    out.end();
}

std::pair<quint16, QString> readNumberFormat(FieldReader& reader)
{
    const quint16 index = reader.u16();
    return {index, reader.truncatedUnicodeString()};
}

void writeNumberFormat(RecordWriter& out, quint16 index, const QString& code)
{
    out.begin(rec::Format);
    out.appendU16(index);
    out.appendUnicodeString(code);
    out.end();
}

CellFormat readXf(FieldReader& reader)
{
    CellFormat f;
    f.font = reader.u16();
    f.numberFormat = reader.u16();
    const quint16 type = reader.u16();
    f.locked = bits(type, 0, 1);
    f.hidden = bits(type, 1, 1);
    f.isStyle = bits(type, 2, 1);
    f.parentStyle = f.isStyle ? 0 : quint16(bits(type, 4, 12));
    const quint8 align = reader.u8();
    f.hAlign = HAlign(bits(align, 0, 3));
    f.wrap = bits(align, 3, 1);
    f.vAlign = VAlign(bits(align, 4, 3));
    f.rotation = reader.u8();
    const quint8 indent = reader.u8();
    f.indent = quint8(bits(indent, 0, 4));
    f.shrinkToFit = bits(indent, 4, 1);
    f.usedAttributes = quint8(reader.u8() & 0xFC);
    const quint32 border1 = reader.u32();
    const quint32 border2 = reader.u32();
    const quint16 fill = reader.u16();
    f.left = {BorderLine(bits(border1, 0, 4)), quint8(bits(border1, 16, 7))};
    f.right = {BorderLine(bits(border1, 4, 4)), quint8(bits(border1, 23, 7))};
    f.top = {BorderLine(bits(border1, 8, 4)), quint8(bits(border2, 0, 7))};
    f.bottom = {BorderLine(bits(border1, 12, 4)), quint8(bits(border2, 7, 7))};
    f.fillPattern = quint8(bits(border2, 26, 6));
    f.patternColor = quint8(bits(fill, 0, 7));
    f.backgroundColor = quint8(bits(fill, 7, 7));
    return f;
}

void writeXf(RecordWriter& out, const CellFormat& f)
{
    out.begin(rec::Xf);
    out.appendU16(f.font);
    out.appendU16(f.numberFormat);
    const quint16 parent = f.isStyle ? kStyleParentNone : f.parentStyle;
    out.appendU16(quint16(place(f.locked, 0, 1) | place(f.hidden, 1, 1) | place(f.isStyle, 2, 1) | place(parent, 4, 12)));
    out.appendU8(quint8(place(quint8(f.hAlign), 0, 3) | place(f.wrap, 3, 1) | place(quint8(f.vAlign), 4, 3)));
    out.appendU8(f.rotation);
    out.appendU8(quint8(place(f.indent, 0, 4) | place(f.shrinkToFit, 4, 1)));
    out.appendU8(quint8(f.usedAttributes & 0xFC));
    out.appendU32(place(quint8(f.left.line), 0, 4) | place(quint8(f.right.line), 4, 4) | place(quint8(f.top.line), 8, 4)
                  | place(quint8(f.bottom.line), 12, 4) | place(f.left.colorIndex, 16, 7) | place(f.right.colorIndex, 23, 7));
    out.appendU32(place(f.top.colorIndex, 0, 7) | place(f.bottom.colorIndex, 7, 7) | place(f.fillPattern, 26, 6));
    out.appendU16(quint16(place(f.patternColor, 0, 7) | place(f.backgroundColor, 7, 7)));
    out.end();
}

void checkStylesFit(const WorkbookStyles& styles)
{
    if (styles.fonts.empty() || styles.fonts.size() > kMaxFonts)
        throw Error(XlsError::FontCount, {QString::number(kMaxFonts)});
    if (styles.formats.size() <= kDefaultCellFormat || int(styles.formats.size()) > kMaxFormats)
        throw Error(XlsError::FormatCount, {QString::number(kDefaultCellFormat + 1), QString::number(kMaxFormats)});
    for (size_t i = 0; i < styles.formats.size(); ++i)
        if (!styles.fontAt(styles.formats[i].font))
            throw Error(XlsError::FormatWithoutFont, {QString::number(i), QString::number(styles.formats[i].font)});
    for (const auto& font : styles.fonts)
        if (font.name.isEmpty() || font.name.size() > 255)
            throw Error(XlsError::FontNameLength, {font.name});
    for (const auto& [index, code] : styles.numberFormats)
        if (code.size() > 255)
            throw Error(XlsError::NumberFormatTooLong, {QString::number(index)});
}

} // namespace store::xls
