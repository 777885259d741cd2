// Writing an Excel 97-2003 workbook. The whole Workbook stream is built in memory first (the
// sheets, collecting the shared strings, then the globals that point at the sheets) and only then
// handed to the file, so a workbook the format cannot hold leaves the disk untouched.

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/LinkTable.h"
#include "store/xls/Messages.h"
#include "store/xls/OleStream.h"
#include "store/xls/Sst.h"
#include "store/xls/StyleRecords.h"
#include "store/xls/XlsFile.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace store::xls {

namespace {

constexpr qsizetype kMinimumStreamSize = 4096;
constexpr int kMaxMergedPerRecord = 1026;
constexpr quint16 kFormulaCalcOnLoad = 0x0002;
// BOUNDSHEET counts the characters of a sheet's name in one byte.
constexpr int kLongestSheetNameInFile = 255;

void writeBof(RecordWriter& out, quint16 type)
{
    char d[16];
    put16(d, kBiff8Version);
    put16(d + 2, type);
    put16(d + 4, 0x0DBB);   // build
    put16(d + 6, 0x07CC);   // year
    put32(d + 8, 0x00000041);
    put32(d + 12, 0x00000006);
    out.record(rec::Bof, d);
}

void writeEof(RecordWriter& out) { out.record(rec::Eof, "", 0); }

// What the format allows, checked before anything is built.
void checkWorkbook(const Workbook& workbook)
{
    if (workbook.sheetCount() == 0) throw Error(XlsError::NoSheetsToWrite);
    QSet<QString> names;
    for (const KeptSheet& other : workbook.kept().otherSheets) names.insert(other.name.toCaseFolded());
    for (int i = 1; i <= workbook.sheetCount(); ++i) {
        const Worksheet& sheet = workbook.sheets(i);
        checkSheetNameCharacters(sheet.Name());
        if (sheet.Name().size() > kLongestSheetNameInFile)
            throw Error(XlsError::SheetNameTooLong, {sheet.Name(), QString::number(kLongestSheetNameInFile)});
        const QString folded = sheet.Name().toCaseFolded();
        if (names.contains(folded))
            throw Error(XlsError::SheetNamesClash, {sheet.Name()});
        names.insert(folded);
        if (sheet.lastRow() > kMaxRows || (!sheet.rowInfo().empty() && sheet.rowInfo().rbegin()->first > kMaxRows))
            throw Error(XlsError::TooManyRows, {sheet.Name()});
        if (!sheet.columns().empty() && sheet.columns().rbegin()->first > kMaxColumns)
            throw Error(XlsError::TooManyColumns, {sheet.Name()});
        for (const CellArea& area : sheet.merged())
            if (area.firstRow < 1 || area.firstCol < 1 || area.lastRow > kMaxRows || area.lastCol > kMaxColumns
                || area.firstRow > area.lastRow || area.firstCol > area.lastCol)
                throw Error(XlsError::MergedOutsideSheet, {sheet.Name()});
    }
}

class WorkbookWriter {
public:
    explicit WorkbookWriter(const Workbook& workbook)
        : workbook_(workbook), formatCount_(workbook.styles().formats.size()), sst_(workbook.strings()),
          links_(keptLinksWritten(workbook), workbook.sheetCount() + int(workbook.kept().otherSheets.size()))
    {
    }

