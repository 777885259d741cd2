// A full ledger moves its oldest rows out to the year workbooks: nothing lost, the reports alike
// before and after, every failure leaving the files and the workbook as they were, the tool.
#include "app/support/QtPrinters.h"
#include "app/support/ShopFolder.h"
#include "reports/Ledgers.h"
#include "tests/support/Oracles.h"
#include "tests/support/Programs.h"

#include "app/Program.h"
#include "archive/Arhiv.h"
#include "ledgers/LedgerError.h"
#include "ledgers/RollOver.h"
#include "ledgers/YearWorkbooks.h"
#include "reports/ReportData.h"
#include "sales/Koshnica.h"
#include "sales/Returns.h"
#include "sales/SalesLedger.h"
#include "store/Application.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Worksheet.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLockFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using store::Value;

namespace {

namespace idx = store::layout::index;
namespace sale = idx::sales;

QString day(int year, int month, int dayOfMonth)
{
    return store::formatShopDate(QDate(year, month, dayOfMonth));
}

// Every cell of a ledger row, as the roll-over must carry it.
std::vector<Value> rowOf(const store::Worksheet& sheet, int row)
{
    std::vector<Value> cells;
    for (int column = sale::kDate; column <= sale::kReturnReason; ++column) cells.push_back(sheet.value(row, column));
    cells.push_back(sheet.value(row, sale::kArticle));
    return cells;
}

QString yearFile(const ShopFolder& shop, int year)
{
    return shop.file(u"Dnevnici/"_s + store::yearWorkbookName(year));
}

} // namespace

TEST(RollOver, AFullSalesLedgerMovesItsOldestYearOnTheNextSaleWithNothingLost)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(u"Играчки"_s);
    const int ball = shop.addGoods(toys, {u"Топка"_s, 5.5, 10});
    const int doll = shop.addGoods(toys, {u"Кукла"_s, 12.0, 3});
    const int year = QDate::currentDate().year();
    const store::DataWorkbook data = shop.data();
    store::Worksheet& index = data.indexSheet();
    // 65,534 rows, up to the sheet's last row but one: 30,000 from two years ago, the rest from
    // last year; every column of a row holds something, a return among them.
    const int rows = store::kMaxRows - 2;
    for (int i = 0; i < rows; ++i) {
        const int row = idx::kFirstListRow + i;
        index.setValue(row, sale::kDate, Value(day(i < 30000 ? year - 2 : year - 1, 1 + i % 12, 1 + i % 28)));
        index.setValue(row, sale::kName, Value(u"Стока %1"_s.arg(i)));
        index.setValue(row, sale::kCount, Value(i % 7 == 0 ? -1 : 1 + i % 3));
        index.setValue(row, sale::kPrice, Value(1 + i % 50));
        index.setValue(row, sale::kInvoice, Value(QString::number(i)));
        index.setValue(row, sale::kPurchasePrice, Value(0.5 + i % 40));
        index.setValue(row, sale::kReturnOf, Value(i % 7 == 0 ? i : 0));
        index.setValue(row, sale::kReturnReason, Value(u"грешка на оператора"_s));
        index.setValue(row, sale::kArticle, Value(u"Играчки"_s));
    }
    data.setCell(idx::kSalesRows, Value(rows));
    shop.save();
    std::vector<std::vector<Value>> before;
    for (int row = idx::kFirstListRow; row <= rows + 1; ++row) before.push_back(rowOf(index, row));

    sales::Koshnica basket;
    basket.add(toys, 0, ball, 1);
    basket.add(toys, 0, doll, 1);
    const auto moved = sales::ProdajbiDobavi(data, basket, false);

    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->rows, 30000);
    EXPECT_EQ(moved->years, std::vector<int>{year - 2});
    const auto reread = store::Workbook::open(shop.file(u"Danni.xls"_s));
    const store::DataWorkbook saved(*reread);
    EXPECT_EQ(saved.counter(idx::kSalesRows), rows - 30000 + 2);
    EXPECT_EQ(saved.counter(idx::kMovedSalesRows), 30000);
    for (int i = 30000; i < rows; ++i)
        ASSERT_EQ(rowOf(saved.indexSheet(), idx::kFirstListRow + i - 30000), before[size_t(i)]) << i;
    EXPECT_EQ(saved.indexSheet().value(rows - 30000 + 2, sale::kName), Value(u"Топка"_s));
    EXPECT_EQ(saved.indexSheet().value(rows - 30000 + 3, sale::kName), Value(u"Кукла"_s));
    EXPECT_TRUE(saved.indexSheet().value(rows - 30000 + 4, sale::kName).isEmpty());

    const auto yearBook = store::Workbook::open(yearFile(shop, year - 2));
    const store::DataWorkbook years(*yearBook);
    EXPECT_EQ(years.counter(idx::kSalesRows), 30000);
    EXPECT_EQ(years.counter(idx::kMovedSalesRows), 0);
    for (int i = 0; i < 30000; ++i) ASSERT_EQ(rowOf(years.indexSheet(), idx::kFirstListRow + i), before[size_t(i)]) << i;

    // The shop as it was before the move is in the archive.
    archive::Arhiv arhiv(shop.file(u"Danni.xls"_s));
    ASSERT_FALSE(arhiv.copies().empty());
    EXPECT_EQ(archive::readContents(arhiv.copies().front().path)->salesRows, rows);
}

