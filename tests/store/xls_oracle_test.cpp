// The independent side of the .xls files: xlrd and LibreOffice read what we write, and we read
// what LibreOffice writes. Both programs are installed by the test script; without them these
// tests fail.

#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "store/xls/XlsFile.h"
#include "tests/support/Fods.h"
#include "tests/support/Oracles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QXmlStreamReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace testsupport;

namespace {

QString longName(int i)
{
    return QStringLiteral("Плюшена играчка „Мечо“ номер %1, голяма, с панделка").arg(i);
}

// xlrd's cells of one sheet by "row,col" (0-based): [ctype, value, xf].
std::map<std::pair<int, int>, QJsonArray> xlrdCells(const QJsonObject& sheet)
{
    std::map<std::pair<int, int>, QJsonArray> cells;
    for (const auto& c : sheet[QStringLiteral("cells")].toArray()) {
        const QJsonArray cell = c.toArray();
        cells[{cell[0].toInt(), cell[1].toInt()}] = QJsonArray{cell[2], cell[3], cell[4]};
    }
    return cells;
}

QJsonArray cellAt(const std::map<std::pair<int, int>, QJsonArray>& cells, int row, int col)
{
    const auto found = cells.find({row, col});
    return found != cells.end() ? found->second : QJsonArray();
}

enum XlrdType { XlText = 1, XlNumber = 2, XlBool = 4, XlError = 5, XlBlank = 6 };

int countRecords(const QByteArray& stream, quint16 id)
{
    int count = 0;
    xls::RecordReader reader(stream, 0);
    while (auto r = reader.next()) count += r->id == id;
    return count;
}

// What LibreOffice shows of a sheet, from the flat document it saves: the properties of each
// automatic style, the style of each column and row, and the cells of the first rows.
struct ShownCell {
    QString style, text;
    int span = 1;
};
struct ShownSheet {
    std::map<QString, std::map<QString, QString>> styles;   // style name → property → value
    QStringList columnStyles, rowStyles;
    std::vector<std::vector<ShownCell>> rows;
    QString property(const QString& style, const QString& name) const
    {
        const auto found = styles.find(style);
        if (found == styles.end()) return {};
        const auto value = found->second.find(name);
        return value != found->second.end() ? value->second : QString();
    }
};

ShownSheet readFods(const QString& path)
{
    ShownSheet shown;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return shown;
    QXmlStreamReader xml(&file);
    QString style;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QString name = xml.qualifiedName().toString();
        const auto attributes = xml.attributes();
        if (name == QLatin1String("style:style")) {
            style = attributes.value(QLatin1String("style:name")).toString();
        } else if (name.startsWith(QLatin1String("style:")) && name.endsWith(QLatin1String("-properties"))) {
            for (const auto& a : attributes) shown.styles[style][a.qualifiedName().toString()] = a.value().toString();
        } else if (name == QLatin1String("table:table-column")) {
            shown.columnStyles << attributes.value(QLatin1String("table:style-name")).toString();
        } else if (name == QLatin1String("table:table-row")) {
            shown.rowStyles << attributes.value(QLatin1String("table:style-name")).toString();
            shown.rows.emplace_back();
        } else if (name == QLatin1String("table:table-cell") && !shown.rows.empty()) {
            ShownCell cell;
            cell.style = attributes.value(QLatin1String("table:style-name")).toString();
            cell.span = std::max(1, attributes.value(QLatin1String("table:number-columns-spanned")).toInt());
            shown.rows.back().push_back(cell);
        } else if (name == QLatin1String("text:p") && !shown.rows.empty() && !shown.rows.back().empty()) {
            shown.rows.back().back().text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    return shown;
}

// A length of the flat document ("0.4165in", "1.2cm") in inches.
double inches(const QString& length)
{
    if (length.endsWith(QLatin1String("in"))) return length.chopped(2).toDouble();
    if (length.endsWith(QLatin1String("cm"))) return length.chopped(2).toDouble() / 2.54;
    return -1;
}

} // namespace

TEST(XlsOracles, XlrdReadsValuesFormulasAndFormattingWeWrite)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& goods = book.appendSheet(QStringLiteral("Стоки"));
    Worksheet& sales = book.appendSheet(QStringLiteral("Продажби"));
    Worksheet& report = book.appendSheet(QStringLiteral("Справка"));
    WorkbookStyles& styles = book.styles();