    // Writes the stream into out as it is built, so that a big workbook is never held in memory
    // a second time: the globals first, with room for where each sheet starts, then the sheets a
    // few hundred kilobytes at a time, then the globals again with those places filled in.
    void build(StreamSink& out)
    {
        planTabs();
        surveyCells();
        writeGlobals();
        out.append(globals_.data().constData(), globals_.size());
        for (const Tab& tab : tabs_) {
            sheetStarts_.push_back(globals_.size() + sheetsSent_ + sheets_.size());
            if (tab.sheet)
                writeSheet(*tab.sheet, tab.sheet == &workbook_.ActiveSheet(), out);
            else
                sheets_.append(tab.other->records.constData(), tab.other->records.size());
            send(out);
        }
        for (size_t i = 0; i < sheetOffsetFields_.size(); ++i)
            globals_.patch32(sheetOffsetFields_[i], quint32(sheetStarts_[i]));
        out.rewriteStart(globals_.data());
    }

private:
    // The rows and columns a worksheet's cells take, as DIMENSIONS tells them: from 0, the last
    // ones past the end; all 0 for a sheet without cells.
    struct Extent {
        int firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
        void take(int row, int firstColumn, int lastColumn)
        {
            if (lastRow == 0) {
                firstRow = row - 1;
                firstCol = firstColumn - 1;
            }
            lastRow = row;
            firstCol = std::min(firstCol, firstColumn - 1);
            lastCol = std::max(lastCol, lastColumn);
        }
    };

    // One sheet of the file: a worksheet, or a sheet of another kind carried as read.
    struct Tab {
        const Worksheet* sheet = nullptr;
        const KeptSheet* other = nullptr;
    };

    // Sheets of other kinds go back to their places among the worksheets while those are as
    // read, and after them otherwise.
    void planTabs()
    {
        const KeptGlobals& kept = workbook_.kept();
        size_t other = 0;
        int sheet = 1;
        while (sheet <= workbook_.sheetCount() || other < kept.otherSheets.size()) {
            const bool otherNow = other < kept.otherSheets.size()
                               && (sheet > workbook_.sheetCount()
                                   || (kept.linksFitSheets && kept.otherSheets[other].tab <= int(tabs_.size())));
            if (otherNow)
                tabs_.push_back({nullptr, &kept.otherSheets[other++]});
            else
                tabs_.push_back({&workbook_.sheets(sheet++), nullptr});
        }
    }

    // The EXTERNSHEET entry of the worksheets first..last (last empty for first alone), by their
    // places among all sheets; nothing when one is not in the workbook.
    std::optional<quint16> sheetEntry(const QString& first, const QString& last)
    {
        const auto tabOf = [this](const QString& name) {
            for (size_t i = 0; i < tabs_.size(); ++i)
                if (tabs_[i].sheet && tabs_[i].sheet->Name().compare(name, Qt::CaseInsensitive) == 0) return int(i);
            return -1;
        };
        const int a = tabOf(first);
        const int b = last.isEmpty() ? a : tabOf(last);
        if (a < 0 || b < 0) return std::nullopt;
        return links_.sheetEntry(std::min(a, b), std::max(a, b));
    }

    // The active worksheet's place among all sheets, from 0.
    int activeTab() const
    {
        for (size_t i = 0; i < tabs_.size(); ++i)
            if (tabs_[i].sheet == &workbook_.ActiveSheet()) return int(i);
        return 0;
    }

    // Goes over every cell once before anything is written: tells the shared string table which
    // texts the cells use, takes each sheet's extent (refusing a cell past the last column), and
    // encodes the formulas, which gathers the functions they call that the engine does not know:
    // their names are among the globals, which go out before the sheets.
    void surveyCells()
    {
        for (int i = 1; i <= workbook_.sheetCount(); ++i) {
            const Worksheet& sheet = workbook_.sheets(i);
            Extent& extent = extents_[&sheet];
            for (int row = 1; row <= sheet.lastRow(); ++row) {
                const CellRow& cells = sheet.rowCells(row);
                if (cells.empty()) continue;
                extent.take(row, cells.front().col, cells.back().col);
                if (cells.back().col > kMaxColumns)
                    throw Error(XlsError::TooManyColumns, {sheet.Name()});
                for (const Cell& cell : cells) {
                    if (cell.holds() == Cell::Holds::Text)
                        sst_.use(cell.textIndex());
                    else if (cell.formula() && !valueOnly(sheet, row, cell))
                        tokens_.emplace(cell.formula(), formulaTokens(sheet, row, cell));
                    else if (cell.formula())
                        surveyValueOnly(sheet, row, cell);
                }
            }
        }
        sst_.number();
    }

