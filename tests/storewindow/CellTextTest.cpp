// What a cell shows through its number format, and what typing into a cell stores.
#include "app/support/QtPrinters.h"

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/window/CellText.h"
#include "tests/support/Oracles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using store::window::formatNumber;

namespace {

const QLocale kBulgarian(QLocale::Bulgarian, QLocale::Bulgaria);

struct FormatCase {
    double number;
    const char* code;
    QString shown;
};

} // namespace

TEST(NumberFormat, ShowsNumbersAsTheirFormatCodeSays)
{
    const QString group = kBulgarian.groupSeparator();
    const std::vector<FormatCase> cases{
        {12.5, "0.00", QStringLiteral("12,50")},
        {2.675, "0.00", QStringLiteral("2,68")},     // rounds the decimal form, not the binary one
        {1.005, "0.00", QStringLiteral("1,01")},
        {-3.5, "0.00", QStringLiteral("-3,50")},
        {-0.004, "0.00", QStringLiteral("0,00")},    // no sign on a number that rounds to nothing
        {1234567.891, "#,##0.00", QStringLiteral("1") + group + QStringLiteral("234") + group + QStringLiteral("567,89")},
        {999, "#,##0", QStringLiteral("999")},
        {42, "000", QStringLiteral("042")},
        {0.5, "#.##", QStringLiteral(",5")},
        {0.256, "0%", QStringLiteral("26%")},
        {0.5, "0.0%", QStringLiteral("50,0%")},
        {7, "0.00 \"лв.\"", QStringLiteral("7,00 лв.")},
        {7, "0.00\\ \\л\\в", QStringLiteral("7,00 лв")},
        {-3.5, "0.00;(0.00)", QStringLiteral("(3,50)")},
        {0, "0.00;-0.00;", QString()},                // an empty zero section hides zeros
        {0, "0.00;-0.00;\"нула\"", QStringLiteral("нула")},
        {4, "[Red]0.0", QStringLiteral("4,0")},
        {2.5, "General", QStringLiteral("2,5")},
        {0.1 + 0.2, "General", QStringLiteral("0,3")},   // ten digits at most, as a cell shows them
        {-1234567.25, "", QStringLiteral("-1234567,25")},
        {45000, "d.mm.yyyy", QStringLiteral("45000")}, // dates fall back to the general form
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(formatNumber(c.number, QString::fromUtf8(c.code), kBulgarian), c.shown) << c.code << " " << c.number;
}

TEST(NumberFormat, UsesTheDecimalSignOfTheLocale)
{
    EXPECT_EQ(formatNumber(1234.5, QStringLiteral("#,##0.00"), QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("1,234.50"));
}

TEST(CellInput, TypedTextBecomesNumberTextFormulaOrNothing)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    using store::window::enterCellInput;

    enterCellInput(sheet, 1, 1, QStringLiteral("12,5"));
    enterCellInput(sheet, 1, 2, QStringLiteral(" 7 "));
    enterCellInput(sheet, 1, 3, QStringLiteral("'0888"));
    enterCellInput(sheet, 1, 4, QStringLiteral("Мече 2 бр."));
    enterCellInput(sheet, 1, 5, QStringLiteral("=A1*B1"));
    enterCellInput(sheet, 1, 6, QStringLiteral("="));
    EXPECT_EQ(sheet.value(1, 1), store::Value(12.5));
    EXPECT_EQ(sheet.value(1, 2), store::Value(7.0));
    EXPECT_EQ(sheet.value(1, 3), store::Value(QStringLiteral("0888")));
    EXPECT_EQ(sheet.value(1, 4), store::Value(QStringLiteral("Мече 2 бр.")));
    EXPECT_EQ(sheet.value(1, 5), store::Value(87.5));
    EXPECT_EQ(sheet.value(1, 6), store::Value(QStringLiteral("=")));

    enterCellInput(sheet, 1, 1, QString());
    EXPECT_TRUE(sheet.value(1, 1).isEmpty());
    EXPECT_EQ(sheet.value(1, 5), store::Value(0.0));   // the formula follows

    EXPECT_THROW(enterCellInput(sheet, 1, 2, QStringLiteral("=SUM(")), store::Error);
    EXPECT_EQ(sheet.value(1, 2), store::Value(7.0));
}

TEST(CellInput, EditableTextIsTheFormulaOrTheValue)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    store::window::enterCellInput(sheet, 2, 1, QStringLiteral("2,5"));
    store::window::enterCellInput(sheet, 2, 2, QStringLiteral("=ROUND(A2*3;0)"));
    EXPECT_EQ(store::window::editableCellText(sheet, 2, 1), QStringLiteral("2,5"));
    EXPECT_EQ(store::window::editableCellText(sheet, 2, 2), QStringLiteral("=ROUND(A2*3;0)"));
    EXPECT_EQ(store::window::shownCellText(sheet, 2, 2), QStringLiteral("8"));
}

