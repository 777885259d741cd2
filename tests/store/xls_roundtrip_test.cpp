// Workbooks written to .xls and read back by our own reader, and the layout of what we write.

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "store/xls/XlsFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

using namespace store;
using namespace store::xls;

namespace {

std::unique_ptr<Workbook> roundTrip(const Workbook& workbook, const QString& path)
{
    writeWorkbook(workbook, path);
    auto back = std::make_unique<Workbook>(nullptr, false);
    readWorkbook(path, *back);
    return back;
}

// Every stored cell of two sheets: value (or formula text and cached value) and format.
void expectSameCells(const Worksheet& expected, const Worksheet& actual)
{
    ASSERT_EQ(expected.lastRow(), actual.lastRow()) << expected.Name().toStdString();
    for (int row = 1; row <= expected.lastRow(); ++row) {
        const auto& want = expected.rowCells(row);
        const auto& got = actual.rowCells(row);
        ASSERT_EQ(want.size(), got.size()) << "row " << row;
        for (size_t i = 0; i < want.size(); ++i) {
            const int col = want[i].col;
            EXPECT_EQ(got[i].col, col);
            EXPECT_EQ(got[i].format, want[i].format) << "row " << row << " col " << col;
            EXPECT_EQ(actual.value(row, col), expected.value(row, col)) << "row " << row << " col " << col;
            ASSERT_EQ(bool(got[i].formula()), bool(want[i].formula())) << "row " << row << " col " << col;
            if (want[i].formula()) {
                EXPECT_EQ(got[i].formula()->formula.toA1(), want[i].formula()->formula.toA1());
            }
        }
    }
}

struct StreamRecords {
    QByteArray stream;
    std::vector<Record> records;
};

StreamRecords recordsOf(const QString& path)
{
    StreamRecords s;
    s.stream = readWorkbookStream(path);
    RecordReader reader(s.stream, 0);
    while (auto r = reader.next()) {
        s.records.push_back(*r);
        if (r->id == rec::Eof && reader.position() >= s.stream.size() - 4) break;
    }
    return s;
}

} // namespace

TEST(XlsRoundTrip, ValuesOfEveryKindFormulasAndCyrillic)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& goods = book.appendSheet(QStringLiteral("Стоки"));
    Worksheet& other = book.appendSheet(QStringLiteral("Sales 2024"));
    book.appendSheet(QStringLiteral("Празен"));

    const std::vector<double> numbers{0, 1, -1, 42, 536870911, 536870912, -536870913, 0.1, 1.5, 123.45,
                                      -2.75, 1e-300, 1e300, 123456789.123456789,
                                      std::numeric_limits<double>::denorm_min(), -0.0};
    for (size_t i = 0; i < numbers.size(); ++i) goods.setValue(int(i) + 1, 1, numbers[i]);
    goods.setValue(1, 2, QStringLiteral("Кукла „Барби“ – розова"));
    goods.setValue(2, 2, QStringLiteral("plain latin"));
    goods.setValue(3, 2, QStringLiteral("àéîõü ÿ"));        // compressed: every character < 256
    goods.setValue(4, 2, QStringLiteral("mixed Ω € ä"));     // one character past 255: UTF-16
    goods.setValue(5, 2, QString(12000, QChar(0x0431)));   // longer than one record
    goods.setValue(6, 2, QString(30000, QLatin1Char('q')));
    goods.setValue(7, 2, QStringLiteral("Кукла „Барби“ – розова"));   // the same text again
    goods.setValue(1, 3, Value::boolean(true));
    goods.setValue(2, 3, Value::boolean(false));
    const std::vector<ErrorCode> errors{ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                                        ErrorCode::Name, ErrorCode::Num, ErrorCode::NA};
    for (size_t i = 0; i < errors.size(); ++i) goods.setValue(int(i) + 3, 3, Value::error(errors[i]));
    goods.setFormula(1, 4, Formula::parseA1(QStringLiteral("=SUM(A1:A5)*2"), 1, 4));
    goods.setFormula(2, 4, Formula::parseA1(QStringLiteral("=IF(C1,\"да\",\"не\")"), 2, 4));
    goods.setFormula(3, 4, Formula::parseA1(QStringLiteral("=A2>A3"), 3, 4));
    goods.setFormula(4, 4, Formula::parseA1(QStringLiteral("=1/0"), 4, 4));
    goods.setFormula(5, 4, Formula::parseA1(QStringLiteral("=COUNTIF(B1:B10000,\"<>\")"), 5, 4));
    goods.setFormula(6, 4, Formula::parseA1(QStringLiteral("=ROUND(A10,2)&B1"), 6, 4));
    goods.setValue(200, 256, QStringLiteral("the far corner"));
    other.setValue(65536, 1, 7);
    other.putCell(3, 3, Value(), 15);   // a stored cell that holds nothing writes nothing
    book.activate(other);

    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    auto back = roundTrip(book, path);
    ASSERT_EQ(back->sheetCount(), 3);
    EXPECT_EQ(back->sheets(1).Name(), QStringLiteral("Стоки"));
    EXPECT_EQ(back->sheets(2).Name(), QStringLiteral("Sales 2024"));
    EXPECT_EQ(back->sheets(3).Name(), QStringLiteral("Празен"));
    EXPECT_EQ(back->indexOf(back->ActiveSheet()), 2);
    // Formulas come back with the values they were saved with, before any recalculation.
    const FormulaCell* text = back->sheets(1).formulaAt(2, 4);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->value, Value(QStringLiteral("да")));
    EXPECT_EQ(back->sheets(1).formulaAt(4, 4)->value, Value::error(ErrorCode::Div0));
    EXPECT_EQ(back->sheets(1).formulaAt(3, 4)->value, Value::boolean(true));
    EXPECT_EQ(back->sheets(1).formulaAt(5, 4)->value, Value(7));
    expectSameCells(goods, back->sheets(1));
    EXPECT_EQ(back->sheets(2).value(65536, 1), Value(7));
    EXPECT_EQ(back->sheets(2).lastColumn(), 1);
    EXPECT_EQ(back->sheets(3).lastRow(), 0);

    // Exactly the same doubles, sign of zero included.
    for (size_t i = 0; i < numbers.size(); ++i) {
        const double got = back->sheets(1).value(int(i) + 1, 1).number();
        EXPECT_EQ(std::memcmp(&got, &numbers[i], sizeof got), 0) << numbers[i];
    }
}