// A return on a full ledger moves the oldest rows out first and still names its sale by its line.
TEST(RollOver, AReturnOnAFullLedgerMovesTheOldRowsAndNamesItsSale)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(u"Играчки"_s);
    const int ball = shop.addGoods(toys, {u"Топка"_s, 5.5, 10});
    const int year = QDate::currentDate().year();
    const store::DataWorkbook data = shop.data();
    store::Worksheet& index = data.indexSheet();
    const int rows = store::kMaxRows - 1;
    for (int row = idx::kFirstListRow; row <= rows + 1; ++row) {
        const bool last = row == rows + 1;
        index.setValue(row, sale::kDate, Value(last ? day(year, 1, 1) : day(year - 1, 3, 1)));
        index.setValue(row, sale::kName, Value(last ? u"Топка"_s : u"Мече"_s));
        index.setValue(row, sale::kCount, Value(2));
        index.setValue(row, sale::kPrice, Value(5.5));
        index.setValue(row, sale::kPurchasePrice, Value(3.0));
        index.setValue(row, sale::kArticle, Value(u"Играчки"_s));
    }
    data.setCell(idx::kSalesRows, Value(rows));
    shop.save();

    const sales::ReturnDone done = sales::VarniStoka(data, {{rows + 1, 1}}, sales::kReturnReasons[0]);
    ASSERT_TRUE(done.moved);
    EXPECT_EQ(done.moved->rows, rows - 1);
    EXPECT_EQ(done.lines[0].row, idx::kFirstListRow + 1);
    EXPECT_EQ(index.value(done.lines[0].row, sale::kReturnOf), Value(double(rows)));
    EXPECT_EQ(index.value(done.lines[0].row, sale::kCount), Value(-1));
    EXPECT_EQ(toys.value(ball, store::layout::article::kStock).toNumber(), 11.0);
    EXPECT_TRUE(sales::returnableSales(data).size() == 1 && sales::returnableSales(data)[0].returnable == 1);
}

TEST(RollOver, TheYearWorkbookReadsInAnotherProgram)
{
    ShopFolder shop;
    ledgers::addSales(shop.data(), {{day(2024, 5, 2), u"Мече"_s, 2, 7.25}, {day(2025, 1, 3), u"Топка"_s, 1, 5.5}});
    shop.save();
    ASSERT_TRUE(ledgers::moveYearsBefore(shop.data(), idx::kSalesLedger, 2025));
    const QJsonObject read = testsupport::readWithXlrd(yearFile(shop, 2024));
    ASSERT_TRUE(read[u"error"_s].isNull()) << read[u"error"_s].toString().toStdString();
    const QJsonObject sheet = read[u"sheets"_s].toArray().first().toObject();
    EXPECT_EQ(sheet[u"name"_s].toString(), u"List"_s);
    QStringList texts;
    for (const QJsonValue cell : sheet[u"cells"_s].toArray()) texts << cell.toArray()[3].toVariant().toString();
    EXPECT_TRUE(texts.contains(u"Мече"_s)) << texts.join(u' ').toStdString();
    EXPECT_TRUE(texts.contains(day(2024, 5, 2)));
    EXPECT_FALSE(texts.contains(u"Топка"_s));
}

