// Reading an Excel 97-2003 workbook: the globals (formatting, sheet list, shared strings) and
// then each worksheet's cells, formulas, column widths, row heights and merged areas.

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/LinkNames.h"
#include "store/xls/Messages.h"
#include "store/xls/OleStream.h"
#include "store/xls/Sst.h"
#include "store/xls/StyleRecords.h"
#include "store/xls/XlsFile.h"

#include <QDir>
#include <map>


namespace store::xls {

namespace {

constexpr quint8 kSheetTypeWorksheet = 0x00;

struct SheetEntry {
    QString name;
    quint32 offset = 0;
    quint8 visibility = 0;
    quint8 type = 0;
};

// A formula cell waits until its sheet is read: a STRING record after it brings a text result
// and a SHRFMLA record after it brings the tokens that cells pointing at it share.
struct PendingFormula {
    int row = 0, col = 0;
    quint16 format = 0;
    QByteArray tokens;
    Value cached;
    bool textFollows = false;   // the result is text, given by the STRING record after it
    QByteArray extra;           // what follows the tokens: the constants of arrays
    int tokenSize = 0;          // as the record gives it, also when the tokens are cut short
};

// A shared formula and the cells it covers, 0-based as in the file.
struct SharedFormula {
    quint16 firstRow, lastRow;
    quint8 firstCol, lastCol;
    QByteArray tokens;
    bool covers(quint16 row, quint16 col) const { return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol; }
};

class WorkbookReader {
public:
    WorkbookReader(const QByteArray& stream, Workbook& into, const StreamDone& done = {})
        : stream_(stream), into_(into), done_(done)
    {
    }

    void read()
    {
        readGlobals();
        const auto names = std::make_shared<const BiffWorkbookNames>(readLinkNames(into_.kept().links, sheetNames()));
        into_.kept().names = names;
        int tab = 0;
        int activeSheet = 0;
        for (const SheetEntry& entry : sheetEntries_) {
            if (entry.type == kSheetTypeWorksheet) {
                if (tab == activeTab_) activeSheet = into_.sheetCount();
                sheetContext_ = std::make_shared<const KeptContext>(
                    KeptContext{{}, std::make_shared<const KeptFormulaPlace>(KeptFormulaPlace{names, tab})});
                readSheet(entry, into_.appendSheet(entry.name));
            } else {
                keepSheet(entry, tab);
            }
            ++tab;
            if (done_) done_(firstOffsetFrom(tab));
        }
        if (into_.sheetCount() == 0) throw Error(XlsError::NoSheets);
        into_.kept().linksFitSheets = true;
        into_.activate(into_.sheets(activeSheet + 1));
    }

private:
    std::vector<QString> sheetNames() const
    {
        std::vector<QString> names;
        for (const SheetEntry& entry : sheetEntries_) names.push_back(entry.name);
        return names;
    }

    // sheet: the name of the sheet the record begins, none for the workbook's globals.
    void checkBof(const std::optional<Record>& record, quint16 expectedType, const std::optional<QString>& sheet) const
    {
        if (!record || record->id != rec::Bof || record->size < 4) {
            if (sheet) throw Error(XlsError::SheetWithoutBof, {*sheet});
            throw Error(XlsError::GlobalsWithoutBof);
        }
        const quint16 version = get16(record->data);
        if (version < kBiff8Version) throw Error(XlsError::OlderFormat);
        if (version != kBiff8Version) throw Error(XlsError::UnknownVersion, {hex(version, 4)});
        const quint16 type = get16(record->data + 2);
        if (type != expectedType) {
            if (sheet) throw Error(XlsError::SheetOfWrongType, {*sheet, hex(type, 4), hex(expectedType, 4)});
            throw Error(XlsError::GlobalsOfWrongType, {hex(type, 4), hex(expectedType, 4)});
        }
    }

    // The data of a record and of the CONTINUE records that follow it.
    FieldReader withContinues(const Record& record, RecordReader& records) const
    {
        FieldReader fields(record);
        while (auto next = records.peek()) {
            if (next->id != rec::Continue) break;
            fields.addContinue(*records.next());
        }
        return fields;
    }

