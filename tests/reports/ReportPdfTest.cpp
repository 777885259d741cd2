// Reports on paper: the page plan, PDF files read back by pdftotext, and the print and PDF
// buttons of the windows.
#include "Ledgers.h"
#include "ReportTestSupport.h"
#include "ReportWindows.h"

#include "app/support/MessageRecorder.h"
#include "app/support/Previews.h"

#include "reports/Form11.h"
#include "reports/Form12.h"
#include "reports/Form9.h"
#include "reports/DateField.h"
#include "reports/PrintedReport.h"
#include "reports/ReportData.h"
#include "reports/ReportWidgets.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using store::Value;

namespace {

std::vector<int> rowsPerPage(const reports::PagePlan& plan)
{
    std::vector<int> counts;
    for (const reports::PageSlice& page : plan.pages) counts.push_back(page.rowCount);
    return counts;
}

// 130 sales over three days, the sums easy to tell: 1.00, 2.00 … per piece.
void manySales(const store::DataWorkbook& data)
{
    std::vector<ledgers::Sale> sales;
    for (int i = 1; i <= 130; ++i)
        sales.push_back({QStringLiteral("%1. 03. 2011").arg(1 + i / 50), QStringLiteral("Стока номер %1").arg(i), 1,
                         double(i), i % 2 ? Value(i) : Value(), 0.5});
    ledgers::addSales(data, sales);
}

reports::PrintedReport soldReport(const store::DataWorkbook& data, const QDate& from, const QDate& to)
{
    const reports::PeriodListing report = reports::soldInPeriod(data, from, to);
    return {QStringLiteral("Справка за продадени стоки"), reports::periodText(from, to), reports::soldColumns(),
            report.listing.rows, QStringLiteral("Сума за периода: %1 лв.").arg(report.listing.sum, 0, 'f', 2)};
}

// Collapses runs of blanks, so that columns laid out by pdftotext compare as words.
QString words(const QString& text)
{
    return text.simplified();
}

} // namespace

TEST(PagePlan, RowsFillEachPageAndTheTotalNeedsRoomAfterTheLast)
{
    EXPECT_EQ(rowsPerPage(reports::planPages(0, 40, 50)), std::vector<int>{0});
    EXPECT_EQ(rowsPerPage(reports::planPages(38, 40, 50)), std::vector<int>{38});
    // Exactly full, or one row short of room for the total: the total gets a page of its own.
    EXPECT_EQ(rowsPerPage(reports::planPages(40, 40, 50)), (std::vector<int>{40, 0}));
    EXPECT_EQ(rowsPerPage(reports::planPages(39, 40, 50)), (std::vector<int>{39, 0}));
    EXPECT_EQ(rowsPerPage(reports::planPages(139, 40, 50)), (std::vector<int>{40, 50, 49, 0}));
    EXPECT_EQ(rowsPerPage(reports::planPages(138, 40, 50)), (std::vector<int>{40, 50, 48}));
    const reports::PagePlan plan = reports::planPages(138, 40, 50);
    EXPECT_EQ(plan.pages[1].firstRow, 40);
    EXPECT_EQ(plan.pages[2].firstRow, 90);
}