TEST(RollOver, TodaysYearAloneFillingTheLedgerMovesItsOldestMonthsAndNeverTheCurrentOne)
{
    ShopFolder shop;
    const store::DataWorkbook data = shop.data();
    const QDate today(2026, 3, 20);
    const auto add = [&](int month, int count) {
        std::vector<ledgers::Sale> sales;
        for (int i = 0; i < count; ++i) sales.push_back({day(2026, month, 1 + i), u"%1-%2"_s.arg(month).arg(i), 1, 2.0});
        ledgers::addSales(data, sales);
    };
    // A ledger of ten rows (a sheet of eleven), full.
    add(1, 4);
    add(2, 4);
    add(3, 2);
    shop.save();
    const auto january = ledgers::makeRoom(data, idx::kSalesLedger, 1, today, 11);
    ASSERT_TRUE(january);
    EXPECT_EQ(january->rows, 4);
    EXPECT_EQ(january->before, QDate(2026, 2, 1));
    EXPECT_EQ(data.counter(idx::kSalesRows), 6);
    EXPECT_EQ(data.indexSheet().value(2, sale::kName), Value(u"2-0"_s));

    add(3, 4);
    const auto february = ledgers::makeRoom(data, idx::kSalesLedger, 1, today, 11);
    ASSERT_TRUE(february);
    EXPECT_EQ(february->rows, 4);
    EXPECT_EQ(data.counter(idx::kMovedSalesRows), 8);
    // The year workbook holds both months in their order: lines 1 to 8.
    const auto year = store::Workbook::open(yearFile(shop, 2026));
    const store::DataWorkbook moved(*year);
    EXPECT_EQ(moved.counter(idx::kSalesRows), 8);
    EXPECT_EQ(moved.counter(idx::kMovedSalesRows), 0);
    EXPECT_EQ(moved.indexSheet().value(5, sale::kName), Value(u"1-3"_s));
    EXPECT_EQ(moved.indexSheet().value(6, sale::kName), Value(u"2-0"_s));
    EXPECT_EQ(moved.indexSheet().value(9, sale::kName), Value(u"2-3"_s));

    // March alone fills it: nothing moves, nothing is written.
    add(3, 4);
    const QByteArray onDisk = shop.bytes(u"Danni.xls"_s);
    EXPECT_FALSE(ledgers::makeRoom(data, idx::kSalesLedger, 1, today, 11));
    EXPECT_EQ(data.counter(idx::kSalesRows), 10);
    EXPECT_EQ(shop.bytes(u"Danni.xls"_s), onDisk);
}