    // A formula written as its last value: a text value goes into the string table with the
    // cells' texts, since a LABEL record of its own holds only what fits in one record.
    void surveyValueOnly(const Worksheet& sheet, int row, const Cell& cell)
    {
        const Value value = sheet.value(row, cell.col);
        if (value.isText())
            looseTexts_.emplace(cell.formula(), sst_.useLoose(checkedText(sheet, row, cell.col, value.text())));
    }

    // Hands what the sheets buffer holds to out once it is big enough (or, with `all`, always).
    void send(StreamSink& out, bool all = true)
    {
        constexpr qsizetype kSendAt = 512 * 1024;
        if (!all && sheets_.size() < kSendAt) return;
        out.append(sheets_.data().constData(), sheets_.size());
        sheetsSent_ += sheets_.size();
        sheets_.clear();
    }

    void writeGlobals()
    {
        RecordWriter& out = globals_;
        writeBof(out, kBofGlobals);
        out.begin(rec::CodePage);
        out.appendU16(1200);   // strings are Unicode
        out.end();
        writeKeptGlobals(out, GlobalsPlace::Start);
        writeWindow1(out);
        out.begin(rec::DateMode);
        out.appendU16(workbook_.kept().date1904 ? 1 : 0);
        out.end();
        writeKeptGlobals(out, GlobalsPlace::Book);
        const WorkbookStyles& styles = workbook_.styles();
        for (const Font& font : styles.fonts) writeFont(out, font);
        for (const auto& [index, code] : styles.numberFormats) writeNumberFormat(out, index, code);
        for (const CellFormat& format : styles.formats) writeXf(out, format);
        // The file's own styles (the XFs keep their places, so the styles still name theirs), or
        // the Normal style every workbook has.
        const auto& formatting = workbook_.kept().at(GlobalsPlace::Formatting);
        if (std::none_of(formatting.begin(), formatting.end(), [](const KeptRecord& r) { return r.id == rec::Style; }))
            writeNormalStyle(out);
        writeKeptGlobals(out, GlobalsPlace::Formatting);
        for (const Tab& tab : tabs_) {
            out.begin(rec::BoundSheet);
            sheetOffsetFields_.push_back(out.size());
            out.appendU32(0);   // filled in once the sheets are written
            out.appendU8(tab.sheet ? 0 : tab.other->visibility);
            out.appendU8(tab.sheet ? 0 : tab.other->type);   // 0: worksheet
            out.appendUnicodeString(tab.sheet ? tab.sheet->Name() : tab.other->name, true);
            out.end();
        }
        writeKeptGlobals(out, GlobalsPlace::Sheets);
        links_.write(out);
        writeKeptGlobals(out, GlobalsPlace::Drawings);
        sst_.write(out, 0);
        writeKeptGlobals(out, GlobalsPlace::End);
        writeEof(out);
    }

    // The workbook's records kept from its file at this place. The list of sheet ids of shared
    // workbooks (TABID) goes only while the sheets are as read.
    void writeKeptGlobals(RecordWriter& out, GlobalsPlace place) const
    {
        constexpr quint16 kTabIds = 0x013D;
        for (const KeptRecord& record : workbook_.kept().at(place))
            if (record.id != kTabIds || workbook_.kept().linksFitSheets) writeKept(out, record);
    }

    static void writeKept(RecordWriter& out, const KeptRecord& record)
    {
        out.record(record.id, record.data.constData(), quint16(record.data.size()));
    }

    static void writeKept(RecordWriter& out, const std::vector<KeptRecord>& records)
    {
        for (const KeptRecord& record : records) writeKept(out, record);
    }

