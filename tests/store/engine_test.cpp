// The spreadsheet engine as the program drives it: find, sort, row deletion, sheets, alerts.
#include "store/Application.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;

namespace {

// Column B from row 2 down, as an article sheet holds its goods names.
void fillNames(Worksheet& sheet, const QStringList& names)
{
    for (int i = 0; i < names.size(); ++i) sheet.setValue(i + 2, 2, Value(names[i]));
}

QStringList columnTexts(const Worksheet& sheet, int col, int first, int last)
{
    QStringList out;
    for (int r = first; r <= last; ++r) out << sheet.value(r, col).toText();
    return out;
}

} // namespace

TEST(EngineFind, PartMatchCaseAndOrder)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {"Кукла Мая", "Топка", "малка кукла", "Количка"});

    // Case is folded in Cyrillic too; the first cell of the range is tried last.
    auto hit = sheet.Range("B2:B10").Find("КУКЛ");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->row(), 4);
    auto next = sheet.Range("B2:B10").FindNext(*hit);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->row(), 2);                        // wrapped round to the first cell
    auto again = sheet.Range("B2:B10").FindNext(*next);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->row(), 4);                       // and round again

    EXPECT_FALSE(sheet.Range("B2:B10").Find("самолет"));
    // A range starting below the hit does not see it.
    EXPECT_FALSE(sheet.Range("B3:B4").Find("Мая"));
    // Only the range's columns count.
    EXPECT_FALSE(sheet.Range("C2:C10").Find("Топка"));
}

TEST(EngineFind, WildcardsEscapesAndNumbers)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {"Кола*червена", "Кола синя", "Ред 12", "Мече?"});
    sheet.setValue(6, 2, Value(5.5));

    auto star = sheet.Range("B2:B10").Find("к*я");
    ASSERT_TRUE(star);
    EXPECT_EQ(star->row(), 3);                        // "Кола синя": row 2 has no "я" after a "к"
    auto literal = sheet.Range("B2:B10").Find("а~*ч");
    ASSERT_TRUE(literal);
    EXPECT_EQ(literal->row(), 2);
    auto one = sheet.Range("B2:B10").Find("р?д");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->row(), 4);
    auto question = sheet.Range("B2:B10").Find("~?");
    ASSERT_TRUE(question);
    EXPECT_EQ(question->row(), 5);
    // Numbers are found by the text they show: 5,5 under Bulgarian settings.
    auto number = sheet.Range("B2:B10").Find("5,5");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->row(), 6);
    // "*" finds cells that hold something, never empty ones.
    sheet.setValue(2, 2, Value());
    auto any = sheet.Range("B2:B10").Find("*");
    ASSERT_TRUE(any);
    EXPECT_EQ(any->row(), 3);
    QLocale::setDefault(QLocale::c());
}

TEST(EngineFind, EveryHitOnceBeforeTheFirstReturns)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    QStringList names;
    for (int i = 0; i < 40; ++i) names << (i % 3 == 0 ? QStringLiteral("топка %1").arg(i) : QStringLiteral("мече %1").arg(i));
    fillNames(sheet, names);

    auto first = sheet.Range("B2:B10000").Find("топка");
    ASSERT_TRUE(first);
    QList<int> rows{first->row()};
    for (auto hit = sheet.Range("B2:B10000").FindNext(*first); hit && hit->row() != first->row();
         hit = sheet.Range("B2:B10000").FindNext(*hit))
        rows << hit->row();
    EXPECT_EQ(rows.size(), 14);
    EXPECT_EQ(rows.front(), 5);       // row 2 holds "топка 0" and is tried last
    EXPECT_EQ(rows.back(), 2);
}

TEST(EngineSort, NamesByBulgarianCollationWholeRows)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {"ябълка", "Бонбон", "агне", "вълк", "бебе"});
    for (int r = 2; r <= 6; ++r) {
        sheet.setValue(r, 3, Value(r * 1.5));                       // C moves with its row
        sheet.setValue(r, 18, Value(QStringLiteral("R%1").arg(r)));  // so does R
        sheet.setValue(r, 21, Value(r));                             // U is outside A:R and stays
    }
    sheet.Range("A2:R6").Sort(sheet.Range("B2"), SortOrder::Ascending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 6), (QStringList{"агне", "бебе", "Бонбон", "вълк", "ябълка"}));
    EXPECT_EQ(columnTexts(sheet, 18, 2, 6), (QStringList{"R4", "R6", "R3", "R5", "R2"}));
    EXPECT_EQ(sheet.value(2, 3).number(), 6.0);
    EXPECT_EQ(columnTexts(sheet, 21, 2, 6), (QStringList{"2", "3", "4", "5", "6"}));

    sheet.Range("A2:R6").Sort(sheet.Range("B2"), SortOrder::Descending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 6), (QStringList{"ябълка", "вълк", "Бонбон", "бебе", "агне"}));
}