    void readGlobals()
    {
        RecordReader records(stream_, 0);
        if (stream_.size() < 4 || get16(reinterpret_cast<const uchar*>(stream_.constData())) != rec::Bof)
            throw Error(XlsError::StreamWithoutBof);
        checkBof(records.next(), kBofGlobals, std::nullopt);
        WorkbookStyles styles;   // empty: filled from the file's records
        while (auto record = records.next()) {
            FieldReader fields(*record);
            switch (record->id) {
            case rec::Eof:
                finishStyles(styles);
                return;
            case rec::CodePage:
            case rec::ExtSst:
                break;   // the writer writes its own
            default:
                keepGlobal(*record);
                break;
            case rec::FilePass:
                throw Error(XlsError::PasswordProtected);
            case rec::DateMode:
                into_.kept().date1904 = fields.u16() == 1;
                break;
            case rec::SupBook:
            case rec::ExternName:
            case rec::ExternSheet:
            case rec::Name:
            case rec::Xct:
            case rec::Crn:
                keepLink(*record, records);
                globalsPlace_ = GlobalsPlace::Drawings;
                break;
            case rec::Window1:
                if (globalsPlace_ == GlobalsPlace::Start) globalsPlace_ = GlobalsPlace::Book;
                fields.skip(10);
                activeTab_ = fields.u16();
                break;
            case rec::Font:
                globalsPlace_ = GlobalsPlace::Formatting;
                styles.fonts.push_back(readFont(fields));
                break;
            case rec::Format: {
                globalsPlace_ = GlobalsPlace::Formatting;
                auto [index, code] = readNumberFormat(fields);
                styles.numberFormats[index] = code;
                break;
            }
            case rec::Xf:
                globalsPlace_ = GlobalsPlace::Formatting;
                styles.formats.push_back(readXf(fields));
                break;
            case rec::BoundSheet: {
                globalsPlace_ = GlobalsPlace::Sheets;
                SheetEntry entry;
                entry.offset = fields.u32();
                entry.visibility = fields.u8();
                entry.type = fields.u8();
                entry.name = fields.truncatedUnicodeString(true);
                sheetEntries_.push_back(entry);
                break;
            }
            case rec::Sst: {
                globalsPlace_ = GlobalsPlace::End;
                FieldReader sst = withContinues(*record, records);
                std::vector<QString> strings = readSst(sst);
                sstCount_ = quint32(strings.size());
                sstBase_ = into_.strings().adopt(std::move(strings));
                break;
            }
            }
        }
        throw Error(XlsError::GlobalsWithoutEof);
    }

    // A record of the globals the engine does not interpret, kept at its place. Formatting and
    // drawing records go where the format wants them, whatever came before them in the file; a
    // CONTINUE goes with the record it continues.
    void keepGlobal(const Record& record)
    {
        GlobalsPlace place = globalsPlace_;
        switch (record.id) {
        case rec::Style: case 0x0892 /* STYLEEXT */: case rec::Palette: case 0x087C /* XFCRC */:
        case 0x087D /* XFEXT */: case 0x088D /* DXF */: case 0x088E /* TABLESTYLES */: case 0x088F /* TABLESTYLE */:
        case 0x0890 /* TABLESTYLEELEMENT */: case 0x105C /* CLRTCLIENT */:
            place = GlobalsPlace::Formatting;
            break;
        case rec::MsoDrawingGroup: case 0x0866 /* HFPICTURE */: case 0x01C1 /* RECALCID */: case 0x0813 /* RTD */:
            place = GlobalsPlace::Drawings;
            break;
        case rec::Continue:
            place = lastGlobalsPlace_;
            break;
        default:
            break;
        }
        lastGlobalsPlace_ = place;
        into_.kept().at(place).push_back({record.id, QByteArray(reinterpret_cast<const char*>(record.data), record.size)});
    }

    // A sheet of another kind is carried as its records, BOF to the EOF that closes it.
    // Where the first of the sheets from tab on begins: what lies before is read for good (the
    // globals come first, and every text is copied out of the stream).
    qsizetype firstOffsetFrom(int tab) const
    {
        qsizetype first = stream_.size();
        for (size_t i = size_t(tab); i < sheetEntries_.size(); ++i) first = std::min(first, qsizetype(sheetEntries_[i].offset));
        return first;
    }