    Font boldFont;
    boldFont.weight = 700;
    CellFormat header;
    header.font = styles.addFont(boldFont);
    header.hAlign = HAlign::Center;
    const quint16 headerFormat = styles.addFormat(header);
    CellFormat money;
    money.numberFormat = styles.addNumberFormat(QStringLiteral("0.00"));
    money.top = money.bottom = money.left = money.right = {BorderLine::Thin, 8};
    const quint16 moneyFormat = styles.addFormat(money);
    CellFormat custom;
    custom.numberFormat = styles.addNumberFormat(QStringLiteral("#,##0.000\" бр.\""));
    const quint16 customFormat = styles.addFormat(custom);

    goods.putCell(1, 1, Value(QStringLiteral("Име")), headerFormat);
    for (int i = 1; i <= 600; ++i) {   // far more than 8,224 bytes of Cyrillic text
        goods.setValue(i + 1, 1, longName(i));
        goods.setValue(i + 1, 2, i * 7);
        goods.putCell(i + 1, 3, Value(i * 1.1), moneyFormat);
    }
    goods.setValue(2, 4, Value::boolean(true));
    goods.setValue(3, 4, Value::error(ErrorCode::NA));
    goods.putCell(4, 4, Value(2.5), customFormat);
    goods.setFormula(1, 5, Formula::parseA1(QStringLiteral("=COUNTIF(B2:B10000,\"<>\")"), 1, 5));
    goods.setFormula(2, 5, Formula::parseA1(QStringLiteral("=IF(B2>0,\"има\",\"няма\")"), 2, 5));
    goods.setFormula(3, 5, Formula::parseA1(QStringLiteral("=B2>100"), 3, 5));
    goods.setFormula(4, 5, Formula::parseA1(QStringLiteral("=1/0"), 4, 5));
    goods.setFormula(5, 5, Formula::parseA1(QStringLiteral("=ROUND(C2*C3,2)"), 5, 5));
    goods.columns()[1] = {30 * 256, kDefaultCellFormat, false};
    goods.rowInfo()[1] = {500, true, false};
    sales.setValue(1, 1, QStringLiteral("Продажба"));
    report.putCell(1, 1, Value(QStringLiteral("Справка за месеца")), headerFormat);
    report.merged().push_back({1, 1, 1, 4});

    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    xls::writeWorkbook(book, path);
    const QJsonObject read = readWithXlrd(path);
    ASSERT_TRUE(read[QStringLiteral("error")].isNull()) << read[QStringLiteral("error")].toString().toStdString();

    const QJsonArray sheets = read[QStringLiteral("sheets")].toArray();
    ASSERT_EQ(sheets.size(), 3);
    EXPECT_EQ(sheets[0][QStringLiteral("name")].toString(), QStringLiteral("Стоки"));
    EXPECT_EQ(sheets[1][QStringLiteral("name")].toString(), QStringLiteral("Продажби"));
    EXPECT_EQ(sheets[2][QStringLiteral("name")].toString(), QStringLiteral("Справка"));