TEST(EngineSort, NumbersBeforeTextBlanksLastStable)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    // name, price
    const QList<QPair<QString, Value>> rows{
        {"a", Value(3.0)}, {"b", Value()}, {"c", Value("текст")}, {"d", Value(1.0)}, {"e", Value(3.0)}, {"f", Value(-2.0)}};
    for (int i = 0; i < rows.size(); ++i) {
        sheet.setValue(i + 2, 2, Value(rows[i].first));
        sheet.setValue(i + 2, 3, rows[i].second);
    }
    sheet.Range("A2:R7").Sort(sheet.Range("C2"), SortOrder::Ascending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 7), (QStringList{"f", "d", "a", "e", "c", "b"}));
    sheet.Range("A2:R7").Sort(sheet.Range("C2"), SortOrder::Descending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 7), (QStringList{"c", "a", "e", "d", "f", "b"}));
    EXPECT_THROW(sheet.Range("A2:R7").Sort(sheet.Range("U2"), SortOrder::Ascending), Error);
}

TEST(EngineRows, DeleteMovesRowsUpAndFormulasFollow)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {"едно", "две", "три", "четири"});
    sheet.cells(1, 20).setFormulaR1C1(layout::article::kCountFormulaR1C1);
    EXPECT_EQ(sheet.cells(1, 20).Formula(), QStringLiteral("=COUNTIF(B2:B10000,\"<>\")"));
    EXPECT_EQ(sheet.value(1, 20).number(), 4.0);
    sheet.setValue(7, 5, Value(10.0));
    sheet.cells(8, 5).setFormula("=E7*2");

    sheet.Rows(3).Delete();
    EXPECT_EQ(columnTexts(sheet, 2, 2, 5), (QStringList{"едно", "три", "четири", ""}));
    EXPECT_EQ(sheet.value(1, 20).number(), 3.0);
    // The count formula keeps counting from row 2 and its area shrank by the deleted row.
    EXPECT_EQ(sheet.cells(1, 20).Formula(), QStringLiteral("=COUNTIF(B2:B9999,\"<>\")"));
    EXPECT_EQ(sheet.cells(7, 5).Formula(), QStringLiteral("=E6*2"));
    EXPECT_EQ(sheet.value(7, 5).number(), 20.0);

    // Writing empty text empties a cell: the count formula no longer sees it.
    sheet.setValue(4, 2, Value(QString()));
    EXPECT_TRUE(sheet.value(4, 2).isEmpty());
    EXPECT_EQ(sheet.value(1, 20).number(), 2.0);
    sheet.setValue(4, 2, Value("четири"));

    // The last record goes: the count drops to 0 and the next record would land in row 2.
    for (int i = 0; i < 3; ++i) sheet.Rows(2).Delete();
    EXPECT_EQ(sheet.value(1, 20).number(), 0.0);
    EXPECT_THROW(sheet.Range("B2:C3").Delete(), Error);
}

TEST(EngineSheets, AddNameAndDelete)
{
    Application app;
    app.DisplayAlerts = false;
    Workbook& book = app.Workbooks().Add();
    book.sheets(1).setName("List");

    Worksheet& first = book.sheetsAdd();
    EXPECT_EQ(&book.ActiveSheet(), &first);
    first.setName("Играчки");
    Worksheet& second = book.sheetsAdd();
    second.setName("Дрехи");
    // Each new sheet went before the active one.
    EXPECT_EQ(book.sheets(1).Name(), "Дрехи");
    EXPECT_EQ(book.sheets(2).Name(), "Играчки");
    EXPECT_EQ(book.sheets(3).Name(), "List");
    EXPECT_EQ(&book.sheets("list"), &book.sheets(3));   // case ignored

    EXPECT_THROW(book.sheetsAdd().setName("дрехи"), Error);          // taken, case ignored
    EXPECT_THROW(book.ActiveSheet().setName("Коли/колички"), Error);
    EXPECT_THROW(book.ActiveSheet().setName(QString(32, QChar('a'))), Error);
    EXPECT_THROW(book.ActiveSheet().setName(""), Error);

    bool asked = false;
    app.setAlertHook([&](Alert, const QString&) { asked = true; return AlertAnswer::Yes; });
    EXPECT_TRUE(book.sheets("Играчки").Delete());
    EXPECT_FALSE(asked);                                 // alerts off: never asks
    EXPECT_EQ(book.findSheet("Играчки"), nullptr);
    EXPECT_THROW(book.sheets("Играчки"), Error);
}