    // A kept formula naming a name or another sheet, or any formula reading a defined name,
    // cannot go into a file without the links it was read with: its last value goes in its place.
    bool linksLost(const Formula& formula) const
    {
        if (workbook_.kept().linksFitSheets) return false;
        return formula.usesDefinedNames() || (formula.isKept() && tokensUseLinks(formula.root()->tokens));
    }

    // A cell of an array formula or a data table kept from the file: its formula is a token that
    // points at the first cell of the ARRAY or TABLE record that gives it.
    static bool isArrayCell(const FormulaCell* f)
    {
        if (!f || !f->formula.isKept()) return false;
        const QByteArray& tokens = f->formula.root()->tokens;
        return tokens.size() == 5 && (tokens[0] == 0x01 || tokens[0] == 0x02);
    }

    // The array formula or data table the cell belongs to, while each of its cells still holds
    // one of its formulas and the links its tokens use are written; else null.
    const KeptArray* arrayOf(const Worksheet& sheet, int row, int col) const
    {
        const KeptArray* array = sheet.kept().arrayAt(row, col);
        if (!array) return nullptr;
        // Each block is looked over once a save, however many of its cells ask.
        const auto [known, fresh] = wholeArrays_.try_emplace(array, false);
        if (fresh) known->second = isWhole(sheet, *array);
        return known->second ? array : nullptr;
    }

    bool isWhole(const Worksheet& sheet, const KeptArray& array) const
    {
        const char kind = array.id == rec::Array ? 0x01 : 0x02;
        for (int r = array.firstRow(); r <= array.lastRow(); ++r)
            for (int c = array.firstCol(); c <= array.lastCol(); ++c) {
                const FormulaCell* f = sheet.formulaAt(r, c);
                if (!isArrayCell(f) || f->formula.root()->tokens[0] != kind) return false;
            }
        return !(array.id == rec::Array && !workbook_.kept().linksFitSheets && array.data.size() >= 14
                 && tokensUseLinks(array.data.mid(14, get16(reinterpret_cast<const uchar*>(array.data.constData()) + 12))));
    }

    // A formula written as its last value: one naming links that are not written, or a cell of
    // an array formula or data table that is no longer whole.
    bool valueOnly(const Worksheet& sheet, int row, const Cell& cell) const
    {
        const FormulaCell* f = cell.formula();
        return linksLost(f->formula) || (isArrayCell(f) && !arrayOf(sheet, row, cell.col));
    }

    // Names and the links they and formulas use follow the sheet list, as read, with the functions
    // typed formulas call that the engine does not know.
    static const std::vector<KeptRecord>& keptLinksWritten(const Workbook& workbook)
    {
        static const std::vector<KeptRecord> none;
        return workbook.kept().linksFitSheets ? workbook.kept().links : none;
    }

    void writeWindow1(RecordWriter& out) const
    {
        out.begin(rec::Window1);
        out.appendU16(0);        // left
        out.appendU16(0);        // top
        out.appendU16(0x25BC);   // width
        out.appendU16(0x1572);   // height
        out.appendU16(0x0038);   // scroll bars and sheet tabs shown
        out.appendU16(quint16(activeTab()));
        out.appendU16(0);        // first tab shown
        out.appendU16(1);        // tabs selected
        out.appendU16(0x0258);   // tab bar width ratio
        out.end();
    }

    static void writeNormalStyle(RecordWriter& out)
    {
        out.begin(rec::Style);
        out.appendU16(0x8000);   // built-in style on XF 0
        out.appendU8(0);         // Normal
        out.appendU8(0xFF);
        out.end();
    }

    void writeSheet(const Worksheet& sheet, bool active, StreamSink& out)
    {
        const KeptSheetRecords& kept = sheet.kept();
        writeBof(sheets_, kBofWorksheet);
        writeCalculation(sheet);
        writeKept(sheets_, kept.head);
        writeColumnInfo(sheet);
        writeDimensions(sheet);
        writeRowInfo(sheet);
        for (int row = 1; row <= sheet.lastRow(); ++row) {
            writeRow(sheet, row);
            send(out, false);
        }
        writeKept(sheets_, kept.objects);
        writeMergedCells(sheet);
        writeWindow2(active, kept.window2);
        writeKept(sheets_, kept.window);
        writeKept(sheets_, kept.tail);
        writeEof(sheets_);
    }