    void keepSheet(const SheetEntry& entry, int tab)
    {
        const auto* bytes = reinterpret_cast<const uchar*>(stream_.constData());
        if (qsizetype(entry.offset) + 8 > stream_.size() || get16(bytes + entry.offset) != rec::Bof) return;
        RecordReader records(stream_, entry.offset);
        int depth = 0;
        while (auto record = records.next()) {
            if (record->id == rec::Bof) ++depth;
            if (record->id == rec::Eof && --depth == 0) {
                // An EOF that carries bytes (it should carry none) is kept with them, so that
                // the record written back is whole.
                const qsizetype end = record->offset + 4 + record->size;
                into_.kept().otherSheets.push_back(
                    {entry.name, entry.visibility, entry.type, stream_.mid(entry.offset, end - entry.offset), tab});
                return;
            }
        }
    }

    void keepLink(const Record& record, RecordReader& records)
    {
        KeptGlobals& kept = into_.kept();
        kept.links.push_back({record.id, QByteArray(reinterpret_cast<const char*>(record.data), record.size)});
        while (auto next = records.peek()) {
            if (next->id != rec::Continue) break;
            records.next();
            kept.links.push_back({next->id, QByteArray(reinterpret_cast<const char*>(next->data), next->size)});
        }
    }

    // What the file leaves out or holds in a form the writer cannot give back is mended here,
    // so that a workbook that opens can also be saved: missing fonts and formats come from a new
    // workbook, a font without a name gets the default one, and fewer than sixteen XFs are made
    // up to the fifteen style XFs and the default cell XF every file must have. What cannot be
    // mended is refused now, with the same check the writer makes.
    void finishStyles(WorkbookStyles& styles)
    {
        const WorkbookStyles defaults = WorkbookStyles::defaults();
        if (styles.fonts.empty()) styles.fonts = defaults.fonts;
        for (Font& font : styles.fonts)
            if (font.name.isEmpty()) font.name = Font{}.name;
        for (size_t i = styles.formats.size(); i < defaults.formats.size(); ++i) {
            CellFormat format = defaults.formats[i];
            if (!styles.fontAt(format.font)) format.font = 0;
            styles.formats.push_back(format);
        }
        checkStylesFit(styles);
        formatCount_ = styles.formats.size();
        into_.styles() = std::move(styles);
    }

    void readSheet(const SheetEntry& entry, Worksheet& sheet)
    {
        sheet_ = &sheet;
        rowBuffer_.clear();
        bufferedRow_ = 0;
        pending_.clear();
        shared_.clear();
        manualCalculation_ = uncalculated_ = false;
        const auto* bytes = reinterpret_cast<const uchar*>(stream_.constData());
        if (qsizetype(entry.offset) + 8 > stream_.size() || get16(bytes + entry.offset) != rec::Bof)
            throw Error(XlsError::SheetMisplaced, {entry.name});
        RecordReader records(stream_, entry.offset);
        checkBof(records.peek(), kBofWorksheet, entry.name);
        records.next();
        sheetPlace_ = SheetPlace::Head;
        int nested = 0;   // charts embedded in the sheet bring their own BOF ... EOF
        while (auto record = records.next()) {
            if (record->id == rec::Bof) {
                ++nested;
                keepSheetRecord(*record);
                continue;
            }
            if (record->id == rec::Eof && nested > 0) {
                --nested;
                keepSheetRecord(*record);
                continue;
            }
            if (nested > 0) {
                keepSheetRecord(*record);
                continue;
            }
            if (record->id == rec::Eof) {
                flushRow();
                putFormulas();
                if (manualCalculation_) {
                    into_.kept().manualCalculation = true;
                    sheet.keepFileValues(uncalculated_);
                }
                return;
            }
            if (readPlainCell(*record))
                sheetPlace_ = std::max(sheetPlace_, SheetPlace::Objects);
            else
                readSheetRecord(*record, records);
        }
        throw Error(XlsError::SheetWithoutEof, {entry.name});
    }

    // Where a sheet's records are: what the engine does not interpret is kept by it.
    enum class SheetPlace { Head, Objects, Window, Tail };

