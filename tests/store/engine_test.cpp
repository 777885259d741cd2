// The spreadsheet engine as the program drives it: find, sort, row deletion, sheets, alerts.
#include "store/Application.h"
#include "error_message.h"

#include "store/DataWorkbook.h"
#include "store/EngineError.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace Qt::StringLiterals;

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
    fillNames(sheet, {u"Кукла Мая"_s, u"Топка"_s, u"малка кукла"_s, u"Количка"_s});

    // Case is folded in Cyrillic too; the first cell of the range is tried last.
    auto hit = sheet.Range(u"B2:B10"_s).Find(u"КУКЛ"_s);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->row(), 4);
    auto next = sheet.Range(u"B2:B10"_s).FindNext(*hit);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->row(), 2);                        // wrapped round to the first cell
    auto again = sheet.Range(u"B2:B10"_s).FindNext(*next);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->row(), 4);                       // and round again

    EXPECT_FALSE(sheet.Range(u"B2:B10"_s).Find(u"самолет"_s));
    // A range starting below the hit does not see it.
    EXPECT_FALSE(sheet.Range(u"B3:B4"_s).Find(u"Мая"_s));
    // Only the range's columns count.
    EXPECT_FALSE(sheet.Range(u"C2:C10"_s).Find(u"Топка"_s));
}

TEST(EngineFind, WildcardsEscapesAndNumbers)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {u"Кола*червена"_s, u"Кола синя"_s, u"Ред 12"_s, u"Мече?"_s});
    sheet.setValue(6, 2, Value(5.5));

    auto star = sheet.Range(u"B2:B10"_s).Find(u"к*я"_s);
    ASSERT_TRUE(star);
    EXPECT_EQ(star->row(), 3);                        // "Кола синя": row 2 has no "я" after a "к"
    auto literal = sheet.Range(u"B2:B10"_s).Find(u"а~*ч"_s);
    ASSERT_TRUE(literal);
    EXPECT_EQ(literal->row(), 2);
    auto one = sheet.Range(u"B2:B10"_s).Find(u"р?д"_s);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->row(), 4);
    auto question = sheet.Range(u"B2:B10"_s).Find(u"~?"_s);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->row(), 5);
    // Numbers are found by the text they show: 5,5 under Bulgarian settings.
    auto number = sheet.Range(u"B2:B10"_s).Find(u"5,5"_s);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->row(), 6);
    // "*" finds cells that hold something, never empty ones.
    sheet.setValue(2, 2, Value());
    auto any = sheet.Range(u"B2:B10"_s).Find(u"*"_s);
    ASSERT_TRUE(any);
    EXPECT_EQ(any->row(), 3);
    QLocale::setDefault(QLocale::c());
}

TEST(EngineFind, EveryHitOnceBeforeTheFirstReturns)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    QStringList names;
    for (int i = 0; i < 40; ++i) names << (i % 3 == 0 ? u"топка %1"_s.arg(i) : u"мече %1"_s.arg(i));
    fillNames(sheet, names);

    auto first = sheet.Range(u"B2:B10000"_s).Find(u"топка"_s);
    ASSERT_TRUE(first);
    QList<int> rows{first->row()};
    for (auto hit = sheet.Range(u"B2:B10000"_s).FindNext(*first); hit && hit->row() != first->row();
         hit = sheet.Range(u"B2:B10000"_s).FindNext(*hit))
        rows << hit->row();
    EXPECT_EQ(rows.size(), 14);
    EXPECT_EQ(rows.front(), 5);       // row 2 holds "топка 0" and is tried last
    EXPECT_EQ(rows.back(), 2);
}

TEST(EngineSort, NamesByBulgarianCollationWholeRows)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {u"ябълка"_s, u"Бонбон"_s, u"агне"_s, u"вълк"_s, u"бебе"_s});
    for (int r = 2; r <= 6; ++r) {
        sheet.setValue(r, 3, Value(r * 1.5));                       // C moves with its row
        sheet.setValue(r, 18, Value(u"R%1"_s.arg(r)));  // so does R
        sheet.setValue(r, 21, Value(r));                             // U is outside A:R and stays
    }
    sheet.Range(u"A2:R6"_s).Sort(sheet.Range(u"B2"_s), SortOrder::Ascending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 6), (QStringList{u"агне"_s, u"бебе"_s, u"Бонбон"_s, u"вълк"_s, u"ябълка"_s}));
    EXPECT_EQ(columnTexts(sheet, 18, 2, 6), (QStringList{u"R4"_s, u"R6"_s, u"R3"_s, u"R5"_s, u"R2"_s}));
    EXPECT_EQ(sheet.value(2, 3).number(), 6.0);
    EXPECT_EQ(columnTexts(sheet, 21, 2, 6), (QStringList{u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));

    sheet.Range(u"A2:R6"_s).Sort(sheet.Range(u"B2"_s), SortOrder::Descending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 6), (QStringList{u"ябълка"_s, u"вълк"_s, u"Бонбон"_s, u"бебе"_s, u"агне"_s}));
}