    // A workbook whose calculation is manual says so in every sheet, and a sheet that still shows
    // values its file marked as not up to date passes that on. (Automatic is what a sheet without
    // CALCMODE has.)
    void writeCalculation(const Worksheet& sheet)
    {
        if (!workbook_.kept().manualCalculation) return;
        sheets_.record(rec::CalcMode, "\0\0", 2);
        if (sheet.showsUncalculatedValues()) sheets_.record(rec::Uncalced, "\0\0", 2);
    }

    void writeColumnInfo(const Worksheet& sheet)
    {
        // Neighbouring columns that look alike share one record.
        const auto& columns = sheet.columns();
        for (auto it = columns.begin(); it != columns.end();) {
            auto last = it;
            for (auto next = std::next(it); next != columns.end() && next->first == std::prev(next)->first + 1
                                            && next->second.width == it->second.width
                                            && next->second.format == it->second.format
                                            && next->second.hidden == it->second.hidden;
                 ++next)
                last = next;
            checkFormat(sheet, it->second.format, XlsError::ColumnFormatMissing, columnName(it->first));
            sheets_.begin(rec::ColInfo);
            sheets_.appendU16(quint16(it->first - 1));
            sheets_.appendU16(quint16(last->first - 1));
            sheets_.appendU16(it->second.width);
            sheets_.appendU16(it->second.format);
            sheets_.appendU16(it->second.hidden ? 0x0001 : 0x0000);
            sheets_.appendU16(0);
            sheets_.end();
            it = std::next(last);
        }
    }

    void writeDimensions(const Worksheet& sheet)
    {
        const Extent& extent = extents_.at(&sheet);
        char d[14];
        put32(d, quint32(extent.firstRow));
        put32(d + 4, quint32(extent.lastRow));
        put16(d + 8, quint16(extent.firstCol));
        put16(d + 10, quint16(extent.lastCol));
        put16(d + 12, 0);
        sheets_.record(rec::Dimensions, d);
    }

    void writeRowInfo(const Worksheet& sheet)
    {
        for (const auto& [row, info] : sheet.rowInfo()) {
            const auto& cells = sheet.rowCells(row);
            char d[16];
            put16(d, quint16(row - 1));
            put16(d + 2, cells.empty() ? 0 : quint16(cells.front().col - 1));
            put16(d + 4, cells.empty() ? 0 : quint16(cells.back().col));
            put16(d + 6, info.height & 0x7FFF);
            put16(d + 8, 0);
            put16(d + 10, 0);
            put16(d + 12, quint16(0x0100 | (info.hidden ? 0x0020 : 0) | (info.customHeight ? 0x0040 : 0)));
            put16(d + 14, kDefaultCellFormat);
            sheets_.record(rec::Row, d);
        }
    }

    // missing: the column's or the cell's kind of problem; place: the column's or cell's name.
    void checkFormat(const Worksheet& sheet, quint16 format, XlsError missing, const QString& place) const
    {
        if (format >= formatCount_) throw Error(missing, {place, sheet.Name(), QString::number(format)});
    }

    // A text longer than a file's string holds (a formula's result may be) is refused, not cut.
    static const QString& checkedText(const Worksheet& sheet, int row, int col, const QString& text)
    {
        if (text.size() > kLongestText)
            throw Error(XlsError::CellTextTooLong, {cellName(row, col), sheet.Name(), QString::number(kLongestText)});
        return text;
    }