// Under Bulgarian settings formulas are typed and shown with ";" between arguments and "," in
// numbers, elsewhere with "," and "."; the engine's own text stays the latter.
TEST(CellInput, FormulasTypedAsTheLocaleWritesThem)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const struct {
        const char* bulgarian;
        const char* english;
        const char* shown;
    } typed[] = {
        {"=ROUND(2,675;2)", "=ROUND(2.675,2)", "2,68"},
        {"=SUM((A1;B1);,5)", "=SUM((A1,B1),.5)", "5,5"},
        {"=IF(A1>1;\"а,б\";1E+308)", "=IF(A1>1,\"а,б\",1E+308)", "а,б"},
        {"=SUMPRODUCT({1;-2|3;4,5};{1;1|1;1})", "=SUMPRODUCT({1,-2;3,4.5},{1,1;1,1})", "6,5"},
    };
    for (const auto& t : typed) {
        store::Workbook book;
        store::Worksheet& sheet = book.sheets(1);
        sheet.setValue(1, 1, store::Value(2));
        sheet.setValue(1, 2, store::Value(3));
        store::window::enterCellInput(sheet, 2, 1, QString::fromUtf8(t.bulgarian), kBulgarian);
        EXPECT_EQ(store::window::editableCellText(sheet, 2, 1, kBulgarian), QString::fromUtf8(t.bulgarian));
        EXPECT_EQ(store::window::editableCellText(sheet, 2, 1, english), QString::fromUtf8(t.english));
        EXPECT_EQ(sheet.formulaAt(2, 1)->formula.toA1(), QString::fromUtf8(t.english));
        EXPECT_EQ(store::window::shownCellText(sheet, 2, 1), QString::fromUtf8(t.shown));
        store::window::enterCellInput(sheet, 2, 2, QString::fromUtf8(t.english), english);
        EXPECT_EQ(sheet.formulaAt(2, 2)->formula.toA1(), QString::fromUtf8(t.english));
    }
    // A sheet that is not in the workbook is refused while typing.
    store::Workbook book;
    EXPECT_THROW(store::window::enterCellInput(book.sheets(1), 1, 1, QStringLiteral("=Склад!A1"), kBulgarian),
                 store::Error);
    EXPECT_EQ(book.sheets(1).formulaAt(1, 1), nullptr);
}

// A formula kept from another program's file shows as its text; entered again unchanged it
// stays as read, with its value, rather than becoming what the engine makes of the text.
TEST(CellInput, KeptFormulaEnteredAgainStaysAsRead)
{
    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    const QByteArray month = QByteArray::fromHex("240000 00C0 414400");   // MONTH(A1)
    sheet.putFormula(1, 2, store::Formula::kept(month, store::Value(3)), store::Value(3), store::kDefaultCellFormat);
    ASSERT_EQ(store::window::editableCellText(sheet, 1, 2), QStringLiteral("=MONTH(A1)"));

    store::window::enterCellInput(sheet, 1, 2, QStringLiteral("=MONTH(A1)"));
    ASSERT_TRUE(sheet.formulaAt(1, 2));
    EXPECT_TRUE(sheet.formulaAt(1, 2)->formula.isKept());
    EXPECT_EQ(sheet.value(1, 2), store::Value(3));
}

// The names the workbook's file defines are typed as spelt anywhere, compute, follow their cells
// and go back into the file as names, which another program computes alike. Once a sheet is added
// the file's names are not written back: formulas using them go into it as their values.
TEST(CellInput, NamesOfTheWorkbookTypedComputeAndGoBackAsNames)
{
    using store::window::enterCellInput;
    QTemporaryDir dir;
    const auto book = store::Workbook::open(QStringLiteral(TERVIN_TEST_DATA "/formula-oracle/functions.xls"));
    store::Worksheet& sheet = book->sheets(1);
    enterCellInput(sheet, 1, 10, QStringLiteral("=ROUND(SUM(цени)/КУРС;2)"), kBulgarian);
    EXPECT_EQ(store::window::editableCellText(sheet, 1, 10, kBulgarian), QStringLiteral("=ROUND(SUM(Цени)/Курс;2)"));
    EXPECT_EQ(sheet.value(1, 10), store::Value(28.12));   // 55 / 1,95583
    sheet.setValue(1, 1, store::Value(24));
    EXPECT_EQ(sheet.value(1, 10), store::Value(37.84));
    EXPECT_THROW(enterCellInput(sheet, 2, 10, QStringLiteral("=Нищо+1"), kBulgarian), store::Error);

    book->SaveAs(dir.filePath(QStringLiteral("Imena.xls")));
    const auto again = store::Workbook::open(dir.filePath(QStringLiteral("Imena.xls")));
    ASSERT_TRUE(again->sheets(1).formulaAt(1, 10));
    EXPECT_EQ(again->sheets(1).formulaAt(1, 10)->formula.toA1(), QStringLiteral("=ROUND(SUM(Цени)/Курс,2)"));
    ASSERT_EQ(testsupport::convertWithLibreOffice({dir.filePath(QStringLiteral("Imena.xls"))},
                                                 testsupport::csvPerSheetFilter(), dir.path()),
              QString());
    EXPECT_EQ(testsupport::readCsv(dir.filePath(QStringLiteral("Imena-Данни.csv"))).at(0).value(9), QStringLiteral("37.84"));

    book->sheetsAdd();
    EXPECT_THROW(enterCellInput(sheet, 2, 10, QStringLiteral("=SUM(Цени)"), kBulgarian), store::Error);
    book->SaveAs(dir.filePath(QStringLiteral("Bez.xls")));
    const auto values = store::Workbook::open(dir.filePath(QStringLiteral("Bez.xls")));
    EXPECT_FALSE(values->sheets(2).formulaAt(1, 10));
    EXPECT_EQ(values->sheets(2).value(1, 10), store::Value(37.84));
}