    void keepSheetRecord(const Record& record)
    {
        KeptSheetRecords& kept = sheet_->kept();
        KeptRecord r{record.id, QByteArray(reinterpret_cast<const char*>(record.data), record.size)};
        switch (sheetPlace_) {
        case SheetPlace::Head: kept.head.push_back(std::move(r)); break;
        case SheetPlace::Objects: kept.objects.push_back(std::move(r)); break;
        case SheetPlace::Window:
            if (record.id == rec::Scl || record.id == rec::Pane || record.id == rec::Selection || record.id == rec::Plv) {
                kept.window.push_back(std::move(r));
                break;
            }
            sheetPlace_ = SheetPlace::Tail;
            [[fallthrough]];
        case SheetPlace::Tail: kept.tail.push_back(std::move(r)); break;
        }
    }

    // NUMBER, RK and LABELSST, nearly every cell of a big sheet, read straight from their fixed
    // layout. False for any other record, or one too short, which the general reading handles.
    bool readPlainCell(const Record& record)
    {
        const uchar* d = record.data;
        switch (record.id) {
        case rec::Number:
            if (record.size < 14) return false;
            plainCell(d).setNumber(getDouble(d + 6));
            return true;
        case rec::Rk:
            if (record.size < 10) return false;
            plainCell(d).setNumber(decodeRk(get32(d + 6)));
            return true;
        case rec::LabelSst: {
            if (record.size < 10) return false;
            Cell& cell = plainCell(d);
            cell.setText(sharedString(get32(d + 6), get16(d) + 1, cell.col));
            return true;
        }
        default:
            return false;
        }
    }

    Cell& plainCell(const uchar* d)
    {
        const int row = get16(d) + 1;
        const int col = get16(d + 2) + 1;
        const quint16 xf = get16(d + 4);
        checkFormat(xf, row, col);
        return newCell(row, col, xf);
    }

    void readSheetRecord(const Record& record, RecordReader& records)
    {
        FieldReader fields(record);
        switch (record.id) {
        case rec::ColInfo:
        case rec::Dimensions:
        case rec::Row:
        case rec::MulRk:
        case rec::LabelSst:
        case rec::Label:
        case rec::RString:
        case rec::Blank:
        case rec::MulBlank:
        case rec::BoolErr:
        case rec::Formula:
        case rec::OldFormula:
        case rec::Number:
        case rec::Rk:
            // The cells begin (column widths come just before them).
            sheetPlace_ = std::max(sheetPlace_, SheetPlace::Objects);
            break;
        default: break;
        }
        switch (record.id) {
        case rec::Number: {
            const auto [row, col, xf] = cellHeader(fields);
            put(row, col, Value(fields.f64()), xf);
            break;
        }
        case rec::Rk: {
            const auto [row, col, xf] = cellHeader(fields);
            put(row, col, Value(decodeRk(fields.u32())), xf);
            break;
        }
        case rec::MulRk: readMulRk(record, fields); break;
        case rec::LabelSst: {
            const auto [row, col, xf] = cellHeader(fields);
            newCell(row, col, xf).setText(sharedString(fields.u32(), row, col));
            break;
        }
        case rec::Label:
        case rec::RString: {
            const auto [row, col, xf] = cellHeader(fields);
            put(row, col, Value(fields.truncatedUnicodeString()), xf);
            break;
        }
        case rec::Blank: {
            const auto [row, col, xf] = cellHeader(fields);
            putBlank(row, col, xf);
            break;
        }
        case rec::MulBlank: readMulBlank(record, fields); break;
        case rec::BoolErr: {
            const auto [row, col, xf] = cellHeader(fields);
            const quint8 value = fields.u8();
            put(row, col, fields.u8() ? errorValue(value, row, col) : Value::boolean(value != 0), xf);
            break;
        }
        case rec::Formula:
        case rec::OldFormula: readFormula(fields); break;
        case rec::String: {
            FieldReader text = withContinues(record, records);
            if (!pending_.empty() && pending_.back().textFollows) {
                pending_.back().cached = Value(text.unicodeString());
                pending_.back().textFollows = false;
            }
            break;
        }
        case rec::ShrFmla: readSharedFormula(fields); break;
        case rec::ColInfo: readColumnInfo(fields); break;
        case rec::Row: readRowInfo(fields); break;
        case rec::Dimensions:
            if (record.size >= 8) readDimensions(fields);
            break;
        case rec::MergedCells: readMergedCells(fields); break;
        case rec::CalcMode:
            if (record.size >= 2) manualCalculation_ = fields.u16() == 0;
            break;
        case rec::Uncalced: uncalculated_ = true; break;
        case rec::Index:
        case rec::DbCell:
            break;   // places in the stream, which the writer does not write
        case rec::Window2:
            if (sheet_->kept().window2.isEmpty()) sheet_->kept().window2 = QByteArray(reinterpret_cast<const char*>(record.data), record.size);
            sheetPlace_ = SheetPlace::Window;
            break;
        case rec::Array:
        case rec::Table:
            if (record.size >= 6) sheet_->kept().arrays.push_back({record.id, QByteArray(reinterpret_cast<const char*>(record.data), record.size)});
            break;
        default: keepSheetRecord(record); break;
        }
    }

