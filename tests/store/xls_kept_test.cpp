// What the engine carries through a save without understanding it: sheets of other kinds,
// defined names and the links they use, the date system.

#include "error_message.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/XlsError.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace store;

namespace {

QByteArray record(quint16 id, const QByteArray& data)
{
    char head[4];
    xls::put16(head, id);
    xls::put16(head + 2, quint16(data.size()));
    return QByteArray(head, 4) + data;
}

// A chart sheet's part of a file: BOF of a chart, one record the engine knows nothing of, EOF.
QByteArray chartRecords()
{
    QByteArray bof(16, '\0');
    xls::put16(bof.data(), xls::kBiff8Version);
    xls::put16(bof.data() + 2, 0x0020);
    return record(xls::rec::Bof, bof) + record(0x1033, QByteArray()) + record(0x1002, QByteArray(16, '\x07'))
         + record(xls::rec::Eof, QByteArray());
}

std::unique_ptr<Workbook> reread(const Workbook& book)
{
    return Workbook::fromBytes(book.toBytes());
}

TEST(XlsKept, ChartSheetKeepsItsPlaceAndTheActiveWorksheetStays)
{
    Workbook book;
    book.appendSheet(QStringLiteral("Стока"));
    book.kept().otherSheets.push_back({QStringLiteral("Диаграма"), 1, 0x02, chartRecords(), 1});
    book.kept().linksFitSheets = true;
    book.activate(book.sheets(2));
    book.sheets(2).setValue(1, 1, Value(5));

    const auto copy = reread(book);
    ASSERT_EQ(copy->sheetCount(), 2);
    EXPECT_EQ(&copy->ActiveSheet(), &copy->sheets(QStringLiteral("Стока")));
    EXPECT_EQ(copy->sheets(2).value(1, 1), Value(5));
    ASSERT_EQ(copy->kept().otherSheets.size(), 1u);
    const KeptSheet& chart = copy->kept().otherSheets[0];
    EXPECT_EQ(chart.name, QStringLiteral("Диаграма"));
    EXPECT_EQ(chart.tab, 1);
    EXPECT_EQ(chart.visibility, 1);
    EXPECT_EQ(chart.type, 0x02);
    EXPECT_EQ(chart.records, chartRecords());
}

// Names point at sheets by their place: once a sheet is inserted they would name the wrong
// one, so they are left out, and sheets of other kinds follow the worksheets.
TEST(XlsKept, NamesGoAndOtherSheetsFollowOnceSheetsAreInserted)
{
    Workbook book;
    book.kept().otherSheets.push_back({QStringLiteral("Диаграма"), 0, 0x02, chartRecords(), 0});
    const QByteArray name = QByteArray::fromHex("00000001000000000000000000000041");   // "A", no formula
    book.kept().links.push_back({xls::rec::Name, name});
    book.kept().linksFitSheets = true;
    book.kept().date1904 = true;
    // A cell of another sheet, through the link table, and a function of its own sheet's cell.
    const QByteArray otherSheet = QByteArray::fromHex("3A000000000000C0");
    const QByteArray ownSheet = QByteArray::fromHex("24000000C0410F00");   // SIN(A1)
    book.sheets(1).putFormula(2, 1, Formula::kept(otherSheet, Value(7)), Value(7), kDefaultCellFormat);
    book.sheets(1).putFormula(3, 1, Formula::kept(ownSheet, Value(8)), Value(8), kDefaultCellFormat);

    const auto kept = reread(book);
    ASSERT_TRUE(kept->sheets(1).formulaAt(2, 1));
    EXPECT_TRUE(kept->sheets(1).formulaAt(2, 1)->formula.isKept());
    ASSERT_EQ(kept->kept().links.size(), 1u);
    EXPECT_EQ(kept->kept().links[0].data, name);
    EXPECT_TRUE(kept->kept().date1904);
    EXPECT_EQ(kept->kept().otherSheets.at(0).tab, 0);

    kept->sheetsAdd();
    const auto moved = reread(*kept);
    EXPECT_TRUE(moved->kept().links.empty());
    EXPECT_TRUE(moved->kept().date1904);
    EXPECT_EQ(moved->kept().otherSheets.at(0).tab, 2);
    EXPECT_EQ(moved->sheetCount(), 2);
    // The reference to another sheet would now point through links that are gone: its value
    // stays instead; a formula of the sheet's own cells stays a formula.
    const Worksheet& first = moved->sheets(QStringLiteral("Лист1"));
    EXPECT_FALSE(first.formulaAt(2, 1));
    EXPECT_EQ(first.value(2, 1), Value(7));
    ASSERT_TRUE(first.formulaAt(3, 1));
    EXPECT_EQ(first.value(3, 1), Value(8));
}

// A workbook saved with manual calculation shows the values its file holds, as the spreadsheet
// does, until a sheet changes or the workbook is calculated; the mode goes back into the file.
TEST(XlsKept, ManualCalculationShowsTheFileValuesUntilTheSheetChanges)
{
    Workbook book;
    book.kept().manualCalculation = true;
    Worksheet& sheet = book.sheets(1);
    sheet.setValue(1, 1, Value(1));
    sheet.putFormula(1, 2, Formula::parseA1(QStringLiteral("=A1+1"), 1, 2), Value(5), kDefaultCellFormat);
    sheet.putFormula(1, 3, Formula::parseA1(QStringLiteral("=B1*10"), 1, 3), Value(50), kDefaultCellFormat);
    sheet.keepFileValues(true);

    const auto read = reread(book);
    Worksheet& again = read->sheets(1);
    EXPECT_TRUE(read->kept().manualCalculation);
    EXPECT_TRUE(again.showsUncalculatedValues());
    EXPECT_EQ(again.value(1, 2), Value(5));
    EXPECT_EQ(again.value(1, 3), Value(50));
    // Saved untouched, the stale values and the mark that says so stay.
    const auto copied = reread(*read);
    EXPECT_EQ(copied->sheets(1).value(1, 3), Value(50));
    EXPECT_TRUE(copied->sheets(1).showsUncalculatedValues());

    copied->calculate();
    EXPECT_EQ(copied->sheets(1).value(1, 3), Value(20));
    again.setValue(1, 1, Value(2));
    EXPECT_EQ(again.value(1, 3), Value(30));
    EXPECT_FALSE(again.showsUncalculatedValues());
    const auto changed = reread(*read);
    EXPECT_TRUE(changed->kept().manualCalculation);
    EXPECT_FALSE(changed->sheets(1).showsUncalculatedValues());
    EXPECT_EQ(changed->sheets(1).value(1, 3), Value(30));

    // A workbook that computes by itself recomputes on reading whatever its file holds.
    Workbook automatic;
    automatic.sheets(1).setValue(1, 1, Value(1));
    automatic.sheets(1).putFormula(1, 2, Formula::parseA1(QStringLiteral("=A1+1"), 1, 2), Value(5), kDefaultCellFormat);
    EXPECT_EQ(reread(automatic)->sheets(1).value(1, 2), Value(2));
    EXPECT_FALSE(reread(automatic)->kept().manualCalculation);
}

// A kept sheet whose EOF record carries bytes goes back with them: a copy cut inside its last
// record could not be read again.
TEST(XlsKept, AKeptSheetEndingInAnEofWithBytesIsCopiedWhole)
{
    Workbook book;
    QByteArray chart = chartRecords();
    chart.chop(4);
    chart += record(xls::rec::Eof, QByteArray(5, '\x01'));
    book.kept().otherSheets.push_back({QStringLiteral("Диаграма"), 0, 0x02, chart, 1});
    book.kept().linksFitSheets = true;
    book.sheets(1).setValue(1, 1, Value(5));

    const auto copy = reread(book);
    ASSERT_EQ(copy->kept().otherSheets.size(), 1u);
    EXPECT_EQ(copy->kept().otherSheets[0].records, chart);
    const auto again = reread(*copy);
    EXPECT_EQ(again->sheets(1).value(1, 1), Value(5));
    EXPECT_EQ(again->kept().otherSheets.at(0).records, chart);
}

TEST(XlsKept, WorksheetMayNotTakeTheNameOfAKeptSheet)
{
    Workbook book;
    book.kept().otherSheets.push_back({QStringLiteral("лист1"), 0, 0x02, chartRecords(), 1});
    EXPECT_EQ(errorKind<xls::XlsError>([&] { book.toBytes(); }), xls::XlsError::SheetNamesClash);
}

} // namespace