namespace {

// What the three reports and the sold report's date list give over a set of periods.
using Listed = std::tuple<reports::Outcome, std::vector<QStringList>, double>;

struct Figures {
    QStringList dates;
    std::vector<Listed> listings;
    std::vector<std::pair<reports::Outcome, double>> profits;
    bool operator==(const Figures&) const = default;
};

Listed listed(reports::Outcome outcome, const reports::Listing& listing)
{
    return {outcome, listing.rows, listing.sum};
}

Figures figures(const store::DataWorkbook& data)
{
    // Wholly before, in the moved years, across the move, after it, in a gap, wholly after.
    const std::vector<std::pair<QDate, QDate>> periods{
        {{2020, 1, 1}, {2022, 12, 31}}, {{2023, 1, 1}, {2023, 12, 31}}, {{2023, 6, 1}, {2025, 6, 30}},
        {{2025, 1, 1}, {2025, 12, 31}}, {{2024, 7, 1}, {2024, 8, 1}},   {{2030, 1, 1}, {2030, 12, 31}},
        {{2000, 1, 1}, {2030, 12, 31}}};
    Figures f;
    f.dates = reports::saleDates(data);
    for (const auto& [from, to] : periods) {
        const auto sold = reports::soldInPeriod(data, from, to);
        const auto bought = reports::purchasedInPeriod(data, from, to);
        f.listings.push_back(listed(sold.outcome, sold.listing));
        f.listings.push_back(listed(bought.outcome, bought.listing));
        const auto profit = reports::profitInPeriod(data, from, to);
        f.profits.emplace_back(profit.outcome, profit.profit);
    }
    const auto between = [&](const QString& from, const QString& to) {
        f.listings.push_back(listed(reports::Outcome::Done, reports::soldBetweenEntries(data, from, to)));
    };
    between(f.dates.first(), f.dates.last());
    between(day(2024, 3, 5), day(2025, 2, 1));
    return f;
}

void PrintTo(const Figures& f, std::ostream* os)
{
    *os << f.dates.join(u", "_s).toStdString();
    for (const auto& [outcome, rows, sum] : f.listings) *os << " | " << int(outcome) << ':' << rows.size() << ':' << sum;
    for (const auto& [outcome, profit] : f.profits) *os << " | " << int(outcome) << ':' << profit;
}

// Sales and purchases of 2023, 2024 and 2025, in a leva shop or in a euro shop whose first rows
// are in leva.
void fillLedgers(const store::DataWorkbook& data)
{
    ledgers::addSales(data, {{day(2023, 2, 1), u"Топка"_s, 2, 5.5, {}, 3.0},
                             {day(2023, 11, 9), u"Кукла"_s, 1, 12.0, Value(u"7"_s), 8.0},
                             {day(2023, 11, 9), u"Мече"_s, 3, 7.25, {}, 4.0},
                             {day(2024, 3, 5), u"Топка"_s, 1, 5.5, {}, 3.0},
                             {day(2024, 3, 5), u"Топка"_s, -1, 5.5, {}, 3.0},
                             {day(2024, 12, 30), u"Кола"_s, 4, 9.99, Value(u"8"_s), 6.1},
                             {day(2025, 2, 1), u"Кукла"_s, 2, 6.14, {}, 4.09},
                             {day(2025, 6, 30), u"Приказки"_s, 1, 2.25, Value(u"9"_s), 1.28}});
    ledgers::addPurchases(data, {{day(2023, 1, 10), u"Топка"_s, 10, 3.0},
                                 {day(2024, 1, 10), u"Кола"_s, 5, 6.1},
                                 {day(2025, 1, 10), u"Приказки"_s, 5, 1.28}});
}

} // namespace

TEST(RollOver, ReportsOverAnyPeriodGiveTheSameFiguresAfterTheMove)
{
    for (const bool euro : {false, true}) {
        ShopFolder shop;
        const store::DataWorkbook data = shop.data();
        fillLedgers(data);
        if (euro) {
            // Six sales and two purchases were made in leva: the leva rows reach past the move.
            data.setCell(idx::kCurrency, Value(idx::kEuroCode));
            data.setCell(idx::kLevaSalesRows, Value(7));
            data.setCell(idx::kLevaPurchaseRows, Value(1));
        }
        shop.save();
        const Figures before = figures(data);
        ASSERT_TRUE(ledgers::moveYearsBefore(data, idx::kSalesLedger, 2025));
        ASSERT_TRUE(ledgers::moveYearsBefore(data, idx::kPurchaseLedger, 2025));
        EXPECT_EQ(data.counter(idx::kSalesRows), 2) << euro;
        EXPECT_EQ(data.counter(idx::kPurchaseRows), 1) << euro;
        EXPECT_EQ(figures(data), before) << euro;
        if (euro) {
            EXPECT_EQ(data.counter(idx::kLevaSalesRows), 1);
            EXPECT_EQ(data.counter(idx::kLevaPurchaseRows), 0);
        }
    }
}

namespace {

// A shop of three years' sales opened by a program whose saves of Danni.xls run `hook` first.
struct OpenedShop {
    explicit OpenedShop(store::Application::SaveHook hook = {})
    {
        fillLedgers(shop.data());
        shop.save();
        application.setSaveHook(std::move(hook));
        application.Workbooks().Open(shop.file(u"Danni.xls"_s));
    }
    store::DataWorkbook data() { return store::DataWorkbook(*application.ActiveWorkbook()); }