TEST(ReportPdf, ALongReportRunsOverNumberedPagesWithHeadingsOnEachAndTheSumOnTheLast)
{
    auto book = store::DataWorkbook::createFresh();
    store::DataWorkbook data(*book);
    manySales(data);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("продажби.pdf"));
    ASSERT_TRUE(reports::writePdf(soldReport(data, QDate(2011, 3, 1), QDate(2011, 3, 31)), path));

    const int pages = pdfPages(path);
    ASSERT_GE(pages, 3);
    const QString first = words(pdfText(path, 1, 1));
    EXPECT_TRUE(first.contains(QStringLiteral("Справка за продадени стоки")));
    EXPECT_TRUE(first.contains(QStringLiteral("Период: от 1. 03. 2011 до 31. 03. 2011")));
    EXPECT_TRUE(first.contains(QStringLiteral("Дата Име Брой Цена Фактура")));
    EXPECT_TRUE(first.contains(QStringLiteral("1. 03. 2011 Стока номер 1 1 1,00 0000000001")));
    EXPECT_TRUE(first.contains(QStringLiteral("1. 03. 2011 Стока номер 2 1 2,00 Няма фактура")));
    EXPECT_FALSE(first.contains(QStringLiteral("Сума за периода")));
    int listed = 0;
    for (int p = 1; p <= pages; ++p) {
        const QString page = words(pdfText(path, p, p));
        EXPECT_TRUE(page.contains(QStringLiteral("Страница %1 от %2").arg(p).arg(pages))) << p;
        EXPECT_TRUE(page.contains(QStringLiteral("Дата Име Брой Цена Фактура"))) << p;
        listed += int(page.count(QStringLiteral("Стока номер")));
    }
    EXPECT_EQ(listed, 130) << "every row once";
    const QString last = words(pdfText(path, pages, pages));
    EXPECT_TRUE(last.contains(QStringLiteral("3. 03. 2011 Стока номер 130 1 130,00 Няма фактура")));
    // 1 + 2 + … + 130
    EXPECT_TRUE(last.contains(QStringLiteral("Сума за периода: 8515.00 лв.")));
}

TEST(ReportPdf, ALongNameIsShortenedWithinItsColumnAndAFileThatCannotBeWrittenFails)
{
    const QString name = QStringLiteral("Много дълго име на стока ") + QString(60, QLatin1Char('x'));
    const reports::PrintedReport report{QStringLiteral("Справка за закупени стоки"), QStringLiteral("Период"),
                                        reports::purchasedColumns(),
                                        {{QStringLiteral("1. 03. 2011"), name, QStringLiteral("3"), QStringLiteral("2,50")}},
                                        QStringLiteral("Обща сума: 7,50 лв.")};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("закупени.pdf"));
    ASSERT_TRUE(reports::writePdf(report, path));
    const QString text = words(pdfText(path));
    EXPECT_TRUE(text.contains(QStringLiteral("Много дълго име на стока")));
    EXPECT_FALSE(text.contains(name)) << "the name runs into the next column";
    EXPECT_TRUE(text.contains(QStringLiteral("3 2,50")));
    EXPECT_TRUE(text.contains(QStringLiteral("Обща сума: 7,50 лв.")));

    EXPECT_FALSE(reports::writePdf(report, dir.filePath(QStringLiteral("няма/такава/папка.pdf"))));
}

namespace {

// 3 March: two sales, 2 March: one purchase.
void buttonLedgers(ShopFolder& shop)
{
    ledgers::addSales(shop.data(), {{QStringLiteral("3. 03. 2011"), QStringLiteral("Влакче"), 1, 12.5, Value(7), 10.0},
                                    {QStringLiteral("3. 03. 2011"), QStringLiteral("Кубчета"), 4, 2.25, Value(), 2.0}});
    ledgers::addPurchases(shop.data(), {{QStringLiteral("2. 03. 2011"), QStringLiteral("Топка"), Value("10"), Value("1,00")}});
}

class ReportButtons : public ::testing::Test {
protected:
    // Accepts the file dialog the window opened with `path`.
    static void saveThrough(QWidget& window, const QString& path)
    {
        auto* dialog = window.findChild<QFileDialog*>(QStringLiteral("PdfDialog"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).suffix(), QStringLiteral("pdf"));
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    }

    QTemporaryDir out;
    ReportWindows session{buttonLedgers};
};

} // namespace