    // Neighbouring numbers of a row that RK holds go into one MULRK, the way spreadsheet programs
    // write them: six bytes a number instead of fourteen.
    void writeRow(const Worksheet& sheet, int row)
    {
        const auto& cells = sheet.rowCells(row);
        // Each number's RK, told once; only the row's own entries are filled (a sheet has many
        // rows, and few of them are wide).
        struct {
            quint32 value;
            bool has;
        } rks[kMaxColumns];
        for (size_t j = 0; j < cells.size(); ++j) {
            const auto rk = cells[j].holds() == Cell::Holds::Number ? encodeRk(cells[j].number()) : std::nullopt;
            rks[j] = {rk.value_or(0), rk.has_value()};
        }
        for (size_t i = 0; i < cells.size();) {
            size_t run = 0;
            while (i + run < cells.size() && size_t(cells[i + run].col) == cells[i].col + run && rks[i + run].has) ++run;
            if (run < 2) {
                writeCell(sheet, row, cells[i], rks[i].has ? std::optional(rks[i].value) : std::nullopt);
                ++i;
                continue;
            }
            char d[6 + 6 * kMaxColumns];
            put16(d, quint16(row - 1));
            put16(d + 2, quint16(cells[i].col - 1));
            char* entry = d + 4;
            for (size_t k = 0; k < run; ++k, entry += 6) {
                const Cell& cell = cells[i + k];
                if (cell.format >= formatCount_)
                    checkFormat(sheet, cell.format, XlsError::CellFormatMissing, cellName(row, cell.col));
                put16(entry, cell.format);
                put32(entry + 2, rks[i + k].value);
            }
            put16(entry, quint16(cells[i + run - 1].col - 1));
            sheets_.record(rec::MulRk, d, quint16(entry + 2 - d));
            i += run;
        }
    }

    // rk: the number's RK form, when it has one.
    void writeCell(const Worksheet& sheet, int row, const Cell& cell, std::optional<quint32> rk)
    {
        const int col = cell.col;
        if (cell.format >= formatCount_)
            checkFormat(sheet, cell.format, XlsError::CellFormatMissing, cellName(row, col));
        char d[18];
        put16(d, quint16(row - 1));
        put16(d + 2, quint16(col - 1));
        put16(d + 4, cell.format);
        switch (cell.holds()) {
        case Cell::Holds::Formula:
            if (valueOnly(sheet, row, cell))
                writeValueOnly(sheet, row, cell);
            else
                writeFormula(sheet, row, cell);
            break;
        case Cell::Holds::Number:
            if (rk) {
                put32(d + 6, *rk);
                sheets_.record(rec::Rk, d, 10);
            } else {
                putDouble(d + 6, cell.number());
                sheets_.record(rec::Number, d, 14);
            }
            break;
        case Cell::Holds::Text:
            checkedText(sheet, row, col, workbook_.strings().at(cell.textIndex()));
            put32(d + 6, sst_.fileIndex(cell.textIndex()));
            sheets_.record(rec::LabelSst, d, 10);
            break;
        case Cell::Holds::Bool:
            d[6] = cell.boolValue() ? 1 : 0;
            d[7] = 0;
            sheets_.record(rec::BoolErr, d, 8);
            break;
        case Cell::Holds::Error:
            d[6] = char(cell.errorValue());
            d[7] = 1;
            sheets_.record(rec::BoolErr, d, 8);
            break;
        case Cell::Holds::Nothing:
            if (cell.format != kDefaultCellFormat) sheets_.record(rec::Blank, d, 6);
            break;
        }
    }