    struct CellHeader { int row, col; quint16 xf; };
    CellHeader cellHeader(FieldReader& fields) const
    {
        const int row = fields.u16() + 1;
        const int col = fields.u16() + 1;
        const quint16 xf = fields.u16();
        checkFormat(xf, row, col);
        return {row, col, xf};
    }

    void checkFormat(quint16 xf, int row, int col) const
    {
        if (xf >= formatCount_)
            throw Error(XlsError::CellFormatUnknown, {cellName(row, col), sheet_->Name(), QString::number(xf)});
    }

    // A new cell of the row being read. The cells of a row are gathered and handed to the sheet
    // in one piece when the next row begins, so that each row is allocated once and at its size.
    Cell& newCell(int row, int col, quint16 xf)
    {
        if (col > kMaxColumns) sheet_->checkAddress(row, col);   // rows of a record always fit
        if (row != bufferedRow_) {
            flushRow();
            bufferedRow_ = row;
        }
        Cell& cell = rowBuffer_.emplace_back();
        cell.col = quint16(col);
        cell.format = xf;
        return cell;
    }

    void flushRow()
    {
        if (!rowBuffer_.empty()) sheet_->putRow(bufferedRow_, rowBuffer_);
        rowBuffer_.clear();
        bufferedRow_ = 0;
    }

    void put(int row, int col, const Value& value, quint16 xf)
    {
        Cell& cell = newCell(row, col, xf);
        switch (value.kind()) {
        case Value::Kind::Empty: break;
        case Value::Kind::Number: cell.setNumber(value.number()); break;
        case Value::Kind::Text: cell.setText(into_.strings().add(value.text())); break;
        case Value::Kind::Bool: cell.setBool(value.boolValue()); break;
        case Value::Kind::Error: cell.setError(value.errorValue()); break;
        }
    }

    void putBlank(int row, int col, quint16 xf)
    {
        if (xf != kDefaultCellFormat) newCell(row, col, xf);
    }

    // The index in the workbook's string table of the file's shared string `index`.
    quint32 sharedString(quint32 index, int row, int col) const
    {
        if (index >= sstCount_)
            throw Error(XlsError::TextOutsideTable,
                        {cellName(row, col), sheet_->Name(), QString::number(index), QString::number(sstCount_)});
        return sstBase_ + index;
    }

    Value errorValue(quint8 code, int row, int col) const
    {
        const auto error = errorFromCode(code);
        if (!error)
            throw Error(XlsError::UnknownErrorCode, {cellName(row, col), sheet_->Name(), hex(code, 2)});
        return Value::error(*error);
    }

    // MULRK and MULBLANK: row, first column, one entry per cell, last column.
    int multipleCount(const Record& record, FieldReader& fields, int entrySize, int& row, int& firstCol) const
    {
        row = fields.u16() + 1;
        firstCol = fields.u16() + 1;
        if (record.size < 6 || (record.size - 6) % entrySize != 0)
            throw Error(XlsError::MultipleCellsDamaged, {QString::number(row)});
        const int count = (record.size - 6) / entrySize;
        const int lastCol = get16(record.data + record.size - 2) + 1;
        if (lastCol != firstCol + count - 1)
            throw Error(XlsError::MultipleCellsDamaged, {QString::number(row)});
        return count;
    }

