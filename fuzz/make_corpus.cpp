// Lays out the fuzzers' seed corpus in DIR: DIR/xls holds the demo shop's two workbooks and
// small workbooks with every kind of record the engine writes (each also with a header that
// miscounts its sector tables), DIR/formula every formula those hold and the formulas the shop
// types, one file each.
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/formula/Formula.h"
#include "store/xls/OleStream.h"
#include "store/xls/XlsError.h"
#include "tools/DemoDataWorkbook.h"
#include "tools/InvoiceForm.h"
#include "tools/ToolError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <map>

namespace {

using store::Formula;
using store::Value;

// A sheet of each kind of cell, formatting and formula, as the engine writes them.
std::unique_ptr<store::Workbook> everyRecordWorkbook()
{
    auto book = std::make_unique<store::Workbook>();
    store::Worksheet& sheet = book->sheets(1);
    sheet.setValue(1, 1, Value(QStringLiteral("кукла")));
    sheet.setValue(1, 2, Value(12.5));
    sheet.setValue(1, 3, Value(100000.0));
    sheet.setValue(1, 4, Value(-0.000001));
    sheet.setValue(1, 5, Value::boolean(true));
    sheet.setValue(1, 6, Value::error(store::ErrorCode::Div0));
    sheet.setValue(2, 1, Value(QString(300, QChar(0x0416))));
    sheet.setFormula(2, 2, Formula::parseA1(QStringLiteral("=IF(B1>10,\"скъпо\",\"евтино\")"), 2, 2));
    sheet.setFormula(2, 3, Formula::parseA1(QStringLiteral("=ROUND(B1*C1/3,2)&\" лв.\""), 2, 3));
    sheet.setFormula(2, 4, Formula::parseA1(QStringLiteral("=SUM(A1:F1,MIN(B1,C1),MAX(1,2),ABS(-3))"), 2, 4));
    sheet.setFormula(2, 5, Formula::parseA1(QStringLiteral("=COUNTA($A$1:$F$2)+COUNTIF(B1:B9,\">5\")"), 2, 5));
    sheet.setFormula(2, 6, Formula::parseA1(QStringLiteral("=1/0"), 2, 6));
    sheet.setFormat(3, 1, book->styles().addFormat([&] {
        store::CellFormat format = book->styles().formats[store::kDefaultCellFormat];
        format.numberFormat = book->styles().addNumberFormat(QStringLiteral("0.00"));
        format.wrap = true;
        return format;
    }()));
    sheet.columns()[2] = {3000, store::kDefaultCellFormat, false};
    sheet.rowInfo()[4] = {600, true, false};
    sheet.merged().push_back({5, 1, 6, 3});
    store::Worksheet& second = book->sheetsAdd();
    second.setValue(1, 1, Value(QStringLiteral("втори лист")));
    return book;
}

// A1 = 1 and each row below the one above plus one.
std::unique_ptr<store::Workbook> chainWorkbook(int rows)
{
    auto book = std::make_unique<store::Workbook>();
    store::Worksheet& sheet = book->sheets(1);
    sheet.setValue(1, 1, Value(1.0));
    for (int row = 2; row <= rows; ++row)
        sheet.setFormula(row, 1, Formula::parseA1(QStringLiteral("=A%1+1").arg(row - 1), row, 1));
    return book;
}

// One formula as deep as the engine keeps: a number under a run of signs, as only a file can
// bring it.
std::unique_ptr<store::Workbook> deepFormulaWorkbook()
{
    auto book = std::make_unique<store::Workbook>();
    const QByteArray tokens = QByteArray("\x1E\x01\x00", 3) + QByteArray(store::kMaxFormulaDepth - 1, '\x13');
    const auto formula = store::decodeBiffFormula(tokens, 1, 1);
    if (!formula) throw store::Error(tools::ToolError::DeepFormulaNotRead);
    book->sheets(1).setFormula(1, 1, *formula);
    return book;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw store::Error(tools::ToolError::CorpusFileNotWritten, {path});
}

// Adding goods copies each picture from its article's folder; for the workbook only the file
// names matter, so a few bytes stand in for each picture.
void putPlaceholderPictures(const std::vector<demo::Article>& catalogue, const QString& picturesDir)
{
    for (const demo::Article& article : catalogue) {
        const QDir folder(picturesDir + QLatin1Char('/') + article.name);
        if (!folder.mkpath(QStringLiteral(".")))
            throw store::Error(store::xls::XlsError::FolderNotCreated, {folder.path()});
        for (const demo::Goods& goods : article.goods) {
            if (goods.picture.fileName.isEmpty()) continue;
            QFile file(folder.filePath(goods.picture.fileName));
            if (!file.open(QIODevice::WriteOnly) || file.write("picture") < 0)
                throw store::Error(store::xls::XlsError::FileNotWritten, {file.fileName()});
        }
    }
}

// The same file with its header miscounting its sector tables, as some writers leave it: the
// compound-file reader forgives the count, so the fuzzers start from that path too.
QByteArray withWrongSectorTableCount(QByteArray file)
{
    constexpr qsizetype kFatCountField = 0x2C;
    if (file.size() >= kFatCountField + 4) {
        const char wrong[4] = {0x02, 0x00, char(0x80), 0x00};
        file.replace(kFatCountField, 4, wrong, 4);
    }
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Употреба: make_fuzz_corpus DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    try {
        QTemporaryDir pictures;
        putPlaceholderPictures(demo::demoCatalogue(), pictures.path());
        std::map<QString, std::unique_ptr<store::Workbook>> workbooks;
        workbooks[QStringLiteral("Danni.xls")] =
            demo::buildDemoDataWorkbook(demo::demoCatalogue(), pictures.path(), QDate(2026, 6, 1));
        workbooks[QStringLiteral("Faktura.xls")] = demo::makeInvoiceForm();
        workbooks[QStringLiteral("fresh.xls")] = store::DataWorkbook::createFresh();
        workbooks[QStringLiteral("records.xls")] = everyRecordWorkbook();
        workbooks[QStringLiteral("chain.xls")] = chainWorkbook(300);
        workbooks[QStringLiteral("deep.xls")] = deepFormulaWorkbook();

        QStringList formulas{store::layout::article::kCountFormulaR1C1, QStringLiteral("=R[-1]C+1"),
                             QStringLiteral("=RC[-2]*R2C3"), QStringLiteral("=-2^2%"),
                             QStringLiteral("=\"a\"\"b\"&TRUE&#N/A"), QStringLiteral("=IF(A1,,2)"),
                             QStringLiteral("=((1+2)*3)/4-5<=6")};
        dir.mkpath(QStringLiteral("xls"));
        dir.mkpath(QStringLiteral("formula"));
        for (const auto& [name, book] : workbooks) {
            const QByteArray bytes = book->toBytes();
            writeFile(dir.filePath(QStringLiteral("xls/") + name), bytes);
            writeFile(dir.filePath(QStringLiteral("xls/wrongcount-") + name), withWrongSectorTableCount(bytes));
            // The beginning of its stream alone, small enough to be held in the mini stream.
            const QByteArray head = store::xls::workbookStreamOf(bytes).left(2000);
            writeFile(dir.filePath(QStringLiteral("xls/mini-") + name), store::xls::compoundFile("Workbook", {&head}, 0));
            for (int s = 1; s <= book->sheetCount(); ++s) {
                const store::Worksheet& sheet = book->sheets(s);
                for (int row = 1; row <= sheet.lastRow(); ++row)
                    for (const store::Cell& cell : sheet.rowCells(row))
                        if (const store::FormulaCell* formula = cell.formula()) formulas << formula->formula.toA1();
            }
        }
        formulas.removeDuplicates();
        for (int i = 0; i < formulas.size(); ++i)
            writeFile(dir.filePath(QStringLiteral("formula/%1.txt").arg(i, 4, 10, QLatin1Char('0'))), formulas[i].toUtf8());
    } catch (const store::Error& error) {
        QTextStream(stderr) << error.message() << '\n';
        return 1;
    }
    return 0;
}