TEST_F(ReportButtons, SoldGoodsGoToAPdfAndToThePrinter)
{
    session.mainWindow.Command10->click();
    auto* f = session.window<reports::Form9>(9);
    ASSERT_NE(f, nullptr);

    MessageRecorder messages;
    QTest::mouseClick(f->Command4, Qt::LeftButton);
    QTest::mouseClick(f->Command3, Qt::LeftButton);
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts().value(0).startsWith(QStringLiteral("Няма справка за отпечатване.")));
    EXPECT_EQ(f->findChild<QFileDialog*>(), nullptr);

    reportPeriod(*f, QDate(2011, 3, 1), QDate(2011, 3, 31));
    QTest::mouseClick(f->Command4, Qt::LeftButton);
    const QString pdf = out.filePath(QStringLiteral("март.pdf"));
    saveThrough(*f, pdf);
    const QString text = words(pdfText(pdf));
    EXPECT_TRUE(text.contains(QStringLiteral("Справка за продадени стоки Период: от 1. 03. 2011 до 31. 03. 2011")));
    EXPECT_TRUE(text.contains(QStringLiteral("3. 03. 2011 Влакче 1 12,50 0000000007 3. 03. 2011 Кубчета 4 2,25 Няма фактура")));
    EXPECT_TRUE(text.contains(QStringLiteral("Сума за периода: 21,50 лв. Страница 1 от 1")));
    // The charts stand between the period and the rows.
    EXPECT_TRUE(text.contains(QStringLiteral("Продажби по дни")));
    EXPECT_TRUE(text.contains(QStringLiteral("Първите 10 стоки по сума")));
    EXPECT_LT(text.indexOf(QStringLiteral("Първите 10 стоки")), text.indexOf(QStringLiteral("3. 03. 2011 Влакче")));

    // Printing goes through the preview, from which the shop keeper prints.
    QTest::mouseClick(f->Command3, Qt::LeftButton);
    ASSERT_NE(shownPreview(*f), nullptr);
    EXPECT_EQ(shownPreview(*f)->pageCount(), 1);
    const QString printed = out.filePath(QStringLiteral("печат.pdf"));
    ASSERT_TRUE(printFromPreview(*f, printed));
    EXPECT_TRUE(words(pdfText(printed)).contains(QStringLiteral("Кубчета 4 2,25 Няма фактура")));
    EXPECT_EQ(messages.texts().size(), 2);
}

TEST_F(ReportButtons, PurchasesAndProfitGoToPdfsOfTheirOwn)
{
    auto* bought = session.openBought();
    ASSERT_NE(bought, nullptr);
    reportPeriod(*bought, QDate(2011, 3, 1), QDate(2011, 3, 5));
    QTest::mouseClick(bought->Command3, Qt::LeftButton);
    saveThrough(*bought, out.filePath(QStringLiteral("закупени")));
    const QString boughtText = words(pdfText(out.filePath(QStringLiteral("закупени.pdf"))));
    EXPECT_TRUE(boughtText.contains(QStringLiteral("Справка за закупени стоки Период: от 1. 03. 2011 до 5. 03. 2011")));
    EXPECT_TRUE(boughtText.contains(QStringLiteral("Дата Име Брой Цена 2. 03. 2011 Топка 10 1,00 Обща сума: 10,00 лв.")));

    auto* profit = session.openProfit();
    ASSERT_NE(profit, nullptr);
    reportPeriod(*profit, QDate(2011, 3, 3), QDate(2011, 3, 3));
    QTest::mouseClick(profit->Command3, Qt::LeftButton);
    saveThrough(*profit, out.filePath(QStringLiteral("печалба.pdf")));
    const QString profitText = words(pdfText(out.filePath(QStringLiteral("печалба.pdf"))));
    EXPECT_TRUE(profitText.startsWith(QStringLiteral("Справка за печалба Период: от 3. 03. 2011 до 3. 03. 2011 Печалба по дни")));
    EXPECT_TRUE(profitText.contains(QStringLiteral("Първите 10 стоки по печалба")));
    // The goods of the top ten by name and profit: 12.50 − 10.00 and 4 × (2.25 − 2.00).
    EXPECT_TRUE(profitText.contains(QStringLiteral("Влакче 2,50")));
    EXPECT_TRUE(profitText.contains(QStringLiteral("Кубчета 1,00")));
    EXPECT_TRUE(profitText.endsWith(QStringLiteral("Печалба: 3,50 лв. Страница 1 от 1")));

    MessageRecorder messages;
    QTest::mouseClick(profit->Command3, Qt::LeftButton);
    saveThrough(*profit, out.filePath(QStringLiteral("няма/папка.pdf")));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("не може да бъде записан")));
}
