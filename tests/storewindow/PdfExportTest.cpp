// A sheet written to PDF and read back by poppler: the text, the amounts, the page and the lines.
#include "InvoiceFolder.h"

#include "app/support/QtPrinters.h"
#include "tests/support/PdfReader.h"

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/window/SheetGeometry.h"
#include "store/window/SheetPainter.h"
#include "store/window/SheetPrint.h"
#include "tools/InvoiceForm.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace invoice = demo::invoice;
using testsupport::pdfPageSize;
using testsupport::pdfText;
using testsupport::pdfWords;

namespace {

constexpr double kA4Width = 595.28;
constexpr double kA4Height = 841.89;

// Rows of the page image that hold a dark line across at least half the page.
int ruledRows(const QImage& page)
{
    int rows = 0;
    for (int y = 0; y < page.height(); ++y) {
        int longest = 0, run = 0;
        for (int x = 0; x < page.width(); ++x) {
            run = qGray(page.pixel(x, y)) < 128 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        if (longest > page.width() / 2) ++rows;
    }
    return rows;
}

class PdfExport : public ::testing::Test {
protected:
    QString pdf(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

} // namespace

TEST_F(PdfExport, FilledInvoiceShowsItsGoodsAmountsAndTotals)
{
    InvoiceFolder folder;
    auto book = store::Workbook::open(folder.form());
    store::Worksheet& form = book->sheets(1);
    fillLines(form, kThreeLines);
    form.cells(invoice::kNumber.row, invoice::kNumber.col) = store::Value(QStringLiteral("42"));
    form.cells(invoice::kCompany.row, invoice::kCompany.col) = store::Value(QStringLiteral("Детски свят ООД"));
    store::window::exportPdf(*book, 1, pdf(QStringLiteral("f.pdf")));

    const QString text = pdfText(pdf(QStringLiteral("f.pdf")));
    double total = 0;
    for (const InvoiceLine& line : kThreeLines) {
        const double amount = round2(line.count * line.price);
        total += amount;
        EXPECT_TRUE(text.contains(line.name)) << line.name.toStdString();
        EXPECT_TRUE(text.contains(money(line.price))) << money(line.price).toStdString();
        EXPECT_TRUE(text.contains(money(amount))) << money(amount).toStdString();
    }
    const double taxBase = round2(total / (1 + invoice::kVatRate));
    for (const QString& expected : {QStringLiteral("ФАКТУРА"), QStringLiteral("Детски свят ООД"), QStringLiteral("Сума за плащане:"),
                                    money(total), money(taxBase), money(round2(total - taxBase))})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();

    const auto size = pdfPageSize(pdf(QStringLiteral("f.pdf")));
    EXPECT_EQ(size.pages, 1);
    EXPECT_NEAR(size.width, kA4Width, 0.5);
    EXPECT_NEAR(size.height, kA4Height, 0.5);
}

TEST_F(PdfExport, TheInvoiceTableIsRuledAndAPlainSheetIsNot)
{
    InvoiceFolder folder;
    auto book = store::Workbook::open(folder.form());
    store::window::exportPdf(*book, 1, pdf(QStringLiteral("form.pdf")));
    // The header and ten goods rows are boxed: at least a dozen lines across the table.
    EXPECT_GE(ruledRows(testsupport::pdfPageImage(pdf(QStringLiteral("form.pdf")), 1, 72)), 12);

    store::Workbook plain;
    for (int row = 1; row <= 30; ++row)
        for (int col = 1; col <= 10; ++col) plain.sheets(1).cells(row, col) = store::Value(row * col);
    store::window::exportPdf(plain, 1, pdf(QStringLiteral("plain.pdf")));
    // Paper shows no gridlines.
    EXPECT_EQ(ruledRows(testsupport::pdfPageImage(pdf(QStringLiteral("plain.pdf")), 1, 72)), 0);
}

TEST_F(PdfExport, NoLabelOfTheInvoiceRunsOutOfTheTableIntoTheMargin)
{
    InvoiceFolder folder;
    auto book = store::Workbook::open(folder.form());
    const store::Worksheet& form = book->sheets(1);
    const store::window::SheetGeometry geometry(form);
    const store::CellArea used = geometry.usedArea();
    QImage image(int(geometry.columnLeft(used.lastCol + 1)) + 1, int(geometry.rowTop(used.lastRow + 1)) + 1,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    store::window::paintCells(painter, form, geometry, used, {});
    painter.end();
    // Column A is the margin: below the title, which spans the page, nothing is drawn in it.
    const int marginEnd = int(geometry.columnLeft(2)) - 1;
    for (int y = int(geometry.rowTop(2)) + 1; y < image.height(); ++y)
        for (int x = 0; x < marginEnd; ++x)
            ASSERT_EQ(image.pixel(x, y), QColor(Qt::white).rgb()) << "row " << geometry.rowAt(y) << ", x " << x;
}

TEST_F(PdfExport, TextRunsOnIntoBlankNeighboursOnly)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    sheet.columns()[1].width = 2 * 256;    // A: two digits wide
    sheet.columns()[2].width = 30 * 256;   // B
    const QString label = QStringLiteral("Получател на стоката");
    sheet.cells(1, 1) = store::Value(label);   // B1 blank: the label runs on
    sheet.cells(2, 1) = store::Value(label);
    sheet.cells(2, 2) = store::Value(5);       // B2 holds a number at its right end: the label stops
    store::window::exportPdf(book, 1, pdf(QStringLiteral("runs.pdf")));

    const int dpi = 144;
    const QImage page = testsupport::pdfPageImage(pdf(QStringLiteral("runs.pdf")), 1, dpi);
    ASSERT_FALSE(page.isNull());
    // Sheet pixels are 1/96 inch; the page margin is 15 mm.
    const auto x = [dpi](double sheetPixels) { return int((15 / 25.4 + sheetPixels / 96) * dpi); };
    const auto darkIn = [&page](int left, int right, int top, int bottom) {
        int dark = 0;
        for (int py = top; py < bottom; ++py)
            for (int px = left; px < right; ++px) dark += qGray(page.pixel(px, py)) < 128;
        return dark;
    };
    const int rowHeight = 17;
    const int columnA = 14;
    EXPECT_GT(darkIn(x(columnA + 4), x(columnA + 60), x(0), x(rowHeight)), 20) << "row 1 shows the label past column A";
    EXPECT_EQ(darkIn(x(columnA + 4), x(columnA + 60), x(rowHeight + 2), x(2 * rowHeight)), 0) << "row 2 cuts it at B";
}

TEST_F(PdfExport, NumbersThatDoNotFitLoseDecimalsThenShowHashes)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    sheet.columns()[1].width = 5 * 256;
    sheet.cells(1, 1) = store::Value(3.14159265358);
    sheet.cells(2, 1) = store::Value(123456789.0);
    store::window::exportPdf(book, 1, pdf(QStringLiteral("narrow.pdf")));
    const QStringList lines = pdfText(pdf(QStringLiteral("narrow.pdf"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    const QString pi = lines[0].trimmed();
    EXPECT_TRUE(pi.startsWith(QStringLiteral("3,1")) && pi.size() <= 5) << pi.toStdString();
    EXPECT_TRUE(lines[1].trimmed().contains(QRegularExpression(QStringLiteral("^#+$")))) << lines[1].toStdString();
}

TEST_F(PdfExport, WideSheetShrinksToThePageWidth)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    const int columns = 40;
    for (int col = 1; col <= columns; ++col) sheet.cells(1, col) = store::Value(QStringLiteral("К%1").arg(col));
    store::window::exportPdf(book, 1, pdf(QStringLiteral("wide.pdf")));

    QStringList seen;
    for (const auto& word : pdfWords(pdf(QStringLiteral("wide.pdf")))) {
        seen << word.text;
        EXPECT_LE(word.box.right(), kA4Width) << word.text.toStdString();
        EXPECT_EQ(word.page, 1);
    }
    for (int col = 1; col <= columns; ++col) EXPECT_TRUE(seen.contains(QStringLiteral("К%1").arg(col))) << col;
}

TEST_F(PdfExport, LongSheetGoesOnAsManyPagesAsItNeedsWithEveryRowOnce)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    const int rows = 200;
    for (int row = 1; row <= rows; ++row) sheet.cells(row, 1) = store::Value(QStringLiteral("Ред%1").arg(row));
    store::window::exportPdf(book, 1, pdf(QStringLiteral("long.pdf")));

    // 200 rows of 17 pixels at 96 to the inch are about 35 inches: four pages of A4 at least.
    EXPECT_GE(pdfPageSize(pdf(QStringLiteral("long.pdf"))).pages, 4);
    std::map<QString, int> found;
    for (const auto& word : pdfWords(pdf(QStringLiteral("long.pdf")))) {
        ++found[word.text];
        EXPECT_LE(word.box.bottom(), kA4Height);
    }
    for (int row = 1; row <= rows; ++row) EXPECT_EQ(found[QStringLiteral("Ред%1").arg(row)], 1) << row;
}

TEST_F(PdfExport, AFileThatCannotBeWrittenIsAnError)
{
    store::Workbook book;
    EXPECT_THROW(store::window::exportPdf(book, 1, dir_.filePath(QStringLiteral("missing/folder/x.pdf"))), store::Error);
    EXPECT_THROW(store::window::exportPdf(book, 2, pdf(QStringLiteral("x.pdf"))), store::Error);
}
