#pragma once

#include <QString>
#include <map>
#include <vector>

namespace store {

// Formatting a workbook keeps so that a printed form keeps its look. Fields follow the .xls
// records they come from (FONT, FORMAT, XF); units are the format's own.
struct Font {
    QString name = QStringLiteral("Arial");
    quint16 height = 200;        // in 1/20 point
    quint16 weight = 400;        // 400 normal, 700 bold
    bool italic = false;
    bool strikeout = false;
    quint8 underline = 0;        // 0 none, 1 single, 2 double, 0x21/0x22 accounting
    quint16 colorIndex = 0x7FFF; // palette index; 0x7FFF = automatic
    quint16 escapement = 0;      // 0 none, 1 superscript, 2 subscript
    quint8 family = 0;
    quint8 charset = 0;
    bool operator==(const Font&) const = default;
};

enum class BorderLine : quint8 {
    None = 0, Thin = 1, Medium = 2, Dashed = 3, Dotted = 4, Thick = 5, Double = 6, Hair = 7,
    MediumDashed = 8, DashDot = 9, MediumDashDot = 10, DashDotDot = 11, MediumDashDotDot = 12,
    SlantDashDot = 13,
};
enum class HAlign : quint8 { General = 0, Left = 1, Center = 2, Right = 3, Fill = 4, Justify = 5, CenterAcross = 6 };
enum class VAlign : quint8 { Top = 0, Center = 1, Bottom = 2, Justify = 3 };

struct Border {
    BorderLine line = BorderLine::None;
    quint8 colorIndex = 64;      // 64 = automatic
    bool operator==(const Border&) const = default;
};

// One XF record: a cell format (or, with isStyle, a style the cell formats build on).
struct CellFormat {
    quint16 font = 0;            // font index as XF records hold it: see WorkbookStyles::fonts
    quint16 numberFormat = 0;    // index of a built-in or custom number format
    bool isStyle = false;
    bool locked = true;
    bool hidden = false;
    quint16 parentStyle = 0;     // for cell formats: the style XF they build on
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Bottom;
    bool wrap = false;
    quint8 rotation = 0;
    quint8 indent = 0;
    bool shrinkToFit = false;
    quint8 usedAttributes = 0;   // the XF's byte of attribute flags (bits 2-7) as read, kept for writing back
    Border left, right, top, bottom;
    quint8 fillPattern = 0;      // 0 none, 1 solid, ...
    quint8 patternColor = 64;
    quint8 backgroundColor = 65;
    bool operator==(const CellFormat&) const = default;
};

struct WorkbookStyles {
    // The FONT records in file order. XF records name a font by an index that skips 4: indexes
    // 0..3 are fonts[0..3], index 5 is fonts[4], index n > 4 is fonts[n - 1]. Index 4 names no
    // font. CellFormat::font always holds the XF's index, never a position in this vector.
    std::vector<Font> fonts;
    std::map<quint16, QString> numberFormats;      // custom formats (index >= 164) and any read
    std::vector<CellFormat> formats;               // all XF records, styles first

    // The table a new workbook starts with: five fonts, fifteen style XFs and one cell XF (15).
    static WorkbookStyles defaults();
    // Index of a cell format equal to format, added when missing. A cell format gets the
    // attribute flags for what differs from its parent style. Throws store::Error when the file
    // format's limit of XF records is reached.
    quint16 addFormat(const CellFormat& format);
    // Font index (as XF records count) of a font equal to font, added when missing.
    quint16 addFont(const Font& font);
    // Index of the number format with this code: a built-in one ("0.00" is 2) or a custom one,
    // added from 164 on when missing.
    quint16 addNumberFormat(const QString& code);

    // The font an XF font index names, or null for 4 and indexes past the list.
    const Font* fontAt(quint16 index) const;
    static quint16 fontIndexOfPosition(size_t position) { return quint16(position < 4 ? position : position + 1); }
    // The code of a number format: custom or read ones first, then the built-in table; empty when
    // unknown.
    QString numberFormatCode(quint16 index) const;
};

inline constexpr quint16 kFirstCustomNumberFormat = 164;
inline constexpr int kMaxFormats = 4050;

inline constexpr quint16 kDefaultCellFormat = 15;

struct ColumnInfo {
    quint16 width = 0;           // in 1/256 of a character width, as COLINFO holds it
    quint16 format = kDefaultCellFormat;
    bool hidden = false;
};

struct RowInfo {
    quint16 height = 255;        // in twips
    bool customHeight = false;
    bool hidden = false;
};

struct CellArea {
    int firstRow = 1, firstCol = 1, lastRow = 1, lastCol = 1;   // 1-based, inclusive
    bool operator==(const CellArea&) const = default;
};

} // namespace store