TEST(XlsRoundTrip, FormattingWidthsHeightsAndMergedCells)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& form = book.appendSheet(QStringLiteral("Фактура"));
    WorkbookStyles& styles = book.styles();

    Font bold;
    bold.weight = 700;
    bold.height = 280;
    bold.name = QStringLiteral("Times New Roman");
    const quint16 boldFont = styles.addFont(bold);
    EXPECT_EQ(boldFont, 6);   // after five fonts, skipping index 4
    EXPECT_EQ(styles.addFont(bold), boldFont);
    EXPECT_EQ(*styles.fontAt(boldFont), bold);

    CellFormat title;
    title.font = boldFont;
    title.hAlign = HAlign::Center;
    title.vAlign = VAlign::Center;
    title.wrap = true;
    const quint16 titleFormat = styles.addFormat(title);

    CellFormat money;
    money.numberFormat = styles.addNumberFormat(QStringLiteral("0.00"));
    EXPECT_EQ(money.numberFormat, 2);   // a built-in format
    money.left = money.right = money.top = money.bottom = {BorderLine::Thin, 8};
    money.fillPattern = 1;
    money.patternColor = 22;
    const quint16 moneyFormat = styles.addFormat(money);

    CellFormat price;
    price.numberFormat = styles.addNumberFormat(QStringLiteral("#,##0.00\" лв.\""));
    EXPECT_GE(price.numberFormat, kFirstCustomNumberFormat);
    price.rotation = 45;
    price.indent = 2;
    price.locked = false;
    price.bottom = {BorderLine::Double, 10};
    const quint16 priceFormat = styles.addFormat(price);
    EXPECT_EQ(styles.addFormat(price), priceFormat);

    form.putCell(1, 1, Value(QStringLiteral("ФАКТУРА")), titleFormat);
    form.merged().push_back({1, 1, 2, 6});
    form.merged().push_back({10, 2, 10, 4});
    form.putCell(3, 2, Value(12.5), moneyFormat);
    form.putCell(3, 3, Value(99), priceFormat);
    form.putCell(4, 4, Value(), moneyFormat);   // bordered but empty
    form.columns()[1] = {20 * 256, kDefaultCellFormat, false};
    form.columns()[2] = {12 * 256, kDefaultCellFormat, false};
    form.columns()[3] = {12 * 256, kDefaultCellFormat, false};
    form.columns()[7] = {3000, moneyFormat, true};
    form.rowInfo()[1] = {600, true, false};
    form.rowInfo()[5] = {255, false, true};

    const QString path = dir.filePath(QStringLiteral("Faktura.xls"));
    auto back = roundTrip(book, path);
    const WorkbookStyles& read = back->styles();
    EXPECT_EQ(read.fonts, styles.fonts);
    EXPECT_EQ(read.formats, styles.formats);
    EXPECT_EQ(read.numberFormats, styles.numberFormats);
    const Worksheet& sheet = back->sheets(1);
    expectSameCells(form, sheet);
    EXPECT_EQ(sheet.merged(), form.merged());
    ASSERT_EQ(sheet.columns().size(), 4u);
    for (const auto& [col, info] : form.columns()) {
        ASSERT_TRUE(sheet.columns().count(col)) << col;
        EXPECT_EQ(sheet.columns().at(col).width, info.width);
        EXPECT_EQ(sheet.columns().at(col).format, info.format);
        EXPECT_EQ(sheet.columns().at(col).hidden, info.hidden);
    }
    ASSERT_EQ(sheet.rowInfo().size(), 2u);
    EXPECT_EQ(sheet.rowInfo().at(1).height, 600);
    EXPECT_TRUE(sheet.rowInfo().at(1).customHeight);
    EXPECT_TRUE(sheet.rowInfo().at(5).hidden);

    // Saving what was read gives the same file again.
    const QString again = dir.filePath(QStringLiteral("again.xls"));
    writeWorkbook(*back, again);
    EXPECT_EQ(readWorkbookStream(again), readWorkbookStream(path));
}