TEST(EngineSort, NumbersBeforeTextBlanksLastStable)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    // name, price
    const QList<QPair<QString, Value>> rows{
        {u"a"_s, Value(3.0)}, {u"b"_s, Value()}, {u"c"_s, Value("текст")}, {u"d"_s, Value(1.0)}, {u"e"_s, Value(3.0)}, {u"f"_s, Value(-2.0)}};
    for (int i = 0; i < rows.size(); ++i) {
        sheet.setValue(i + 2, 2, Value(rows[i].first));
        sheet.setValue(i + 2, 3, rows[i].second);
    }
    sheet.Range(u"A2:R7"_s).Sort(sheet.Range(u"C2"_s), SortOrder::Ascending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 7), (QStringList{u"f"_s, u"d"_s, u"a"_s, u"e"_s, u"c"_s, u"b"_s}));
    sheet.Range(u"A2:R7"_s).Sort(sheet.Range(u"C2"_s), SortOrder::Descending);
    EXPECT_EQ(columnTexts(sheet, 2, 2, 7), (QStringList{u"c"_s, u"a"_s, u"e"_s, u"d"_s, u"f"_s, u"b"_s}));
    EXPECT_EQ(errorKind<EngineError>([&] { sheet.Range(u"A2:R7"_s).Sort(sheet.Range(u"U2"_s), SortOrder::Ascending); }),
              EngineError::SortKeyOutsideRange);
}

TEST(EngineRows, DeleteMovesRowsUpAndFormulasFollow)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillNames(sheet, {u"едно"_s, u"две"_s, u"три"_s, u"четири"_s});
    sheet.cells(1, 20).setFormulaR1C1(layout::article::kCountFormulaR1C1);
    EXPECT_EQ(sheet.cells(1, 20).Formula(), u"=COUNTIF(B2:B10000,\"<>\")"_s);
    EXPECT_EQ(sheet.value(1, 20).number(), 4.0);
    sheet.setValue(7, 5, Value(10.0));
    sheet.cells(8, 5).setFormula(u"=E7*2"_s);

    sheet.Rows(3).Delete();
    EXPECT_EQ(columnTexts(sheet, 2, 2, 5), (QStringList{u"едно"_s, u"три"_s, u"четири"_s, u""_s}));
    EXPECT_EQ(sheet.value(1, 20).number(), 3.0);
    // The count formula keeps counting from row 2 and its area shrank by the deleted row.
    EXPECT_EQ(sheet.cells(1, 20).Formula(), u"=COUNTIF(B2:B9999,\"<>\")"_s);
    EXPECT_EQ(sheet.cells(7, 5).Formula(), u"=E6*2"_s);
    EXPECT_EQ(sheet.value(7, 5).number(), 20.0);

    // Writing empty text empties a cell: the count formula no longer sees it.
    sheet.setValue(4, 2, Value(QString()));
    EXPECT_TRUE(sheet.value(4, 2).isEmpty());
    EXPECT_EQ(sheet.value(1, 20).number(), 2.0);
    sheet.setValue(4, 2, Value("четири"));

    // The last record goes: the count drops to 0 and the next record would land in row 2.
    for (int i = 0; i < 3; ++i) sheet.Rows(2).Delete();
    EXPECT_EQ(sheet.value(1, 20).number(), 0.0);
    EXPECT_EQ(errorKind<EngineError>([&] { sheet.Range(u"B2:C3"_s).Delete(); }), EngineError::NotWholeRows);
}

TEST(EngineSheets, AddNameAndDelete)
{
    Application app;
    app.DisplayAlerts = false;
    Workbook& book = app.Workbooks().Add();
    book.sheets(1).setName(u"List"_s);

    Worksheet& first = book.sheetsAdd();
    EXPECT_EQ(&book.ActiveSheet(), &first);
    first.setName(u"Играчки"_s);
    Worksheet& second = book.sheetsAdd();
    second.setName(u"Дрехи"_s);
    // Each new sheet went before the active one.
    EXPECT_EQ(book.sheets(1).Name(), u"Дрехи"_s);
    EXPECT_EQ(book.sheets(2).Name(), u"Играчки"_s);
    EXPECT_EQ(book.sheets(3).Name(), u"List"_s);
    EXPECT_EQ(&book.sheets(u"list"_s), &book.sheets(3));   // case ignored

    EXPECT_EQ(errorKind<EngineError>([&] { book.sheetsAdd().setName(u"дрехи"_s); }),
              EngineError::SheetNameTaken);   // case ignored
    const auto renamingFails = [&](const QString& name) {
        return errorKind<EngineError>([&] { book.ActiveSheet().setName(name); });
    };
    EXPECT_EQ(renamingFails(u"Коли/колички"_s), EngineError::SheetNameCharacters);
    EXPECT_EQ(renamingFails(QString(32, QChar(u'a'))), EngineError::SheetNameLength);
    EXPECT_EQ(renamingFails(u""_s), EngineError::SheetWithoutName);

    bool asked = false;
    app.setAlertHook([&](Alert, const QString&) { asked = true; return AlertAnswer::Yes; });
    EXPECT_TRUE(book.sheets(u"Играчки"_s).Delete());
    EXPECT_FALSE(asked);                                 // alerts off: never asks
    EXPECT_EQ(book.findSheet(u"Играчки"_s), nullptr);
    EXPECT_EQ(errorKind<EngineError>([&] { book.sheets(u"Играчки"_s); }), EngineError::NoSheetNamed);
}

