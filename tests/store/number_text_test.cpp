// Numbers become text in one place, in the plain form a spreadsheet's General format shows:
// never an exponent, whatever the magnitude, and the same number when read back.
#include "store/DataWorkbook.h"
#include "store/Workbook.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using namespace store;

TEST(NumberText, PlainDecimalFormWithoutExponent)
{
    const std::pair<double, const char*> cases[] = {
        {100000, "100000"},       {123456.5, "123456.5"}, {0.000001, "0.000001"},
        {1e20, "100000000000000000000"}, {-1e15, "-1000000000000000"}, {123456789.13, "123456789.13"},
        {0.1, "0.1"},             {-3.25, "-3.25"},       {12, "12"},
        {-0.0, "0"},              {9999999999.0, "9999999999"},
    };
    for (const auto& [number, text] : cases) EXPECT_EQ(numberToText(number), QLatin1String(text)) << text;
}

TEST(NumberText, ExtremesReadBackAsTheSameNumber)
{
    for (double number : {DBL_MAX, -DBL_MAX, DBL_MIN, 5e-324, 1.0 / 3, 2.0 / 3 * 1e17, 1e-7, 65536.0 * 65536 * 65536}) {
        const QString text = numberToText(number);
        EXPECT_FALSE(text.contains(QLatin1Char('e'))) << text.toStdString();
        const auto back = parseNumber(text);
        ASSERT_TRUE(back) << text.toStdString();
        EXPECT_EQ(*back, number) << text.toStdString();
    }
}

TEST(NumberText, CellsShowTheUsersDecimalMarkAndCompareWithAPoint)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    sheet.setValue(2, 4, Value(100000.0));
    sheet.setValue(3, 4, Value(123456.5));
    EXPECT_EQ(sheet.shownText(2, 4), QStringLiteral("100000"));
    EXPECT_EQ(sheet.shownText(3, 4), QStringLiteral("123456,5"));
    EXPECT_EQ(sheet.value(3, 4).toText(), QStringLiteral("123456.5"));
    // A sum off in its last bits shows as the spreadsheet shows it, to 15 digits.
    sheet.setFormula(5, 4, Formula::parseA1(QStringLiteral("=0.1+0.2"), 5, 4));
    EXPECT_EQ(sheet.shownText(5, 4), QStringLiteral("0,3"));
    // Text made by a formula takes the number in the same form.
    sheet.setFormula(4, 4, Formula::parseA1(QStringLiteral("=D2&\"\""), 4, 4));
    EXPECT_EQ(sheet.value(4, 4), Value(QStringLiteral("100000")));
    // Find matches numbers by the text shown.
    EXPECT_TRUE(sheet.Range(QStringLiteral("D1:D10")).Find(QStringLiteral("123456,5")));
}

TEST(NumberText, PasswordHeldAsANumberReadsAsTypedAfterASave)
{
    // The login window compares the typed password with the cell's text.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    {
        auto book = DataWorkbook::createFresh();
        DataWorkbook(*book).setCell(layout::index::kAdminPassword, Value(100000.0));
        book->SaveAs(path);
    }
    auto book = Workbook::open(path);
    EXPECT_EQ(DataWorkbook(*book).cell(layout::index::kAdminPassword).toText(), QStringLiteral("100000"));
}

TEST(NumberText, ShownNumbersKeepFifteenSignificantDigits)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    const std::pair<double, const char*> cases[] = {
        {1.1 + 1.1 * 10 / 100, "1,21"},          // a selling price computed from a markup
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {-2.675, "-2,675"},
        {123456789012345678.0, "123456789012346000"},
        {1.23456789012345678e-7, "0,000000123456789012346"},
        {1e20, "100000000000000000000"},
        {100000, "100000"},
        {0, "0"},
    };
    for (const auto& [number, text] : cases) EXPECT_EQ(shownNumberText(number), QString::fromUtf8(text)) << text;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(shownNumberText(2.5), QStringLiteral("2.5"));
    QLocale::setDefault(before);
}
