#include "store/Style.h"

#include "store/EngineError.h"
#include "store/StoreError.h"

#include <algorithm>
#include <array>

namespace store {

namespace {

struct BuiltInNumberFormat {
    quint16 index;
    const char* code;
};

// Number formats every reader knows by index alone. The date and currency ones depend on the
// reader's locale and are left out: a code for them becomes a custom format.
constexpr std::array<BuiltInNumberFormat, 12> kBuiltInNumberFormats{{
    {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}, {9, "0%"},
    {10, "0.00%"}, {11, "0.00E+00"}, {12, "# ?/?"}, {13, "# ?\?/?\?"}, {48, "##0.0E+0"}, {49, "@"},
}};

CellFormat styleFormat(quint16 font, quint8 usedAttributes)
{
    CellFormat f;
    f.font = font;
    f.isStyle = true;
    f.usedAttributes = usedAttributes;
    return f;
}

} // namespace

WorkbookStyles WorkbookStyles::defaults()
{
    WorkbookStyles s;
    s.fonts.assign(5, Font{});
    // Style XFs as spreadsheet programs lay them out: 0 is Normal; 1-2 and 3-4 are the outline
    // row/column styles on fonts 1 and 2; the rest sit on font 0. The style XFs other than Normal
    // mark every attribute but the font as not theirs.
    s.formats.push_back(styleFormat(0, 0));
    for (quint16 i = 1; i < 15; ++i) {
        const quint16 font = i <= 2 ? 1 : i <= 4 ? 2 : 0;
        s.formats.push_back(styleFormat(font, 0xF4));
    }
    CellFormat cell;   // cell XF 15: Normal applied as it is
    s.formats.push_back(cell);
    return s;
}

namespace {

// The XF attribute flags a cell format needs: one for each group of attributes that differs from
// its parent style, so that readers take them from the cell format and not from the style.
quint8 differingAttributes(const CellFormat& f, const CellFormat& style)
{
    quint8 flags = 0;
    if (f.numberFormat != style.numberFormat) flags |= 0x04;
    if (f.font != style.font) flags |= 0x08;
    if (f.hAlign != style.hAlign || f.vAlign != style.vAlign || f.wrap != style.wrap || f.rotation != style.rotation
        || f.indent != style.indent || f.shrinkToFit != style.shrinkToFit)
        flags |= 0x10;
    if (f.left != style.left || f.right != style.right || f.top != style.top || f.bottom != style.bottom) flags |= 0x20;
    if (f.fillPattern != style.fillPattern || f.patternColor != style.patternColor
        || f.backgroundColor != style.backgroundColor)
        flags |= 0x40;
    if (f.locked != style.locked || f.hidden != style.hidden) flags |= 0x80;
    return flags;
}

} // namespace

quint16 WorkbookStyles::addFormat(const CellFormat& wanted)
{
    CellFormat format = wanted;
    if (!format.isStyle && format.parentStyle < formats.size())
        format.usedAttributes |= differingAttributes(format, formats[format.parentStyle]);
    const auto found = std::find(formats.begin(), formats.end(), format);
    if (found != formats.end()) return quint16(found - formats.begin());
    if (int(formats.size()) >= kMaxFormats)
        throw Error(EngineError::TooManyCellFormats, {QString::number(kMaxFormats)});
    formats.push_back(format);
    return quint16(formats.size() - 1);
}

quint16 WorkbookStyles::addFont(const Font& font)
{
    const auto found = std::find(fonts.begin(), fonts.end(), font);
    if (found != fonts.end()) return fontIndexOfPosition(size_t(found - fonts.begin()));
    fonts.push_back(font);
    return fontIndexOfPosition(fonts.size() - 1);
}

const Font* WorkbookStyles::fontAt(quint16 index) const
{
    if (index == 4) return nullptr;
    const size_t position = index < 4 ? index : size_t(index) - 1;
    return position < fonts.size() ? &fonts[position] : nullptr;
}

quint16 WorkbookStyles::addNumberFormat(const QString& code)
{
    for (const auto& [index, text] : numberFormats)
        if (text == code) return index;
    for (const auto& builtIn : kBuiltInNumberFormats)
        if (!numberFormats.count(builtIn.index) && code == QLatin1String(builtIn.code)) return builtIn.index;
    quint16 next = kFirstCustomNumberFormat;
    if (!numberFormats.empty()) next = std::max<quint16>(next, quint16(numberFormats.rbegin()->first + 1));
    numberFormats[next] = code;
    return next;
}

QString WorkbookStyles::numberFormatCode(quint16 index) const
{
    const auto found = numberFormats.find(index);
    if (found != numberFormats.end()) return found->second;
    for (const auto& builtIn : kBuiltInNumberFormats)
        if (builtIn.index == index) return QString::fromLatin1(builtIn.code);
    return {};
}

} // namespace store