    // A formula's last value in a record of its own; a text is in the string table, where the
    // survey put it.
    void writeValueOnly(const Worksheet& sheet, int row, const Cell& cell)
    {
        const int col = cell.col;
        const Value value = sheet.value(row, col);
        sheets_.begin(value.isNumber() ? rec::Number : value.isText() ? rec::LabelSst : value.isEmpty() ? rec::Blank : rec::BoolErr);
        sheets_.appendU16(quint16(row - 1));
        sheets_.appendU16(quint16(col - 1));
        sheets_.appendU16(cell.format);
        switch (value.kind()) {
        case Value::Kind::Number: {
            char number[8];
            putDouble(number, value.number());
            sheets_.append(number, 8);
            break;
        }
        case Value::Kind::Text: sheets_.appendU32(sst_.looseFileIndex(looseTexts_.at(cell.formula()))); break;
        case Value::Kind::Bool:
            sheets_.appendU8(value.boolValue() ? 1 : 0);
            sheets_.appendU8(0);
            break;
        case Value::Kind::Error:
            sheets_.appendU8(quint8(value.errorValue()));
            sheets_.appendU8(1);
            break;
        case Value::Kind::Empty: break;
        }
        sheets_.end();
    }

    // The result field of a FORMULA record; a text result is written after it in a STRING record.
    static void putFormulaResult(char* p, const Value& v)
    {
        std::memset(p, 0, 8);
        switch (v.kind()) {
        case Value::Kind::Number:
            if (std::isfinite(v.number())) {
                putDouble(p, v.number());
                return;
            }
            p[0] = 2;
            p[2] = char(ErrorCode::Num);
            break;
        case Value::Kind::Text: p[0] = v.text().isEmpty() ? 3 : 0; break;
        case Value::Kind::Bool: p[0] = 1; p[2] = v.boolValue() ? 1 : 0; break;
        case Value::Kind::Error: p[0] = 2; p[2] = char(v.errorValue()); break;
        case Value::Kind::Empty: p[0] = 3; break;
        }
        put16(p + 6, 0xFFFF);
    }

    BiffFormulaRecord formulaTokens(const Worksheet& sheet, int row, const Cell& cell)
    {
        if (isArrayCell(cell.formula())) {
            // The token points at the array's first cell, wherever rows have moved it.
            const KeptArray* array = arrayOf(sheet, row, cell.col);
            QByteArray tokens = cell.formula()->formula.root()->tokens;
            put16(tokens.data() + 1, quint16(array->firstRow() - 1));
            put16(tokens.data() + 3, quint16(array->firstCol() - 1));
            return {tokens, cell.formula()->formula.keptExtra()};
        }
        try {
            return encodeBiffFormulaRecord(
                cell.formula()->formula, [this](const QString& name) { return links_.functionName(name); },
                [this](const QString& first, const QString& last) { return sheetEntry(first, last); });
        } catch (const Error& error) {
            throw Error(error, XlsError::FormulaNotWritten, {cellName(row, cell.col), sheet.Name(), reasonOf(error)});
        }
    }

    void writeFormula(const Worksheet& sheet, int row, const Cell& cell)
    {
        const int col = cell.col;
        const Value value = sheet.value(row, col);
        auto encoded = tokens_.extract(cell.formula());   // the survey encoded every formula written here
        Q_ASSERT(encoded);
        const QByteArray tokens = std::move(encoded.mapped().tokens);
        // A formula's array constants follow its tokens in the record.
        const QByteArray extra = std::move(encoded.mapped().constants);
        if (tokens.size() + extra.size() > kMaxFormulaTokens)
            throw Error(XlsError::FormulaTooLong, {cellName(row, col), sheet.Name()});
        char d[22];
        put16(d, quint16(row - 1));
        put16(d + 2, quint16(col - 1));
        put16(d + 4, cell.format);
        putFormulaResult(d + 6, value);
        put16(d + 14, kFormulaCalcOnLoad);
        put32(d + 16, 0);
        put16(d + 20, quint16(tokens.size()));
        sheets_.begin(rec::Formula);
        sheets_.append(d, 22);
        sheets_.append(tokens.constData(), tokens.size());
        sheets_.append(extra.constData(), extra.size());
        sheets_.end();
        if (isArrayCell(cell.formula())) {
            const KeptArray* array = arrayOf(sheet, row, col);
            if (array->firstRow() == row && array->firstCol() == col)
                sheets_.record(array->id, array->data.constData(), quint16(array->data.size()));
        }
        if (value.isText() && !value.text().isEmpty()) {
            ContinuedRecord text(sheets_, rec::String);
            text.appendString(checkedText(sheet, row, col, value.text()));
            text.finish();
        }
    }

