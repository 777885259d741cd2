#include "DemoFolder.h"

#include "tests/support/Oracles.h"
#include "tools/InvoiceForm.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

using namespace demotest;
namespace invoice = demo::invoice;

namespace {

struct Line {
    QString name;
    int count;
    double price;
};

std::unique_ptr<store::Workbook> openForm()
{
    return store::Workbook::open(demoShopFile(QStringLiteral("Faktura.xls")));
}

// Writes the goods rows the way the program does: the basket's lines, then empty names with 0.
void fillLines(store::Worksheet& form, const std::vector<Line>& lines)
{
    for (int i = 0; i < invoice::kLineCount; ++i) {
        const int row = invoice::kFirstLineRow + i;
        const bool used = i < int(lines.size());
        form.cells(row, invoice::kNameColumn) = store::Value(used ? lines[size_t(i)].name : QString());
        form.cells(row, invoice::kCountColumn) = store::Value(used ? lines[size_t(i)].count : 0);
        form.cells(row, invoice::kPriceColumn) = store::Value(used ? lines[size_t(i)].price : 0.0);
    }
}

// And clears them as a sale without an invoice does: the empty text everywhere.
void clearLines(store::Worksheet& form)
{
    for (int i = 0; i < invoice::kLineCount; ++i)
        for (int col : {invoice::kNameColumn, invoice::kCountColumn, invoice::kPriceColumn})
            form.cells(invoice::kFirstLineRow + i, col) = store::Value(QString());
}

double valueAt(const store::Worksheet& form, store::layout::CellPos pos)
{
    return form.value(pos.row, pos.col).toNumber().value_or(-1);
}

double round2(double x)
{
    return std::round(x * 100) / 100;
}

const std::vector<Line> kBasket{{QStringLiteral("Плюшено мече"), 2, 16.2},
                                {QStringLiteral("Гумено патенце"), 3, 2.88},
                                {QStringLiteral("Лятна количка"), 1, 118.75}};

double basketTotal()
{
    double total = 0;
    for (const Line& line : kBasket) total += round2(line.count * line.price);
    return total;
}

} // namespace

TEST(InvoiceForm, IsABlankFormWithTitleBordersAndMoneyFormats)
{
    const auto workbook = openForm();
    const store::Worksheet& form = workbook->sheets(1);
    const store::WorkbookStyles& styles = workbook->styles();
    EXPECT_EQ(form.value(1, 1).toText(), QStringLiteral("ФАКТУРА"));
    const store::Font* titleFont = styles.fontAt(styles.formats.at(form.formatAt(1, 1)).font);
    ASSERT_NE(titleFont, nullptr);
    EXPECT_GE(titleFont->weight, 700);
    EXPECT_GT(titleFont->height, 200);
    EXPECT_NE(std::find(form.merged().begin(), form.merged().end(), store::CellArea{1, 1, 1, invoice::kAmountColumn}),
              form.merged().end());

    EXPECT_TRUE(form.value(invoice::kNumber.row, invoice::kNumber.col).isEmpty());
    EXPECT_TRUE(form.value(invoice::kDate.row, invoice::kDate.col).isEmpty());
    EXPECT_EQ(form.value(invoice::kCompanyId.row, invoice::kCompanyId.col).toText(), invoice::kCompanyIdPrefix);
    EXPECT_EQ(form.value(invoice::kVatNumber.row, invoice::kVatNumber.col).toText(), invoice::kVatNumberPrefix);
    EXPECT_EQ(form.value(invoice::kAddress.row, invoice::kAddress.col).toText(), invoice::kAddressPrefix);

    for (int row = invoice::kFirstLineRow; row < invoice::kFirstLineRow + invoice::kLineCount; ++row) {
        SCOPED_TRACE("line row " + std::to_string(row));
        EXPECT_TRUE(form.value(row, invoice::kNameColumn).isEmpty());
        EXPECT_EQ(form.value(row, invoice::kAmountColumn).toText(), QString()) << "an empty line shows an amount";
        const auto formatCode = [&](int col) {
            return styles.numberFormatCode(styles.formats.at(form.formatAt(row, col)).numberFormat);
        };
        // The 0 the program writes into unused rows shows as nothing; amounts are in euro.
        EXPECT_EQ(formatCode(invoice::kCountColumn), QStringLiteral("0;-0;"));
        EXPECT_EQ(formatCode(invoice::kPriceColumn), QStringLiteral("0.00\" €\";-0.00\" €\";"));
        EXPECT_EQ(formatCode(invoice::kAmountColumn), QStringLiteral("0.00\" €\""));
        const store::CellFormat& name = styles.formats.at(form.formatAt(row, invoice::kNameColumn));
        EXPECT_NE(name.top.line, store::BorderLine::None);
        EXPECT_NE(name.left.line, store::BorderLine::None);
    }
    for (int col = invoice::kNameColumn; col <= invoice::kAmountColumn; ++col)
        EXPECT_GT(form.columns().count(col) ? form.columns().at(col).width : 0, 0) << "column " << col;

    // xlrd, reading the file on its own, sees the title bold and the amounts as "0.00".
    const QJsonObject xlrd = testsupport::readWithXlrd(demoShopFile(QStringLiteral("Faktura.xls")));
    ASSERT_TRUE(xlrd.value(QStringLiteral("error")).isNull()) << xlrd.value(QStringLiteral("error")).toString().toStdString();
    const QJsonObject sheet = xlrd[QStringLiteral("sheets")].toArray().at(0).toObject();
    const QJsonArray xfs = xlrd[QStringLiteral("xfs")].toArray();
    const QJsonArray fonts = xlrd[QStringLiteral("fonts")].toArray();
    const auto xfOf = [&](int row, int col) {
        for (const QJsonValue cell : sheet[QStringLiteral("cells")].toArray())
            if (cell[0].toInt() == row - 1 && cell[1].toInt() == col - 1) return xfs.at(cell[4].toInt()).toObject();
        return QJsonObject();
    };
    EXPECT_TRUE(fonts.at(xfOf(1, 1)[QStringLiteral("font")].toInt())[QStringLiteral("bold")].toBool());
    const QString amountFormat = QString::number(xfOf(invoice::kTotal.row, invoice::kTotal.col)[QStringLiteral("format")].toInt());
    EXPECT_EQ(xlrd[QStringLiteral("formats")][amountFormat].toString(), QStringLiteral("0.00\" €\""));
    EXPECT_TRUE(sheet[QStringLiteral("merged")].toArray().contains(QJsonArray{0, 1, 0, invoice::kAmountColumn}));
}