    auto cells = xlrdCells(sheets[0].toObject());
    EXPECT_EQ(cells.size(), 1u + 600 * 3 + 3 + 5);
    for (int i = 1; i <= 600; ++i) {
        const QJsonArray name = cellAt(cells, i, 0);
        EXPECT_EQ(name[0].toInt(), XlText);
        EXPECT_EQ(name[1].toString(), longName(i)) << i;
        EXPECT_EQ(cellAt(cells, i, 1)[1].toDouble(), i * 7);
        EXPECT_EQ(cellAt(cells, i, 2)[1].toDouble(), i * 1.1);   // exactly the same double
    }
    EXPECT_EQ(cellAt(cells, 1, 3)[0].toInt(), XlBool);
    EXPECT_EQ(cellAt(cells, 1, 3)[1].toInt(), 1);
    EXPECT_EQ(cellAt(cells, 2, 3)[0].toInt(), XlError);
    EXPECT_EQ(cellAt(cells, 2, 3)[1].toInt(), 0x2A);
    // Formula cells as xlrd sees them: their saved results.
    EXPECT_EQ(cellAt(cells, 0, 4)[1].toDouble(), 600);
    EXPECT_EQ(cellAt(cells, 1, 4)[0].toInt(), XlText);
    EXPECT_EQ(cellAt(cells, 1, 4)[1].toString(), QStringLiteral("има"));
    EXPECT_EQ(cellAt(cells, 2, 4)[0].toInt(), XlBool);
    EXPECT_EQ(cellAt(cells, 2, 4)[1].toInt(), 0);
    EXPECT_EQ(cellAt(cells, 3, 4)[0].toInt(), XlError);
    EXPECT_EQ(cellAt(cells, 3, 4)[1].toInt(), 0x07);
    EXPECT_EQ(cellAt(cells, 4, 4)[1].toDouble(), goods.value(5, 5).number());
    EXPECT_DOUBLE_EQ(cellAt(cells, 4, 4)[1].toDouble(), 2.42);

    // Formatting: the header's font is bold, the money cells have "0.00" and thin borders.
    const QJsonArray xfs = read[QStringLiteral("xfs")].toArray();
    const QJsonArray fonts = read[QStringLiteral("fonts")].toArray();
    const QJsonObject formats = read[QStringLiteral("formats")].toObject();
    const QJsonObject headerXf = xfs[cellAt(cells, 0, 0)[2].toInt()].toObject();
    EXPECT_TRUE(fonts[headerXf[QStringLiteral("font")].toInt()][QStringLiteral("bold")].toBool());
    EXPECT_EQ(headerXf[QStringLiteral("fontFlag")].toInt(), 1);   // the font is the cell's own, not its style's
    EXPECT_EQ(headerXf[QStringLiteral("h")].toInt(), 2);
    const QJsonObject moneyXf = xfs[cellAt(cells, 5, 2)[2].toInt()].toObject();
    EXPECT_EQ(formats[QString::number(moneyXf[QStringLiteral("format")].toInt())].toString(), QStringLiteral("0.00"));
    EXPECT_EQ(moneyXf[QStringLiteral("top")].toInt(), 1);
    EXPECT_EQ(moneyXf[QStringLiteral("left")].toInt(), 1);
    EXPECT_EQ(moneyXf[QStringLiteral("borderFlag")].toInt(), 1);
    EXPECT_EQ(moneyXf[QStringLiteral("formatFlag")].toInt(), 1);
    EXPECT_EQ(moneyXf[QStringLiteral("fontFlag")].toInt(), 0);
    const QJsonObject customXf = xfs[cellAt(cells, 3, 3)[2].toInt()].toObject();
    EXPECT_EQ(formats[QString::number(customXf[QStringLiteral("format")].toInt())].toString(),
              QStringLiteral("#,##0.000\" бр.\""));
    const QJsonObject plainXf = xfs[cellAt(cells, 1, 1)[2].toInt()].toObject();
    EXPECT_FALSE(fonts[plainXf[QStringLiteral("font")].toInt()][QStringLiteral("bold")].toBool());
    EXPECT_EQ(sheets[0][QStringLiteral("widths")][QStringLiteral("0")].toInt(), 30 * 256);
    EXPECT_EQ(sheets[0][QStringLiteral("heights")][QStringLiteral("0")].toInt(), 500);
    EXPECT_EQ(sheets[2][QStringLiteral("merged")].toArray(), (QJsonArray{QJsonArray{0, 1, 0, 4}}));
}

