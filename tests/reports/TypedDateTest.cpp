// Dates as the shop keeper types them into a report's date fields.
#include "app/support/QtPrinters.h"

#include "store/DataWorkbook.h"

#include <gtest/gtest.h>

using store::parseTypedDate;

TEST(TypedDate, DayMonthYearWithDotsSlashesOrHyphensAndATwoDigitYearInThisCentury)
{
    const QDate november15(2026, 11, 15);
    for (const char* text : {"15.11.2026", "15. 11. 2026", " 15 . 11 . 2026 ", "15.11.26", "15/11/2026", "15-11-2026",
                             "15. 11. 2026 г."})
        EXPECT_EQ(parseTypedDate(QString::fromUtf8(text)), november15) << text;
    EXPECT_EQ(parseTypedDate(QStringLiteral("7.12.2026")), QDate(2026, 12, 7));
    EXPECT_EQ(parseTypedDate(QStringLiteral("07.02.2026")), QDate(2026, 2, 7)) << "day first, as the shop writes";
    EXPECT_EQ(parseTypedDate(QStringLiteral("29.02.2028")), QDate(2028, 2, 29));
}

TEST(TypedDate, TextThatNamesNoDayIsNoDate)
{
    for (const char* text : {"31.02.2026", "29.02.2026", "15.13.2026", "0.11.2026", "15.11", "15.11.202", "15112026",
                             "15.11.2026 10:30", "вчера", "", "  "})
        EXPECT_FALSE(parseTypedDate(QString::fromUtf8(text))) << text;
}