TEST(EngineAlerts, DeleteSheetAndQuitAskOnlyWithAlertsOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Danni.xls");
    DataWorkbook::createFresh()->SaveAs(path);

    Application app;
    QList<Alert> asked;
    AlertAnswer answer = AlertAnswer::Cancel;
    app.setAlertHook([&](Alert alert, const QString&) { asked << alert; return answer; });
    Workbook& book = app.Workbooks().Open(path);
    Worksheet& extra = book.sheetsAdd();
    extra.setName("Колички");

    EXPECT_FALSE(extra.Delete());                         // Cancel keeps the sheet
    EXPECT_EQ(asked, QList<Alert>{Alert::DeleteSheet});
    EXPECT_NE(book.findSheet("Колички"), nullptr);

    // Unsaved changes: Cancel stops the quit, alerts off quits without a word and saves nothing.
    EXPECT_FALSE(app.Quit());
    EXPECT_EQ(asked.last(), Alert::SaveChanges);
    app.DisplayAlerts = false;
    asked.clear();
    EXPECT_TRUE(app.Quit());
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(app.ActiveWorkbook(), nullptr);
    EXPECT_EQ(Workbook::open(path)->sheetCount(), 1);
    EXPECT_THROW(app.Workbooks().Open(path), Error);
}

TEST(EngineSave, SavedChangesComeBackAndTheFreshLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Danni.xls");
    DataWorkbook::createFresh()->SaveAs(path);

    Application app;
    Workbook& book = app.Workbooks().Open(path);
    DataWorkbook data(book);
    EXPECT_EQ(data.counter(layout::index::kSheetCount), 1);
    EXPECT_EQ(data.counter(layout::index::kLastInvoice), 0);
    EXPECT_EQ(data.counter(layout::index::kSalesRows), 0);
    EXPECT_EQ(data.counter(layout::index::kPurchaseRows), 0);
    EXPECT_EQ(data.cell(layout::index::kAdminName).toText(), "admin");
    EXPECT_EQ(data.cell(layout::index::kAdminPassword).toText(), "8642");

    Worksheet& article = book.sheetsAdd();
    article.setName("Играчки");
    article.cells(1, 20).setFormulaR1C1(layout::article::kCountFormulaR1C1);
    article.setValue(2, 2, Value("Топка"));
    article.setValue(2, 3, Value(12.75));
    data.setCell(layout::index::kSheetCount, Value(2));
    EXPECT_FALSE(book.Saved());
    book.Save();
    EXPECT_TRUE(book.Saved());

    auto again = Workbook::open(path);
    DataWorkbook reread(*again);
    EXPECT_EQ(reread.counter(layout::index::kSheetCount), 2);
    EXPECT_EQ(reread.goodsCount(again->sheets("Играчки")), 1);
    EXPECT_EQ(again->sheets("Играчки").value(2, 3).number(), 12.75);
    // The sheet active at the save is active again: the next article goes before it.
    EXPECT_EQ(again->ActiveSheet().Name(), "Играчки");
    again->sheetsAdd().setName("Дрехи");
    EXPECT_EQ(again->sheets(1).Name(), "Дрехи");
    EXPECT_EQ(again->sheets(2).Name(), "Играчки");
}

TEST(EngineValues, TextAndNumbers)
{
    EXPECT_EQ(Value(12.0).toText(), "12");
    EXPECT_EQ(Value(0.1).toText(), "0.1");
    EXPECT_EQ(Value(-3.25).toText(), "-3.25");
    EXPECT_EQ(Value(8642.0).toText(), "8642");
    EXPECT_EQ(parseNumber(" 5,50 "), 5.5);
    EXPECT_EQ(parseNumber("5.5"), 5.5);
    EXPECT_FALSE(parseNumber("5,5,0"));
    EXPECT_FALSE(parseNumber("12 лв."));
    EXPECT_FALSE(parseNumber("inf"));
    EXPECT_FALSE(parseNumber(""));
    EXPECT_EQ(Value().toNumber(), 0.0);
    EXPECT_FALSE(Value("abc").toNumber());
    EXPECT_EQ(formatShopDate(QDate(2027, 3, 3)), "3. 03. 2027");
    EXPECT_EQ(parseShopDate("6. 12. 2026"), QDate(2026, 12, 6));
    EXPECT_FALSE(parseShopDate("31. 02. 2026"));
    EXPECT_FALSE(parseShopDate("вчера"));
}