TEST(InvoiceForm, FormulasTotalTheLinesTheProgramWrites)
{
    auto workbook = openForm();
    store::Worksheet& form = workbook->sheets(1);
    fillLines(form, kBasket);
    for (size_t i = 0; i < kBasket.size(); ++i) {
        const int row = invoice::kFirstLineRow + int(i);
        EXPECT_NEAR(valueAt(form, {row, invoice::kAmountColumn}), round2(kBasket[i].count * kBasket[i].price), 1e-9);
        EXPECT_EQ(form.value(row, invoice::kUnitColumn).toText(), QStringLiteral("бр."));
    }
    const int unused = invoice::kFirstLineRow + int(kBasket.size());
    EXPECT_EQ(form.value(unused, invoice::kAmountColumn).toText(), QString());
    EXPECT_EQ(form.value(unused, invoice::kUnitColumn).toText(), QString());

    const double total = basketTotal();
    EXPECT_NEAR(valueAt(form, invoice::kTotal), total, 1e-9);
    EXPECT_NEAR(valueAt(form, invoice::kTaxBase), round2(total / (1 + invoice::kVatRate)), 1e-9);
    EXPECT_NEAR(valueAt(form, invoice::kTaxBase) + valueAt(form, invoice::kVat), total, 1e-9);

    // Written and read again, and computed by LibreOffice on its own.
    QTemporaryDir dir;
    const QString filled = dir.filePath(QStringLiteral("Faktura.xls"));
    workbook->SaveAs(filled);
    EXPECT_NEAR(valueAt(store::Workbook::open(filled)->sheets(1), invoice::kTotal), total, 1e-9);
    const QString failure = testsupport::convertWithLibreOffice({filled}, testsupport::csvPerSheetFilter(), dir.path());
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    const auto rows = testsupport::readCsv(dir.filePath(QStringLiteral("Faktura-%1.csv").arg(form.Name())));
    ASSERT_GE(rows.size(), size_t(invoice::kTotal.row));
    const auto csvNumber = [&](int row, int col) { return rows[size_t(row - 1)].value(col - 1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); };
    EXPECT_NEAR(csvNumber(invoice::kTotal.row, invoice::kTotal.col), total, 0.005);
    EXPECT_NEAR(csvNumber(invoice::kFirstLineRow, invoice::kAmountColumn), round2(kBasket[0].count * kBasket[0].price), 0.005);
}

TEST(InvoiceForm, ClearedLinesLeaveNoErrorsAndAZeroTotal)
{
    auto workbook = openForm();
    store::Worksheet& form = workbook->sheets(1);
    fillLines(form, kBasket);
    ASSERT_GT(valueAt(form, invoice::kTotal), 0);
    clearLines(form);
    for (int row = invoice::kFirstLineRow; row <= invoice::kTotal.row; ++row)
        EXPECT_FALSE(form.value(row, invoice::kAmountColumn).isError()) << "row " << row;
    EXPECT_EQ(valueAt(form, invoice::kTotal), 0);
    EXPECT_EQ(valueAt(form, invoice::kVat), 0);
}
