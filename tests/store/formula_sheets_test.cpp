// Formulas that reach other sheets, spans of sheets, whole columns and rows, and the cells two
// references share or several make together: typed, computed, saved, read back, and computed by
// LibreOffice from the file.
#include "store/Workbook.h"
#include "store/xls/XlsFile.h"
#include "tests/store/formula_test_helpers.h"
#include "tests/support/Oracles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace Qt::StringLiterals;

namespace {

struct Typed {
    const char* text;
    double value;
};

// Лист1 holds the formulas; Лист 2 and Склад the numbers they reach.
const Typed kTyped[] = {
    {"=Склад!A1*2", 14},
    {"='Лист 2'!A1+1", 4},
    {"=SUM(Лист1:Склад!A1)", 12},              // 2 + 3 + 7
    {"=SUM('Лист 2:Склад'!A1:B1)", 20},       // 3 + 0 + 7 + 10
    {"=SUM(Склад!B:B)", 15},                   // 10 + 5
    {"=SUM(Склад!2:2)", 9},                    // 5 + 4
    {"=SUM(Склад!A1:B2 Склад!B1:C9)", 15},     // B1 and B2
    {"=SUM((Склад!A1,Склад!B1:B2))", 22},
    {"=Склад!A1:C2 Склад!B2:B9", 5},
    {"=1E+300*0+2.5", 2.5},
};

void fill(Workbook& book)
{
    book.sheets(1).setValue(1, 1, Value(2));
    book.appendSheet(u"Лист 2"_s).setValue(1, 1, Value(3));
    Worksheet& store = book.appendSheet(u"Склад"_s);
    store.setValue(1, 1, Value(7));
    store.setValue(1, 2, Value(10));
    store.setValue(2, 1, Value(4));
    store.setValue(2, 2, Value(5));
    for (size_t i = 0; i < std::size(kTyped); ++i)
        book.sheets(1).setFormula(int(i) + 2, 1, Formula::parseA1(QString::fromUtf8(kTyped[i].text), int(i) + 2, 1));
}

} // namespace

TEST(FormulaSheets, TypedShowsAsTypedComputesAndComesBackFromItsFile)
{
    QTemporaryDir dir;
    Workbook book;
    fill(book);
    const QString path = dir.filePath(u"Sklad.xls"_s);
    xls::writeWorkbook(book, path);
    const auto read = Workbook::open(path);
    for (size_t i = 0; i < std::size(kTyped); ++i) {
        const int row = int(i) + 2;
        const QString typed = QString::fromUtf8(kTyped[i].text);
        EXPECT_EQ(book.sheets(1).formulaAt(row, 1)->formula.toA1(), typed);
        EXPECT_EQ(book.sheets(1).value(row, 1), Value(kTyped[i].value)) << kTyped[i].text;
        const FormulaCell* back = read->sheets(1).formulaAt(row, 1);
        ASSERT_TRUE(back) << kTyped[i].text;
        EXPECT_FALSE(back->formula.isKept()) << kTyped[i].text;
        // Numbers read from a file show in their shortest form.
        EXPECT_EQ(back->formula.toA1(), typed);
    }
    // What is read back computes again from its cells.
    read->sheets(3).setValue(1, 1, Value(1));
    EXPECT_EQ(read->sheets(1).value(2, 1), Value(2));
    EXPECT_EQ(read->sheets(1).value(4, 1), Value(6));

    // xlrd reads the link table, and LibreOffice computes the file anew to the same values.
    const QJsonObject xlrd = testsupport::readWithXlrd(path);
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    ASSERT_EQ(testsupport::convertWithLibreOffice({path}, testsupport::csvPerSheetFilter(), dir.path()), QString());
    const auto rows = testsupport::readCsv(dir.filePath(u"Sklad-Лист1.csv"_s));
    ASSERT_EQ(rows.size(), std::size(kTyped) + 1);
    for (size_t i = 0; i < std::size(kTyped); ++i)
        EXPECT_EQ(rows[i + 1].value(0).toDouble(), kTyped[i].value) << kTyped[i].text;
}

TEST(FormulaSheets, ReferencesFollowTheirSheet)
{
    Workbook book;
    Worksheet& store = book.appendSheet(u"Склад"_s);
    store.setValue(5, 1, Value(9));
    Worksheet& own = book.sheets(1);
    own.setFormula(1, 1, Formula::parseA1(u"=Склад!A5+SUM(Склад!A4:A9)"_s, 1, 1));
    own.setFormula(2, 1, Formula::parseA1(u"=SUM(Лист1:Склад!C1)"_s, 2, 1));
    book.appendSheet(u"Каса"_s).setValue(1, 3, Value(4));
    own.setFormula(3, 1, Formula::parseA1(u"=SUM(Склад:Каса!C1)"_s, 3, 1));
    const auto text = [&](int row) { return own.formulaAt(row, 1)->formula.toA1(); };

    store.deleteRows(1, 2);
    EXPECT_EQ(text(1), u"=Склад!A3+SUM(Склад!A2:A7)"_s);
    EXPECT_EQ(own.value(1, 1), Value(18));
    own.deleteRows(4, 1);   // rows of its own sheet leave references to another as they are
    EXPECT_EQ(text(1), u"=Склад!A3+SUM(Склад!A2:A7)"_s);

    store.setName(u"Стока"_s);
    EXPECT_EQ(text(1), u"=Стока!A3+SUM(Стока!A2:A7)"_s);
    EXPECT_EQ(text(2), u"=SUM(Лист1:Стока!C1)"_s);
    EXPECT_EQ(own.value(1, 1), Value(18));

    book.deleteSheet(book.sheets(u"Стока"_s));
    EXPECT_EQ(text(1), u"=#REF!+SUM(#REF!)"_s);
    EXPECT_EQ(own.value(1, 1), Value::error(ErrorCode::Ref));
    // A span of sheets loses the one gone from its end.
    EXPECT_EQ(text(2), u"=SUM(Лист1!C1)"_s);
    EXPECT_EQ(text(3), u"=SUM(Каса!C1)"_s);
    EXPECT_EQ(own.value(3, 1), Value(4));
}