TEST(XlsRoundTrip, StreamHasTheRecordsOtherProgramsExpect)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& first = book.appendSheet(QStringLiteral("Първи"));
    Worksheet& second = book.appendSheet(QStringLiteral("Втори"));
    first.setValue(2, 3, QStringLiteral("текст"));
    first.setValue(5, 4, 1.0 / 3);   // a number no RK holds
    second.setValue(1, 1, QStringLiteral("текст"));
    const QString path = dir.filePath(QStringLiteral("small.xls"));
    writeWorkbook(book, path);

    const StreamRecords s = recordsOf(path);
    EXPECT_GE(s.stream.size(), 4096);
    std::vector<quint16> globals;
    for (const Record& r : s.records) {
        globals.push_back(r.id);
        if (r.id == rec::Eof) break;
    }
    const std::vector<quint16> start{rec::Bof, rec::CodePage, rec::Window1, rec::DateMode,
                                     rec::Font, rec::Font, rec::Font, rec::Font, rec::Font};
    ASSERT_GT(globals.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), globals.begin()));
    EXPECT_EQ(get16(s.records[1].data), 1200);
    EXPECT_EQ(std::count(globals.begin(), globals.end(), rec::Xf), 16);
    EXPECT_EQ(std::count(globals.begin(), globals.end(), rec::Style), 1);
    const std::vector<quint16> end{rec::BoundSheet, rec::BoundSheet, rec::Sst, rec::ExtSst, rec::Eof};
    EXPECT_TRUE(std::equal(end.begin(), end.end(), globals.end() - qsizetype(end.size())));

    // The SST counts: "текст" twice, once unique.
    const Record& sst = s.records[globals.size() - 3];
    EXPECT_EQ(get32(sst.data), 2u);
    EXPECT_EQ(get32(sst.data + 4), 1u);

    // Each BOUNDSHEET points at its sheet's BOF; the sheet holds DIMENSIONS, cells, WINDOW2, EOF.
    const auto* bytes = reinterpret_cast<const uchar*>(s.stream.constData());
    for (int i = 0; i < 2; ++i) {
        const Record& bound = s.records[globals.size() - 5 + size_t(i)];
        const quint32 offset = get32(bound.data);
        ASSERT_LT(offset + 8, quint32(s.stream.size()));
        EXPECT_EQ(get16(bytes + offset), rec::Bof);
        EXPECT_EQ(get16(bytes + offset + 4), kBiff8Version);
        EXPECT_EQ(get16(bytes + offset + 6), kBofWorksheet);
        RecordReader sheet(s.stream, offset);
        std::vector<quint16> ids;
        std::optional<Record> dimensions;
        while (auto r = sheet.next()) {
            ids.push_back(r->id);
            if (r->id == rec::Dimensions) dimensions = r;
            if (r->id == rec::Eof) break;
        }
        ASSERT_TRUE(dimensions);
        if (i == 0) {
            EXPECT_EQ(get32(dimensions->data), 1u);        // first row (0-based)
            EXPECT_EQ(get32(dimensions->data + 4), 5u);    // last row + 1
            EXPECT_EQ(get16(dimensions->data + 8), 2u);    // first column
            EXPECT_EQ(get16(dimensions->data + 10), 4u);   // last column + 1
            const std::vector<quint16> expected{rec::Bof, rec::Dimensions, rec::LabelSst, rec::Number, rec::Window2, rec::Eof};
            EXPECT_EQ(ids, expected);
        }
    }
}
