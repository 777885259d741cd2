// "За поръчка" on a small shop against figures worked out by hand: the minimum, the rates of 30
// and 90 days, the sales counted by article where the ledger names it, days left, the proposal,
// the order of the lines, and the workbook for the supplier read back.
#include "app/support/ShopFolder.h"
#include "reports/Ledgers.h"
#include "reports/ReportTestSupport.h"
#include "reports/ReportWindows.h"

#include "app/Form1.h"
#include "reports/Form17.h"
#include "reports/OrderList.h"
#include "store/Worksheet.h"

#include <QAction>
#include <QFileDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

namespace idx = store::layout::index;

const QDate kToday(2026, 12, 7);

QString day(int d, int m) { return store::formatShopDate(QDate(2026, m, d)); }

// Играчки: Топка 10 (minimum 12), Кукла 3, Мече 20, Кола 2 (minimum 0); Книжки: Кукла 50, Буквар 1
// (minimum 1). The ledger's article column names the article on some rows and not on others.
struct OrderShop {
    OrderShop()
    {
        store::Worksheet& toys = folder.addArticle(QStringLiteral("Играчки"));
        folder.addGoods(toys, {QStringLiteral("Топка"), 1.0, 10, {}, {}, {}, QStringLiteral("12")});
        folder.addGoods(toys, {QStringLiteral("Кукла"), 1.0, 3});
        folder.addGoods(toys, {QStringLiteral("Мече"), 1.0, 20});
        folder.addGoods(toys, {QStringLiteral("Кола"), 1.0, 2, {}, {}, {}, QStringLiteral("0")});
        store::Worksheet& books = folder.addArticle(QStringLiteral("Книжки"));
        folder.addGoods(books, {QStringLiteral("Кукла"), 1.0, 50});
        folder.addGoods(books, {QStringLiteral("Буквар"), 1.0, 1, {}, {}, {}, QStringLiteral("1")});
        const std::vector<std::pair<ledgers::Sale, QString>> rows{
            {{day(1, 1), QStringLiteral("Кукла"), 100, 1.0}, QStringLiteral("Играчки")},   // over 90 days ago
            {{day(1, 10), QStringLiteral("Топка"), 3, 1.0}, {}},
            {{day(2, 10), QStringLiteral("Мече"), 45, 1.0}, QStringLiteral("Играчки")},
            {{day(9, 9), QStringLiteral("Буквар"), 6, 1.0}, {}},                           // the 90th day back
            {{day(20, 11), QStringLiteral("Топка"), 2, 1.0}, QStringLiteral("Играчки")},
            {{day(1, 12), QStringLiteral("Топка"), 4, 1.0}, {}},
            {{day(1, 12), QStringLiteral("Кукла"), 9, 1.0}, QStringLiteral("Играчки")},
            {{day(2, 12), QStringLiteral("Кукла"), 9, 1.0}, QStringLiteral("Книжки")},
            {{day(5, 12), QStringLiteral("Топка"), -1, 1.0}, {}},                          // a return
            {{day(8, 12), QStringLiteral("Кукла"), 50, 1.0}, QStringLiteral("Играчки")},   // after today
        };
        for (size_t i = 0; i < rows.size(); ++i) {
            ledgers::addSales(folder.data(), {rows[i].first});
            folder.data().indexSheet().setValue(int(i) + idx::kFirstListRow, idx::sales::kArticle,
                                                store::Value(rows[i].second));
        }
    }
    ShopFolder folder;
};

} // namespace