// A reference given as text reaches the sheet it names and follows its cells; a sheet the
// workbook lacks gives #REF!. (LibreOffice reads such text its own way, so no oracle here.)
TEST(FormulaSheets, ReferencesGivenAsTextReachTheirSheet)
{
    Workbook book;
    book.appendSheet(u"Лист 2"_s).setValue(1, 2, Value(3));
    Worksheet& store = book.appendSheet(u"Склад"_s);
    store.setValue(2, 2, Value(5));
    Worksheet& own = book.sheets(1);
    const char* const typed[] = {"=INDIRECT(\"Склад!B2\")*2", "=SUM(INDIRECT(\"'Лист 2'!A1:B1\"))",
                                 "=INDIRECT(\"Нищо!A1\")"};
    for (int row = 1; row <= 3; ++row)
        own.setFormula(row, 1, Formula::parseA1(QString::fromUtf8(typed[row - 1]), row, 1));
    EXPECT_EQ(own.value(1, 1), Value(10));
    EXPECT_EQ(own.value(2, 1), Value(3));
    EXPECT_EQ(own.value(3, 1), Value::error(ErrorCode::Ref));
    store.setValue(2, 2, Value(6));
    EXPECT_EQ(own.value(1, 1), Value(12));
}

// Every formula that reads a changed cell, through any chain over any sheets, shows its new value.
TEST(FormulaSheets, ChangesReachEveryFormulaOverSheets)
{
    Workbook book;
    Worksheet& first = book.sheets(1);
    Worksheet& second = book.appendSheet(u"Втори"_s);
    Worksheet& third = book.appendSheet(u"Трети"_s);
    first.setValue(1, 1, Value(2));
    second.setFormula(1, 1, Formula::parseA1(u"=Лист1!A1*10"_s, 1, 1));
    third.setFormula(1, 1, Formula::parseA1(u"=Втори!A1+1"_s, 1, 1));
    first.setFormula(1, 2, Formula::parseA1(u"=SUM(Лист1:Трети!A1)"_s, 1, 2));   // 2 + 20 + 21
    EXPECT_EQ(first.value(1, 2), Value(43));
    EXPECT_EQ(third.value(1, 1), Value(21));
    first.setValue(1, 1, Value(3));
    EXPECT_EQ(third.value(1, 1), Value(31));
    EXPECT_EQ(first.value(1, 2), Value(64));
    book.activate(second);
    book.sheetsAdd().setValue(1, 1, Value(100));   // a sheet put inside the span counts in it
    EXPECT_EQ(first.value(1, 2), Value(164));
    second.setValue(1, 1, Value(1));   // no longer a formula
    EXPECT_EQ(first.value(1, 2), Value(3 + 100 + 1 + 2));
}

// A chain over two sheets as long as a ledger computes without taking the call stack, and a
// formula reaching itself over sheets gives 0 where it reads itself rather than computing forever.
TEST(FormulaSheets, LongChainsAndCirclesOverSheets)
{
    Workbook book;
    Worksheet& first = book.sheets(1);
    Worksheet& second = book.appendSheet(u"Втори"_s);
    constexpr int kRows = 30000;
    first.setValue(1, 1, Value(1));
    for (int row = 1; row <= kRows; ++row) {
        second.setFormula(row, 1, Formula::parseA1(u"=Лист1!A%1+1"_s.arg(row), row, 1));
        if (row < kRows) first.setFormula(row + 1, 1, Formula::parseA1(u"=Втори!A%1"_s.arg(row), row + 1, 1));
    }
    EXPECT_EQ(second.value(kRows, 1), Value(kRows + 1));

    first.setFormula(1, 3, Formula::parseA1(u"=Втори!C1+1"_s, 1, 3));
    second.setFormula(1, 3, Formula::parseA1(u"=Лист1!C1+1"_s, 1, 3));
    EXPECT_EQ(first.value(1, 3), Value(2));
    EXPECT_EQ(second.value(1, 3), Value(1));
}

// Rows deleted under a name's cells move its definition, in the formulas using it, in the names a
// formula is typed with, and in the file.
TEST(FormulaSheets, NamesFollowDeletedRows)
{
    const auto book = Workbook::open(QStringLiteral(TERVIN_TEST_DATA "/formula-oracle/functions.xls"));
    Worksheet& sheet = book->sheets(1);
    int row = 1;
    while (!sheet.formulaAt(row, 8) || sheet.formulaAt(row, 8)->formula.toA1() != u"=SUM(Цени)"_s) ++row;
    sheet.Rows(2).Delete();   // A2: 3
    sheet.Rows(2).Delete();   // A3: 8
    EXPECT_EQ(sheet.value(row - 2, 8), Value(44));
    const FormulaNodePtr typed = book->definedName(u"цени"_s, sheet);
    ASSERT_TRUE(typed);
    EXPECT_EQ(Formula(typed->args[0]).toA1(), u"=Данни!$A$1:$A$8"_s);

    const auto read = Workbook::fromBytes(book->toBytes());
    read->calculate();
    EXPECT_EQ(read->sheets(1).value(row - 2, 8), Value(44));
    EXPECT_EQ(Formula(read->definedName(u"Цени"_s, read->sheets(1))->args[0]).toA1(), u"=Данни!$A$1:$A$8"_s);
}