    ShopFolder shop;
    store::Application application;
};

void expectNothingMoved(OpenedShop& s)
{
    const QByteArray onDisk = s.shop.bytes(u"Danni.xls"_s);
    const std::vector<Value> first = rowOf(s.data().indexSheet(), 2);
    const std::vector<Value> last = rowOf(s.data().indexSheet(), 9);
    try {
        ledgers::moveYearsBefore(s.data(), idx::kSalesLedger, 2025);
        ADD_FAILURE() << "a failed move was taken for done";
    } catch (const store::Error& e) {
        EXPECT_TRUE(e.message().startsWith(u"Най-старите редове на дневника на продажбите не са преместени"_s))
            << e.message().toStdString();
    }
    EXPECT_EQ(s.shop.bytes(u"Danni.xls"_s), onDisk);
    EXPECT_FALSE(QFile::exists(yearFile(s.shop, 2023)));
    EXPECT_EQ(s.data().counter(idx::kSalesRows), 8);
    EXPECT_EQ(s.data().cell(idx::kMovedSalesRows), Value());
    EXPECT_EQ(rowOf(s.data().indexSheet(), 2), first);
    EXPECT_EQ(rowOf(s.data().indexSheet(), 9), last);
}

} // namespace

TEST(RollOver, AFailedSaveOfEitherWorkbookLeavesBothAsTheyWere)
{
    {
        OpenedShop s([](const store::Workbook&) { throw store::Error(u"Дискът е пълен."_s); });
        expectNothingMoved(s);
    }
#ifndef _WIN32   // on Windows QFile::link makes a shortcut file, which no save goes through
    {
        // 2023's workbook is written, 2024's cannot be: the link leads into a folder that is not there.
        OpenedShop s;
        ASSERT_TRUE(QDir(s.shop.path()).mkdir(u"Dnevnici"_s));
        ASSERT_TRUE(QFile::link(s.shop.file(u"nowhere/Danni-2024.xls"_s), yearFile(s.shop, 2024)));
        expectNothingMoved(s);
    }
#endif
}

TEST(RollOver, TheWorkbookToolMovesTheOldYearsAndNotWhileTheProgramRuns)
{
    ShopFolder shop;
    const int year = QDate::currentDate().year();
    ledgers::addSales(shop.data(), {{day(year - 2, 1, 2), u"Топка"_s, 1, 5.5}, {day(year - 1, 1, 2), u"Кукла"_s, 1, 12.0},
                                    {day(year, 1, 2), u"Мече"_s, 1, 7.25}});
    ledgers::addPurchases(shop.data(), {{day(year - 1, 1, 1), u"Топка"_s, 10, 3.0}});
    shop.save();
    const auto tool = [&](QString* out = nullptr) {
        const testsupport::RunResult run = testsupport::runWorkbookTool({u"rollover"_s, shop.path()});
        if (out) *out = QString::fromUtf8(run.out + run.err);
        return run.exitCode;
    };
    const QByteArray before = shop.bytes(u"Danni.xls"_s);
    {
        QLockFile running(shop.file(app::Program::lockFileName()));
        ASSERT_TRUE(running.tryLock(0));
        EXPECT_EQ(tool(), 1);
        EXPECT_EQ(shop.bytes(u"Danni.xls"_s), before);
    }
    QString out;
    EXPECT_EQ(tool(&out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(store::yearWorkbookName(year - 2))) << out.toStdString();
    const auto danni = store::Workbook::open(shop.file(u"Danni.xls"_s));
    const store::DataWorkbook data(*danni);
    EXPECT_EQ(data.counter(idx::kSalesRows), 1);
    EXPECT_EQ(data.counter(idx::kMovedSalesRows), 2);
    EXPECT_EQ(data.counter(idx::kPurchaseRows), 0);
    EXPECT_EQ(data.counter(idx::kMovedPurchaseRows), 1);
    EXPECT_TRUE(QFile::exists(yearFile(shop, year - 1)));
    EXPECT_EQ(tool(&out), 0);
    EXPECT_TRUE(out.contains(u"нищо не е преместено"_s)) << out.toStdString();
}