// A workbook far bigger than the writer's buffer goes out in pieces: every sheet is where the
// globals say it starts, and a function the engine does not know, typed in the last sheet, is
// named among the globals that went out before it.
TEST(XlsOracles, BigWorkbookWrittenInPiecesReadsWhole)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    constexpr int kRows = 12000;   // some 600 KB a sheet
    for (int s = 1; s <= 3; ++s) {
        Worksheet& sheet = book.appendSheet(QStringLiteral("Лист %1").arg(s));
        for (int row = 1; row <= kRows; ++row) {
            sheet.setValue(row, 1, QStringLiteral("Стока %1").arg(row));
            sheet.setValue(row, 2, row * 10 + s);
        }
    }
    book.sheets(3).Range(QStringLiteral("C1")).setFormula(QStringLiteral("=SUMM(B1)"));
    book.sheets(3).Range(QStringLiteral("C2")).setFormula(QStringLiteral("=SUM(B1:B3)"));
    const QString path = dir.filePath(QStringLiteral("big.xls"));
    xls::writeWorkbook(book, path);

    const QJsonObject read = readWithXlrd(path);
    ASSERT_TRUE(read[QStringLiteral("error")].isNull()) << read[QStringLiteral("error")].toString().toStdString();
    const QJsonArray sheets = read[QStringLiteral("sheets")].toArray();
    ASSERT_EQ(sheets.size(), 3);
    for (int s = 1; s <= 3; ++s) {
        const QJsonObject sheet = sheets[s - 1].toObject();
        EXPECT_EQ(sheet[QStringLiteral("name")].toString(), QStringLiteral("Лист %1").arg(s));
        const auto cells = xlrdCells(sheet);
        EXPECT_EQ(cellAt(cells, 0, 0)[1].toString(), QStringLiteral("Стока 1"));
        EXPECT_EQ(cellAt(cells, kRows - 1, 0)[1].toString(), QStringLiteral("Стока %1").arg(kRows));
        EXPECT_EQ(cellAt(cells, kRows - 1, 1)[1].toDouble(), kRows * 10 + s);
    }

    Workbook back(nullptr, false);
    xls::readWorkbook(path, back);
    Worksheet& last = back.sheets(3);
    EXPECT_EQ(last.value(kRows, 2), Value(kRows * 10 + 3));
    EXPECT_EQ(last.value(1, 3), Value::error(ErrorCode::Name));
    EXPECT_EQ(last.value(2, 3), Value(60 + 3 * 3));
    ASSERT_TRUE(last.formulaAt(1, 3));
    EXPECT_EQ(last.Range(QStringLiteral("C1")).Formula(), QStringLiteral("=SUMM(B1)"));
}

TEST(XlsOracles, LibreOfficeOpensWhatWeWriteAndRecalculates)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& goods = book.appendSheet(QStringLiteral("Стоки"));
    Worksheet& second = book.appendSheet(QStringLiteral("Втори"));
    int filled = 0;
    for (int row = 2; row <= 300; ++row) {
        if (row % 3 == 0) continue;
        goods.setValue(row, 2, row % 2 ? Value(QStringLiteral("кукла %1").arg(row)) : Value(row * 0.25));
        ++filled;
    }
    goods.setValue(1, 1, QStringLiteral("Брой"));
    goods.setFormula(1, 4, Formula::parseA1(QStringLiteral("=COUNTIF(B2:B10000,\"<>\")"), 1, 4));
    goods.setValue(1, 5, Value::boolean(true));
    second.setValue(1, 1, QStringLiteral("Ж"));
    ASSERT_EQ(goods.value(1, 4), Value(filled));
    // A wrong saved result: what LibreOffice shows must then come from its own recalculation.
    goods.formulaAt(1, 4)->value = Value(-1);

    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    xls::writeWorkbook(book, path);
    const QString failure = convertWithLibreOffice({path}, csvPerSheetFilter(), dir.path());
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();

    const auto rows = readCsv(dir.filePath(QStringLiteral("Danni-Стоки.csv")));
    ASSERT_EQ(rows.size(), 299u);
    ASSERT_GE(rows[0].size(), 5);
    EXPECT_EQ(rows[0][0], QStringLiteral("Брой"));
    EXPECT_EQ(rows[0][3], QString::number(filled));
    // LibreOffice shows a boolean of a General-formatted cell as 1.
    EXPECT_TRUE(rows[0][4] == QLatin1String("TRUE") || rows[0][4] == QLatin1String("1")) << rows[0][4].toStdString();
    EXPECT_EQ(rows[4][1], QStringLiteral("кукла 5"));
    EXPECT_EQ(rows[3][1], QStringLiteral("1"));
    EXPECT_EQ(rows[9][1], QStringLiteral("2.5"));
    EXPECT_EQ(rows[2][1], QString());
    const auto other = readCsv(dir.filePath(QStringLiteral("Danni-Втори.csv")));
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0][0], QStringLiteral("Ж"));
}