TEST(OrderList, MinimumFirstThenDaysLeftWithRatesAndProposals)
{
    OrderShop shop;
    const std::vector<reports::OrderLine> lines = reports::orderList(shop.folder.data(), kToday);
    std::vector<QStringList> rows;
    for (const reports::OrderLine& line : lines) rows.push_back(reports::orderRow(line));
    // Буквар: 6 in 90 days, none in 30: 1/15 a day, 15 days; covers 30 days with 2, has 1.
    // Топка: 4 + 2 − 1 = 5 in 30 days, 8 in 90: 1/6 a day, 60 days; up to its minimum 12 needs 2.
    // Кукла of Играчки: 9 in 30 days (not the 9 of Книжки): 0.3 a day, 10 days; 9 − 3 = 6.
    // Мече runs 40 days, Кукла of Книжки 166; Кола sold nothing and stands above its minimum 0.
    const std::vector<QStringList> expected{
        {QStringLiteral("Книжки"), QStringLiteral("Буквар"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"),
         QStringLiteral("6"), QStringLiteral("15"), QStringLiteral("1")},
        {QStringLiteral("Играчки"), QStringLiteral("Топка"), QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("5"),
         QStringLiteral("8"), QStringLiteral("60"), QStringLiteral("2")},
        {QStringLiteral("Играчки"), QStringLiteral("Кукла"), QStringLiteral("3"), QString(), QStringLiteral("9"),
         QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("6")},
    };
    EXPECT_EQ(rows, expected);

    // The workbook for the supplier: the headings, then the lines with their numbers as numbers.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("order.xls"));
    reports::orderWorkbook(lines)->SaveAs(path);
    const auto read = store::Workbook::open(path);
    const store::Worksheet& sheet = read->sheets(1);
    EXPECT_EQ(sheet.Name(), QStringLiteral("За поръчка"));
    EXPECT_EQ(sheet.shownText(1, 8), QStringLiteral("За поръчка"));
    EXPECT_EQ(sheet.shownText(3, 2), QStringLiteral("Топка"));
    EXPECT_EQ(sheet.value(3, 8), store::Value(2));
    EXPECT_EQ(sheet.value(4, 4), store::Value());
    EXPECT_EQ(sheet.lastRow(), 4);
}

// The window from the menu: today's list in List1, and the workbook saved where the dialog says.
TEST(OrderList, TheWindowListsTodaysGoodsAndSavesThemAsAWorkbook)
{
    ReportWindows session([](ShopFolder& shop) {
        store::Worksheet& toys = shop.addArticle(QStringLiteral("Играчки"));
        shop.addGoods(toys, {QStringLiteral("Топка"), 1.0, 2, {}, {}, {}, QStringLiteral("3")});
        shop.addGoods(toys, {QStringLiteral("Кукла"), 1.0, 9, {}, {}, {}, QStringLiteral("3")});
    });
    session.mainWindow.zaporachka->trigger();
    auto* window = session.window<reports::Form17>(17);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->List1->model()->rowCount(), 1);
    EXPECT_EQ(window->List1->model()->index(0, 1).data().toString(), QStringLiteral("Топка"));
    EXPECT_EQ(window->List1->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("За поръчка"));

    QTemporaryDir out;
    window->Command3->click();
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("XlsDialog"));
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(out.filePath(QStringLiteral("доставчик.xls")));
    QMetaObject::invokeMethod(dialog, "accept");
    const auto saved = store::Workbook::open(out.filePath(QStringLiteral("доставчик.xls")));
    EXPECT_EQ(saved->sheets(1).shownText(2, 2), QStringLiteral("Топка"));
    EXPECT_EQ(saved->sheets(1).value(2, 8), store::Value(1));

    // On paper across the page all eight columns fit, headings broken between words, none cut.
    window->Command2->click();
    auto* pdfDialog = window->findChild<QFileDialog*>(QStringLiteral("PdfDialog"));
    ASSERT_NE(pdfDialog, nullptr);
    pdfDialog->selectFile(out.filePath(QStringLiteral("поръчка.pdf")));
    QMetaObject::invokeMethod(pdfDialog, "accept");
    const QString text = pdfText(out.filePath(QStringLiteral("поръчка.pdf"))).simplified();
    EXPECT_FALSE(text.contains(u'…')) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Наличност Минимум Продадени 30 Продадени 90 Дни до края За поръчка "
                                             "дни дни Играчки Топка 2 3 0 0 1"))) << qPrintable(text);
}