    void readMulRk(const Record& record, FieldReader& fields)
    {
        int row = 0, firstCol = 0;
        const int count = multipleCount(record, fields, 6, row, firstCol);
        const uchar* entry = record.data + 4;   // the size was checked: read the entries in place
        for (int i = 0; i < count; ++i, entry += 6) {
            const quint16 xf = get16(entry);
            checkFormat(xf, row, firstCol + i);
            newCell(row, firstCol + i, xf).setNumber(decodeRk(get32(entry + 2)));
        }
    }

    void readMulBlank(const Record& record, FieldReader& fields)
    {
        int row = 0, firstCol = 0;
        const int count = multipleCount(record, fields, 2, row, firstCol);
        for (int i = 0; i < count; ++i) {
            const quint16 xf = fields.u16();
            checkFormat(xf, row, firstCol + i);
            putBlank(row, firstCol + i, xf);
        }
    }

    void readFormula(FieldReader& fields)
    {
        const auto [row, col, xf] = cellHeader(fields);
        const QByteArray result = fields.bytes(8);
        PendingFormula f{row, col, xf, {}, {}, false, {}, 0};
        f.cached = formulaResult(reinterpret_cast<const uchar*>(result.constData()), row, col);
        f.textFollows = get16(reinterpret_cast<const uchar*>(result.constData()) + 6) == 0xFFFF && result[0] == 0;
        fields.u16();   // flags
        fields.u32();   // reserved
        // Tokens cut short by the record's end cannot be read: the cell keeps its last value, as
        // other programs read it.
        const quint16 size = fields.u16();
        f.tokenSize = size;
        if (size <= fields.remainingInSegment()) {
            f.tokens = fields.bytes(size);
            f.extra = fields.bytes(fields.remainingInSegment());
        }
        pending_.push_back(std::move(f));
    }

    Value formulaResult(const uchar* result, int row, int col) const
    {
        if (get16(result + 6) != 0xFFFF) return Value(getDouble(result));
        switch (result[0]) {
        case 0:   // text, given by the STRING record that follows
        case 3: return Value(QString());
        case 1: return Value::boolean(result[2] != 0);
        case 2: return errorValue(result[2], row, col);
        default:
            throw Error(XlsError::UnknownFormulaResult, {cellName(row, col), sheet_->Name()});
        }
    }

    void readSharedFormula(FieldReader& fields)
    {
        SharedFormula shared;
        shared.firstRow = fields.u16();
        shared.lastRow = fields.u16();
        shared.firstCol = fields.u8();
        shared.lastCol = fields.u8();
        fields.u16();   // reserved, use count
        const quint16 size = fields.u16();
        shared.tokens = fields.bytes(size);
        shared_.push_back(std::move(shared));
    }

    // The formula of an ARRAY record (its range, options and cache field first), placed at the
    // array's first cell; nothing for a data table or a formula the engine cannot compute.
    std::optional<Formula> arrayFormula(const KeptArray& array) const
    {
        constexpr int kTokensAt = 14;
        if (array.id != rec::Array || array.data.size() < kTokensAt) return std::nullopt;
        const auto* bytes = reinterpret_cast<const uchar*>(array.data.constData());
        const int size = get16(bytes + kTokensAt - 2);
        if (kTokensAt + size > array.data.size()) return std::nullopt;
        return decode(array.data.mid(kTokensAt, size), array.firstRow(), array.firstCol(), array.data.mid(kTokensAt + size));
    }

    // The shared formula a cell's ptgExp points at: the one whose first cell it names, else the
    // one whose range holds that cell (some writers name another cell than the top-left one).
    const SharedFormula* sharedFormulaAt(quint16 row, quint16 col) const
    {
        for (const SharedFormula& shared : shared_)
            if (shared.firstRow == row && shared.firstCol == col) return &shared;
        for (const SharedFormula& shared : shared_)
            if (shared.covers(row, col)) return &shared;
        return nullptr;
    }