TEST(XlsOracles, LibreOfficeShowsOurFormatting)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& form = book.appendSheet(QStringLiteral("Фактура"));
    WorkbookStyles& styles = book.styles();
    Font big;
    big.weight = 700;
    big.height = 280;
    CellFormat title;
    title.font = styles.addFont(big);
    title.hAlign = HAlign::Center;
    CellFormat money;
    money.numberFormat = styles.addNumberFormat(QStringLiteral("0.00"));
    money.left = money.right = money.top = money.bottom = {BorderLine::Thin, 8};
    form.putCell(1, 1, Value(QStringLiteral("ФАКТУРА")), styles.addFormat(title));
    form.merged().push_back({1, 1, 1, 3});
    form.setValue(2, 1, QStringLiteral("Сума"));
    form.putCell(2, 2, Value(12.5), styles.addFormat(money));
    form.columns()[1] = {30 * 256, kDefaultCellFormat, false};
    form.columns()[2] = {10 * 256, kDefaultCellFormat, false};
    form.rowInfo()[1] = {600, true, false};
    const QString path = dir.filePath(QStringLiteral("Faktura.xls"));
    xls::writeWorkbook(book, path);
    const QString failure = convertWithLibreOffice({path}, QStringLiteral("fods"), dir.path());
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();

    const ShownSheet shown = readFods(dir.filePath(QStringLiteral("Faktura.fods")));
    ASSERT_GE(shown.rows.size(), 2u);
    ASSERT_FALSE(shown.rows[0].empty());
    const ShownCell& titleCell = shown.rows[0][0];
    EXPECT_EQ(titleCell.text, QStringLiteral("ФАКТУРА"));
    EXPECT_EQ(titleCell.span, 3);
    EXPECT_EQ(shown.property(titleCell.style, QStringLiteral("fo:font-weight")), QStringLiteral("bold"));
    EXPECT_EQ(shown.property(titleCell.style, QStringLiteral("fo:font-size")), QStringLiteral("14pt"));
    EXPECT_EQ(shown.property(titleCell.style, QStringLiteral("fo:text-align")), QStringLiteral("center"));
    ASSERT_GE(shown.rows[1].size(), 2u);
    const ShownCell& moneyCell = shown.rows[1][1];
    EXPECT_EQ(moneyCell.text, QStringLiteral("12.50"));   // shown with the "0.00" format
    EXPECT_TRUE(shown.property(moneyCell.style, QStringLiteral("fo:border")).contains(QLatin1String("solid")));
    EXPECT_NE(shown.property(shown.rows[1][0].style, QStringLiteral("fo:font-weight")), QStringLiteral("bold"));
    EXPECT_NEAR(inches(shown.property(shown.rowStyles.value(0), QStringLiteral("style:row-height"))), 600 / 1440.0, 0.01);
    ASSERT_GE(shown.columnStyles.size(), 2);
    const double first = inches(shown.property(shown.columnStyles[0], QStringLiteral("style:column-width")));
    const double second = inches(shown.property(shown.columnStyles[1], QStringLiteral("style:column-width")));
    ASSERT_GT(second, 0);
    EXPECT_NEAR(first / second, 3.0, 0.3);
}