TEST(EngineAlerts, DeleteSheetAndQuitAskOnlyWithAlertsOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Danni.xls"_s);
    DataWorkbook::createFresh()->SaveAs(path);

    Application app;
    QList<Alert> asked;
    AlertAnswer answer = AlertAnswer::Cancel;
    app.setAlertHook([&](Alert alert, const QString&) { asked << alert; return answer; });
    Workbook& book = app.Workbooks().Open(path);
    Worksheet& extra = book.sheetsAdd();
    extra.setName(u"Колички"_s);

    EXPECT_FALSE(extra.Delete());                         // Cancel keeps the sheet
    EXPECT_EQ(asked, QList<Alert>{Alert::DeleteSheet});
    EXPECT_NE(book.findSheet(u"Колички"_s), nullptr);

    // Unsaved changes: Cancel stops the quit, alerts off quits without a word and saves nothing.
    EXPECT_FALSE(app.Quit());
    EXPECT_EQ(asked.last(), Alert::SaveChanges);
    app.DisplayAlerts = false;
    asked.clear();
    EXPECT_TRUE(app.Quit());
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(app.ActiveWorkbook(), nullptr);
    EXPECT_EQ(Workbook::open(path)->sheetCount(), 1);
    EXPECT_EQ(errorKind<EngineError>([&] { app.Workbooks().Open(path); }), EngineError::ApplicationClosed);
}

TEST(EngineSave, SavedChangesComeBackAndTheFreshLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Danni.xls"_s);
    DataWorkbook::createFresh()->SaveAs(path);

    Application app;
    Workbook& book = app.Workbooks().Open(path);
    DataWorkbook data(book);
    EXPECT_EQ(data.counter(layout::index::kSheetCount), 1);
    EXPECT_EQ(data.counter(layout::index::kLastInvoice), 0);
    EXPECT_EQ(data.counter(layout::index::kSalesRows), 0);
    EXPECT_EQ(data.counter(layout::index::kPurchaseRows), 0);
    EXPECT_EQ(data.cell(layout::index::kAdminName).toText(), u"admin"_s);
    EXPECT_EQ(data.cell(layout::index::kAdminPassword).toText(), u"8642"_s);

    Worksheet& article = book.sheetsAdd();
    article.setName(u"Играчки"_s);
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
    EXPECT_EQ(reread.goodsCount(again->sheets(u"Играчки"_s)), 1);
    EXPECT_EQ(again->sheets(u"Играчки"_s).value(2, 3).number(), 12.75);
    // The sheet active at the save is active again: the next article goes before it.
    EXPECT_EQ(again->ActiveSheet().Name(), u"Играчки"_s);
    again->sheetsAdd().setName(u"Дрехи"_s);
    EXPECT_EQ(again->sheets(1).Name(), u"Дрехи"_s);
    EXPECT_EQ(again->sheets(2).Name(), u"Играчки"_s);
}

TEST(EngineValues, TextAndNumbers)
{
    EXPECT_EQ(Value(12.0).toText(), u"12"_s);
    EXPECT_EQ(Value(0.1).toText(), u"0.1"_s);
    EXPECT_EQ(Value(-3.25).toText(), u"-3.25"_s);
    EXPECT_EQ(Value(8642.0).toText(), u"8642"_s);
    EXPECT_EQ(parseNumber(u" 5,50 "_s), 5.5);
    EXPECT_EQ(parseNumber(u"5.5"_s), 5.5);
    EXPECT_FALSE(parseNumber(u"5,5,0"_s));
    EXPECT_FALSE(parseNumber(u"12 лв."_s));
    EXPECT_FALSE(parseNumber(u"inf"_s));
    EXPECT_FALSE(parseNumber(u""_s));
    EXPECT_EQ(Value().toNumber(), 0.0);
    EXPECT_FALSE(Value("abc").toNumber());
    EXPECT_EQ(formatShopDate(QDate(2027, 3, 3)), u"3. 03. 2027"_s);
    EXPECT_EQ(parseShopDate(u"6. 12. 2026"_s), QDate(2026, 12, 6));
    EXPECT_FALSE(parseShopDate(u"31. 02. 2026"_s));
    EXPECT_FALSE(parseShopDate(u"вчера"_s));
}