    // Formula cells go in once the sheet is read. A cell that points at a shared formula (ptgExp)
    // takes that formula's tokens, read relative to the cell. What the engine cannot compute is
    // kept as its tokens with its last value, and so is a cell of an array formula or a data
    // table; only a formula whose tokens cannot be kept keeps its last value as a plain value,
    // and the workbook's log says so.
    void putFormulas()
    {
        constexpr char kPtgExp = 0x01;
        constexpr char kPtgTbl = 0x02;
        // The formula of each array formula, read once: its cells share it, and compute it once.
        std::map<const KeptArray*, std::optional<Formula>> arrayFormulas;
        for (const PendingFormula& f : pending_) {
            const Value& cached = f.cached;
            std::optional<Formula> formula;
            const QByteArray& tokens = f.tokens;
            const KeptArray* array = tokens.size() == 5 && (tokens[0] == kPtgExp || tokens[0] == kPtgTbl)
                                         ? arrayOfCell(tokens, f.row, f.col)
                                         : nullptr;
            if (array) {
                // A cell of an array formula or a data table: kept as the token that points at
                // its first cell, written back with the ARRAY or TABLE record. An array formula
                // the engine can compute gives each cell its element.
                formula = Formula::kept(tokens, cached, sheetContext_, f.row, f.col);
                auto whole = arrayFormulas.find(array);
                if (whole == arrayFormulas.end()) whole = arrayFormulas.emplace(array, arrayFormula(*array)).first;
                if (whole->second)
                    formula = std::move(*formula).computingArray(*whole->second, f.row - array->firstRow(),
                                                                 f.col - array->firstCol(),
                                                                 array->lastRow() - array->firstRow() + 1);
            } else if (tokens.size() >= 5 && tokens[0] == kPtgExp) {
                const auto* bytes = reinterpret_cast<const uchar*>(tokens.constData());
                const SharedFormula* shared = sharedFormulaAt(get16(bytes + 1), get16(bytes + 3));
                if (!shared) shared = sharedFormulaAt(quint16(f.row - 1), quint16(f.col - 1));
                if (shared) {
                    formula = decode(shared->tokens, f.row, f.col);
                    const auto own = formula ? std::nullopt : sharedTokensForCell(shared->tokens, f.row, f.col);
                    if (own) formula = kept(*own, {}, cached, f.row, f.col);
                }
            } else {
                formula = decode(tokens, f.row, f.col, f.extra);
                if (!formula) formula = kept(tokens, f.extra, cached, f.row, f.col);
            }
            if (formula) {
                sheet_->putFormula(f.row, f.col, *formula, cached, f.format);
            } else {
                sheet_->putCell(f.row, f.col, cached, f.format);
                if (!f.tokens.isEmpty() || f.tokenSize > 0)
                    into_.kept().dropped.push_back(QStringLiteral("%1!%2: формулата (остава стойността ѝ)").arg(sheet_->Name(), cellName(f.row, f.col)));
            }
        }
        pending_.clear();
    }

    // The array formula or data table the cell's token (ptgExp or ptgTbl) points at, when one of
    // the sheet's holds the cell and begins where the token says.
    const KeptArray* arrayOfCell(const QByteArray& tokens, int row, int col) const
    {
        const auto* bytes = reinterpret_cast<const uchar*>(tokens.constData());
        const KeptArray* array = sheet_->kept().arrayAt(row, col);
        if (!array || array->id != (tokens[0] == 0x01 ? rec::Array : rec::Table)) return nullptr;
        if (get16(bytes + 1) + 1 != array->firstRow() || get16(bytes + 3) + 1 != array->firstCol()) return nullptr;
        return array;
    }

    // The formula shows as its text through the names of the workbook and its sheet. One that
    // would not fit in a record again keeps only its value.
    std::optional<Formula> kept(const QByteArray& tokens, const QByteArray& extra, const Value& cached, int row,
                                int col) const
    {
        if (tokens.isEmpty() || tokens.size() + extra.size() > kMaxFormulaTokens) return std::nullopt;
        auto context = extra.isEmpty() ? sheetContext_
                                       : std::make_shared<const KeptContext>(KeptContext{extra, sheetContext_->place});
        return Formula::kept(tokens, cached, std::move(context), row, col);
    }

    // Tokens the engine cannot read, or a formula it could not write back into a record, give
    // nothing.
    // References to other sheets read through the workbook's link table; their size in a record
    // is the same whatever EXTERNSHEET entry they go through.
    std::optional<Formula> decode(const QByteArray& tokens, int row, int col, const QByteArray& constants = {}) const
    {
        if (tokens.isEmpty()) return std::nullopt;
        try {
            std::optional<Formula> formula = decodeBiffFormula(tokens, row, col, sheetContext_->place->names.get(), constants);
            const SheetLinks anyEntry = [](const QString&, const QString&) { return std::optional<quint16>(0); };
            if (formula) {
                const BiffFormulaRecord record = encodeBiffFormulaRecord(*formula, {}, anyEntry);
                if (record.tokens.size() + record.constants.size() > kMaxFormulaTokens) return std::nullopt;
            }
            return formula;
        } catch (const Error&) {
            return std::nullopt;
        }
    }