    void writeMergedCells(const Worksheet& sheet)
    {
        const auto& merged = sheet.merged();
        for (size_t start = 0; start < merged.size(); start += kMaxMergedPerRecord) {
            const size_t count = std::min<size_t>(kMaxMergedPerRecord, merged.size() - start);
            sheets_.begin(rec::MergedCells);
            sheets_.appendU16(quint16(count));
            for (size_t i = start; i < start + count; ++i) {
                sheets_.appendU16(quint16(merged[i].firstRow - 1));
                sheets_.appendU16(quint16(merged[i].lastRow - 1));
                sheets_.appendU16(quint16(merged[i].firstCol - 1));
                sheets_.appendU16(quint16(merged[i].lastCol - 1));
            }
            sheets_.end();
        }
    }

    // The file's own WINDOW2 (frozen panes, grid lines, the first row shown), selected and shown
    // as this sheet is now; a sheet without one gets ours.
    void writeWindow2(bool active, const QByteArray& kept)
    {
        constexpr quint16 kSelectedAndShown = 0x0600;
        if (kept.size() >= 2) {
            QByteArray d = kept;
            const quint16 flags = get16(reinterpret_cast<const uchar*>(d.constData()));
            put16(d.data(), quint16((flags & ~kSelectedAndShown) | (active ? kSelectedAndShown : 0)));
            sheets_.record(rec::Window2, d.constData(), quint16(d.size()));
            return;
        }
        char d[18] = {};
        // Grid lines, headers, zeros, automatic grid colour, outline symbols; the active sheet is
        // selected and shown.
        put16(d, active ? 0x06B6 : 0x00B6);
        put16(d + 6, 64);   // grid line colour: automatic
        sheets_.record(rec::Window2, d);
    }

    const Workbook& workbook_;
    size_t formatCount_;
    SstBuilder sst_;
    RecordWriter globals_{1 << 16};
    RecordWriter sheets_{1 << 20};
    qsizetype sheetsSent_ = 0;                   // bytes of the sheets handed out so far
    std::vector<qsizetype> sheetStarts_;         // in the stream
    std::vector<qsizetype> sheetOffsetFields_;   // in the globals
    std::unordered_map<const Worksheet*, Extent> extents_;
    std::unordered_map<const FormulaCell*, BiffFormulaRecord> tokens_;   // encoded by the survey, taken by the sheets
    std::unordered_map<const FormulaCell*, quint32> looseTexts_;   // text values written alone: place in the SST
    mutable std::unordered_map<const KeptArray*, bool> wholeArrays_;   // whether each array block goes back whole
    std::vector<Tab> tabs_;
    LinkTable links_;
};

// The whole Workbook stream, written as it is built; checks what the format cannot hold first.
StreamProducer workbookStream(const Workbook& workbook)
{
    checkWorkbook(workbook);
    checkStylesFit(workbook.styles());
    return [&workbook](StreamSink& out) { WorkbookWriter(workbook).build(out); };
}

} // namespace

void writeWorkbook(const Workbook& workbook, const QString& path)
{
    try {
        writeStreamFile(path, "Workbook", workbookStream(workbook), kMinimumStreamSize);
    } catch (const Error& error) {
        throw Error(error, XlsError::FileNotWritten, {QDir::toNativeSeparators(path), closedReason(error)});
    }
}

QByteArray workbookBytes(const Workbook& workbook)
{
    try {
        return compoundFile("Workbook", workbookStream(workbook), kMinimumStreamSize);
    } catch (const Error& error) {
        throw Error(error, XlsError::WorkbookNotWritten, {closedReason(error)});
    }
}

} // namespace store::xls