TEST(XlsOracles, WeReadWhatLibreOfficeWrites)
{
    QTemporaryDir dir;
    // Data: much Cyrillic text (the SST needs CONTINUE), integers (RK, MULRK), fractions,
    // booleans, errors and formulas with their results.
    fods::Sheet data{QStringLiteral("Данни"), {}, {}};
    for (int i = 1; i <= 400; ++i)
        data.rows.push_back({fods::text(longName(i)), fods::number(i), fods::number(i * 10), fods::number(i + 0.25)});
    fods::Sheet sums{QStringLiteral("Сметки"), {}, {}};
    sums.rows.push_back({fods::formula(QStringLiteral("of:=SUM([.B2:.B5])")), fods::number(1), fods::boolean(true),
                         fods::formula(QStringLiteral("of:=1/0"))});
    sums.rows.push_back({fods::formula(QStringLiteral("of:=COUNTIF([.B1:.B10];\">1\")")), fods::number(2),
                         fods::boolean(false), fods::formula(QStringLiteral("of:=IF([.B1]>0;\"да\";\"не\")"))});
    sums.rows.push_back({fods::formula(QStringLiteral("of:=ROUND([.B3]/7;2)")), fods::number(3.5),
                         fods::text(QStringLiteral("текст")), fods::formula(QStringLiteral("of:=[.B1]>5"))});
    sums.rows.push_back({fods::empty(), fods::number(-4)});
    sums.rows.push_back({fods::empty(), fods::number(5)});
    // The same formula down a column: LibreOffice stores it once, as a shared formula.
    fods::Sheet shared{QStringLiteral("Редове"), {}, {}};
    for (int row = 1; row <= 30; ++row)
        shared.rows.push_back({fods::formula(QStringLiteral("of:=[.B%1]*2").arg(row)), fods::number(row)});
    ASSERT_TRUE(fods::write(dir.filePath(QStringLiteral("data.fods")), {data, sums, shared}));

    // A form: bold title over merged cells, a bordered cell, a wide first column.
    const QString styles = QStringLiteral(
        "<style:style style:name=\"wide\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"6cm\"/></style:style>"
        "<style:style style:name=\"narrow\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"2cm\"/></style:style>"
        "<style:style style:name=\"bold\" style:family=\"table-cell\"><style:text-properties fo:font-weight=\"bold\" style:font-name=\"Arial\"/></style:style>"
        "<style:style style:name=\"boxed\" style:family=\"table-cell\"><style:table-cell-properties fo:border=\"0.74pt solid #000000\"/></style:style>");
    fods::Sheet form{QStringLiteral("Фактура"), {QStringLiteral("wide"), QStringLiteral("narrow"), QStringLiteral("narrow")}, {}};
    form.rows.push_back({fods::spanning(QStringLiteral("ФАКТУРА"), 3, 1, QStringLiteral("bold"))});
    form.rows.push_back({fods::text(QStringLiteral("Сума")), fods::number(12.5, QStringLiteral("boxed"))});
    ASSERT_TRUE(fods::write(dir.filePath(QStringLiteral("form.fods")), {form}, styles));

    const QString failure = convertWithLibreOffice({dir.filePath(QStringLiteral("data.fods")), dir.filePath(QStringLiteral("form.fods"))},
                                                   QStringLiteral("xls:MS Excel 97"), dir.path());
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();

    // The file does hold the records this test is about.
    const QByteArray stream = xls::readWorkbookStream(dir.filePath(QStringLiteral("data.xls")));
    EXPECT_GT(countRecords(stream, xls::rec::Continue), 0);
    EXPECT_GT(countRecords(stream, xls::rec::MulRk) + countRecords(stream, xls::rec::Rk), 0);
    EXPECT_GT(countRecords(stream, xls::rec::Formula), 0);
    EXPECT_GT(countRecords(stream, xls::rec::ShrFmla), 0);

    const auto book = Workbook::open(dir.filePath(QStringLiteral("data.xls")));
    ASSERT_EQ(book->sheetCount(), 3);
    const Worksheet& read = book->sheets(QStringLiteral("Данни"));
    EXPECT_EQ(book->sheets(2).Name(), QStringLiteral("Сметки"));
    EXPECT_EQ(read.lastRow(), 400);
    for (int i = 1; i <= 400; ++i) {
        EXPECT_EQ(read.value(i, 1), Value(longName(i))) << i;
        EXPECT_EQ(read.value(i, 2), Value(i));
        EXPECT_EQ(read.value(i, 3), Value(i * 10));
        EXPECT_EQ(read.value(i, 4), Value(i + 0.25));
    }
    const Worksheet& calc = book->sheets(QStringLiteral("Сметки"));
    // The saved results, before our engine computes anything.
    const std::vector<std::tuple<int, int, Value, QString>> formulas{
        {1, 1, Value(6.5), QStringLiteral("=SUM(B2:B5)")},
        {2, 1, Value(3), QStringLiteral("=COUNTIF(B1:B10,\">1\")")},
        {3, 1, Value(0.5), QStringLiteral("=ROUND(B3/7,2)")},
        {1, 4, Value::error(ErrorCode::Div0), QStringLiteral("=1/0")},
        {2, 4, Value(QStringLiteral("да")), QStringLiteral("=IF(B1>0,\"да\",\"не\")")},
        {3, 4, Value::boolean(false), QStringLiteral("=B1>5")},
    };
    for (const auto& [row, col, value, a1] : formulas) {
        const FormulaCell* f = calc.formulaAt(row, col);
        ASSERT_TRUE(f) << row << "," << col;
        EXPECT_EQ(f->value, value) << a1.toStdString();
        EXPECT_EQ(f->formula.toA1().remove(QLatin1Char(' ')), a1);
        EXPECT_EQ(calc.value(row, col), value) << a1.toStdString();   // and our engine agrees
    }
    EXPECT_EQ(calc.value(1, 3), Value::boolean(true));
    EXPECT_EQ(calc.value(2, 3), Value::boolean(false));
    EXPECT_EQ(calc.value(3, 3), Value(QStringLiteral("текст")));
    EXPECT_EQ(calc.value(3, 2), Value(3.5));
    EXPECT_EQ(calc.value(4, 2), Value(-4));

    const Worksheet& rows = book->sheets(3);
    for (int row = 1; row <= 30; ++row) {
        const FormulaCell* f = rows.formulaAt(row, 1);
        ASSERT_TRUE(f) << row;
        EXPECT_EQ(f->formula.toA1(), QStringLiteral("=B%1*2").arg(row));
        EXPECT_EQ(f->value, Value(2 * row));
    }

    const auto formBook = Workbook::open(dir.filePath(QStringLiteral("form.xls")));
    const Worksheet& sheet = formBook->sheets(1);
    const WorkbookStyles& formStyles = formBook->styles();
    EXPECT_EQ(sheet.value(1, 1), Value(QStringLiteral("ФАКТУРА")));
    const CellFormat& title = formStyles.formats.at(sheet.formatAt(1, 1));
    ASSERT_TRUE(formStyles.fontAt(title.font));
    EXPECT_EQ(formStyles.fontAt(title.font)->weight, 700);
    const CellFormat& plain = formStyles.formats.at(sheet.formatAt(2, 1));
    EXPECT_EQ(formStyles.fontAt(plain.font)->weight, 400);
    const CellFormat& boxed = formStyles.formats.at(sheet.formatAt(2, 2));
    EXPECT_NE(boxed.top.line, BorderLine::None);
    EXPECT_NE(boxed.bottom.line, BorderLine::None);
    EXPECT_NE(boxed.left.line, BorderLine::None);
    EXPECT_EQ(plain.top.line, BorderLine::None);
    EXPECT_EQ(sheet.merged(), (std::vector<CellArea>{{1, 1, 1, 3}}));
    ASSERT_TRUE(sheet.columns().count(1) && sheet.columns().count(2));
    const double ratio = double(sheet.columns().at(1).width) / sheet.columns().at(2).width;
    EXPECT_NEAR(ratio, 3.0, 0.2);
}