    void readColumnInfo(FieldReader& fields)
    {
        const int first = fields.u16() + 1;
        const int last = std::min<int>(fields.u16() + 1, kMaxColumns);
        ColumnInfo info;
        info.width = fields.u16();
        info.format = fields.u16();
        info.hidden = fields.u16() & 0x0001;
        if (info.format >= formatCount_) info.format = kDefaultCellFormat;
        for (int col = first; col <= last; ++col) sheet_->columns()[col] = info;
    }

    // The rows the sheet says it uses: room for them before the cells come.
    void readDimensions(FieldReader& fields)
    {
        fields.u32();   // first row
        const quint32 pastLastRow = fields.u32();
        sheet_->reserveRows(int(std::min<quint32>(pastLastRow, kMaxRows)));
    }

    void readRowInfo(FieldReader& fields)
    {
        const int row = fields.u16() + 1;
        fields.skip(4);
        RowInfo info;
        info.height = fields.u16() & 0x7FFF;
        fields.skip(4);
        const quint16 flags = fields.u16();
        info.hidden = flags & 0x0020;
        info.customHeight = flags & 0x0040;
        if (info.hidden || info.customHeight) sheet_->rowInfo()[row] = info;
    }

    // Areas are kept as a spreadsheet program would take them: corners in order and cut to the
    // sheet's 256 columns; an area wholly beyond the last column is left out.
    void readMergedCells(FieldReader& fields)
    {
        const quint16 count = fields.u16();
        for (quint16 i = 0; i < count; ++i) {
            const int row1 = fields.u16() + 1;
            const int row2 = fields.u16() + 1;
            const int col1 = fields.u16() + 1;
            const int col2 = fields.u16() + 1;
            CellArea area{std::min(row1, row2), std::min(col1, col2), std::max(row1, row2), std::max(col1, col2)};
            if (area.firstCol > kMaxColumns) continue;
            area.lastCol = std::min(area.lastCol, kMaxColumns);
            sheet_->merged().push_back(area);
        }
    }

    const QByteArray& stream_;
    Workbook& into_;
    StreamDone done_;
    std::vector<SheetEntry> sheetEntries_;
    quint32 sstBase_ = 0;    // where the file's shared strings begin in the workbook's table
    quint32 sstCount_ = 0;
    std::vector<Cell> rowBuffer_;
    int bufferedRow_ = 0;
    size_t formatCount_ = 0;
    int activeTab_ = 0;
    Worksheet* sheet_ = nullptr;
    bool manualCalculation_ = false;   // the sheet being read says CALCMODE manual
    bool uncalculated_ = false;        // ... and UNCALCED: its formulas' values are not up to date
    std::vector<PendingFormula> pending_;
    std::vector<SharedFormula> shared_;
    std::shared_ptr<const KeptContext> sheetContext_;   // of the sheet being read
    GlobalsPlace globalsPlace_ = GlobalsPlace::Start;   // of the globals' records read last
    GlobalsPlace lastGlobalsPlace_ = GlobalsPlace::Start;   // where the last kept record went
    SheetPlace sheetPlace_ = SheetPlace::Head;
};

} // namespace

void readWorkbook(const QString& path, Workbook& into)
{
    try {
        useWorkbookStream(path, [&into](const QByteArray& stream, const StreamDone& done) {
            WorkbookReader(stream, into, done).read();
        });
    } catch (const Error& error) {
        throw Error(error, XlsError::FileNotRead, {QDir::toNativeSeparators(path), closedReason(error)});
    }
}

void readWorkbookBytes(const QByteArray& bytes, Workbook& into)
{
    try {
        useWorkbookStreamOf(bytes, [&into](const QByteArray& stream) { WorkbookReader(stream, into).read(); });
    } catch (const Error& error) {
        throw Error(error, XlsError::WorkbookNotRead, {closedReason(error)});
    }
}

} // namespace store::xls
