#include "DemoFolder.h"

#include "tests/support/Oracles.h"
#include "tools/DemoShop.h"
#include "tools/ToolError.h"

#include "sales/CompanyId.h"
#include "sales/InvoiceRegister.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"
#include "tests/support/Programs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <map>

using namespace demotest;
namespace idx = store::layout::index;
namespace art = store::layout::article;

namespace {

std::unique_ptr<store::Workbook> openDemoData()
{
    return store::Workbook::open(demoShopFile(QStringLiteral("Danni.xls")));
}

// A picture the showcase can stretch: a readable JPEG of about 300 × 300 with a drawing on it.
void expectPicture(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(300, 300));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 10)
        for (int x = 0; x < image.width(); x += 10) colours.insert(image.pixel(x, y) & 0xF0F0F0);
    EXPECT_GT(colours.size(), 8) << "the picture is nearly blank";
}

QByteArray fileDigest(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1) : QByteArray();
}

// The rows of a ledger: from row 2 down to the first row with an empty first column.
int ledgerRows(const store::Worksheet& index, int firstColumn)
{
    int rows = 0;
    while (!index.value(idx::kFirstListRow + rows, firstColumn).isEmpty()) ++rows;
    return rows;
}

struct GoodsRecord {
    double price, purchasePrice, stock, sold;
};

std::map<QString, GoodsRecord> goodsByName(const store::Workbook& workbook)
{
    std::map<QString, GoodsRecord> goods;
    const store::DataWorkbook data(const_cast<store::Workbook&>(workbook));
    for (const store::Worksheet* sheet : articleSheets(workbook))
        for (int row = 2; row < data.goodsCount(*sheet) + 2; ++row)
            goods[sheet->value(row, art::kName).toText()] = {
                numberAt(*sheet, row, art::kPrice), numberAt(*sheet, row, art::kPurchasePrice),
                numberAt(*sheet, row, art::kStock), numberAt(*sheet, row, art::kSold)};
    return goods;
}

} // namespace

TEST(DemoShop, FolderHoldsWorkbooksGuideAndAPictureForEveryGoods)
{
    for (const char* file : {"Danni.xls", "Faktura.xls", "Help.doc"})
        EXPECT_GT(QFileInfo(demoShopFile(QString::fromLatin1(file))).size(), 0) << file;
    expectPicture(demoShopFile(QStringLiteral("Kartini/BezKartina.JPG")));
    expectPicture(demoShopFile(QStringLiteral("Kartini/BezArtikul.JPG")));

    const auto workbook = openDemoData();
    const store::DataWorkbook data(*workbook);
    int withoutPicture = 0, pictures = 0, emptyArticles = 0, pagedArticles = 0;
    QSet<QByteArray> distinct;
    for (const store::Worksheet* sheet : articleSheets(*workbook)) {
        const QString folder = QStringLiteral("Kartini/") + sheet->Name();
        EXPECT_TRUE(QFileInfo(demoShopFile(folder)).isDir()) << folder.toStdString();
        const int goods = data.goodsCount(*sheet);
        emptyArticles += goods == 0;
        pagedArticles += goods > 6;
        for (int row = 2; row < goods + 2; ++row) {
            const QString picture = sheet->value(row, art::kPicture).toText();
            if (picture.isEmpty()) {
                ++withoutPicture;
                continue;
            }
            EXPECT_FALSE(picture.contains(QLatin1Char('/'))) << "J holds a file name only";
            expectPicture(demoShopFile(folder + QLatin1Char('/') + picture));
            distinct.insert(fileDigest(demoShopFile(folder + QLatin1Char('/') + picture)));
            ++pictures;
        }
    }
    EXPECT_GE(articleSheets(*workbook).size(), 4u);
    EXPECT_EQ(emptyArticles, 1);
    EXPECT_GE(pagedArticles, 1);
    EXPECT_EQ(withoutPicture, 1);
    EXPECT_EQ(distinct.size(), pictures) << "two goods share one drawing";
}

TEST(DemoShop, DataWorkbookKeepsTheLayout)
{
    const auto workbook = openDemoData();
    const store::DataWorkbook data(*workbook);
    const store::Worksheet& index = data.indexSheet();
    EXPECT_EQ(data.counter(idx::kSheetCount), workbook->sheetCount());
    EXPECT_EQ(data.cell(idx::kAdminName).toText(), store::layout::kFreshAdminName);
    EXPECT_EQ(data.cell(idx::kAdminPassword).toText(), store::layout::kFreshAdminPassword);

    // Each article added its name at row (D1 before the addition) + 2: rows 3 to D1 + 1.
    QStringList indexNames;
    for (int sheetsBefore = 1; sheetsBefore < workbook->sheetCount(); ++sheetsBefore)
        indexNames << index.value(sheetsBefore + 2, idx::kArticleNameColumn).toText();
    QStringList sheetNames;
    int promotions = 0, outOfStock = 0, inStock = 0;
    for (const store::Worksheet* sheet : articleSheets(*workbook)) {
        SCOPED_TRACE(sheet->Name().toStdString());
        sheetNames << sheet->Name();
        const auto* count = sheet->formulaAt(art::kCountFormulaCell.row, art::kCountFormulaCell.col);
        ASSERT_NE(count, nullptr) << "T1 holds no formula";
        const int goods = data.goodsCount(*sheet);
        QSet<QString> names;
        for (int row = 2; row < goods + 2; ++row) {
            const QString name = sheet->value(row, art::kName).toText();
            EXPECT_FALSE(name.isEmpty()) << "gap in the goods names at row " << row;
            names.insert(name.toLower());
            const double purchase = numberAt(*sheet, row, art::kPurchasePrice);
            const double price = numberAt(*sheet, row, art::kPrice);
            const double stock = numberAt(*sheet, row, art::kStock);
            EXPECT_NEAR(price, purchase + purchase * numberAt(*sheet, row, art::kMarkup) / 100, 1e-9);
            EXPECT_NEAR(numberAt(*sheet, row, art::kStockValue), price * stock, 1e-9);
            EXPECT_EQ(sheet->value(row, art::kAvailability).toText(), stock > 0 ? art::kAvailable : art::kNotAvailable);
            const double promotion = numberAt(*sheet, row, art::kPromotion);
            EXPECT_TRUE(promotion == 0 || promotion == 1);
            promotions += promotion == 1;
            (stock > 0 ? inStock : outOfStock) += 1;
        }
        EXPECT_TRUE(sheet->value(goods + 2, art::kName).isEmpty()) << "T1 counts fewer goods than column B holds";
        EXPECT_EQ(names.size(), goods) << "goods names repeat";
    }
    indexNames.sort();
    sheetNames.sort();
    EXPECT_EQ(indexNames.join(QLatin1Char(',')).toStdString(), sheetNames.join(QLatin1Char(',')).toStdString());
    EXPECT_GT(promotions, 0);
    EXPECT_GT(outOfStock, 0);
    EXPECT_GT(inStock, promotions);
}

TEST(DemoShop, LedgersAgreeWithTheGoodsAndWithTheirCounters)
{
    const auto workbook = openDemoData();
    const store::DataWorkbook data(*workbook);
    const store::Worksheet& index = data.indexSheet();
    const int salesRows = ledgerRows(index, idx::sales::kDate);
    const int purchaseRows = ledgerRows(index, idx::purchases::kDate);
    EXPECT_EQ(data.counter(idx::kSalesRows), salesRows);
    EXPECT_EQ(data.counter(idx::kPurchaseRows), purchaseRows);
    auto goods = goodsByName(*workbook);
    EXPECT_EQ(purchaseRows, int(goods.size())) << "one delivery per goods record";

    const QDate today = QDate::currentDate();
    const int lastInvoice = data.counter(idx::kLastInvoice);
    EXPECT_GT(lastInvoice, 0);
    int highestInvoice = 0;
    QDate previous;
    QSet<int> months;
    std::map<QString, double> sold;
    for (int row = idx::kFirstListRow; row < idx::kFirstListRow + salesRows; ++row) {
        SCOPED_TRACE("sales row " + std::to_string(row));
        const auto date = store::parseShopDate(index.value(row, idx::sales::kDate).toText());
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(index.value(row, idx::sales::kDate).toText(), store::formatShopDate(*date));
        EXPECT_TRUE(!previous.isValid() || previous <= *date) << "the ledger goes back in time";
        EXPECT_TRUE(*date <= today && *date >= today.addMonths(-6));
        previous = *date;
        months.insert(date->year() * 12 + date->month());

        const QString name = index.value(row, idx::sales::kName).toText();
        ASSERT_TRUE(goods.count(name)) << name.toStdString();
        EXPECT_NEAR(numberAt(index, row, idx::sales::kPrice), goods[name].price, 1e-9);
        EXPECT_NEAR(numberAt(index, row, idx::sales::kPurchasePrice), goods[name].purchasePrice, 1e-9);
        sold[name] += numberAt(index, row, idx::sales::kCount);

        const QString invoice = index.value(row, idx::sales::kInvoice).toText();
        if (invoice.isEmpty()) continue;
        EXPECT_EQ(invoice.size(), 10);
        bool digits = false;
        const int number = invoice.toInt(&digits);
        EXPECT_TRUE(digits) << invoice.toStdString();
        EXPECT_GE(number, highestInvoice) << "invoice numbers go back";
        EXPECT_LE(number, lastInvoice);
        highestInvoice = std::max(highestInvoice, number);
    }
    EXPECT_EQ(highestInvoice, lastInvoice);
    EXPECT_GE(months.size(), 3) << "sales should spread over several months";

    // Every invoice is kept as the program keeps one: numbered in order, its PDF in its place.
    const sales::InvoiceRegister kept(demoShopFolder());
    const auto issued = kept.documents();
    ASSERT_EQ(int(issued.size()), lastInvoice);
    for (int i = 0; i < lastInvoice; ++i) {
        EXPECT_EQ(issued[size_t(i)].number, QString::number(i + 1).rightJustified(10, u'0'));
        EXPECT_TRUE(sales::validCompanyId(issued[size_t(i)].recipient.companyId));
        EXPECT_TRUE(QFileInfo::exists(kept.pdfPath(issued[size_t(i)])));
    }

    for (int row = idx::kFirstListRow; row < idx::kFirstListRow + purchaseRows; ++row) {
        SCOPED_TRACE("purchase row " + std::to_string(row));
        ASSERT_TRUE(store::parseShopDate(index.value(row, idx::purchases::kDate).toText()).has_value());
        const QString name = index.value(row, idx::purchases::kName).toText();
        ASSERT_TRUE(goods.count(name)) << name.toStdString();
        const GoodsRecord& record = goods[name];
        EXPECT_EQ(record.sold, sold[name]) << "column U disagrees with the sales of " << name.toStdString();
        EXPECT_EQ(numberAt(index, row, idx::purchases::kCount) - sold[name], record.stock) << name.toStdString();
        EXPECT_NEAR(numberAt(index, row, idx::purchases::kPrice), record.purchasePrice, 1e-9);
    }
}

TEST(DemoShop, LibreOfficeReadsTheDataWorkbookAsWeDo)
{
    QTemporaryDir out;
    const QString failure = testsupport::convertWithLibreOffice({demoShopFile(QStringLiteral("Danni.xls"))},
                                                                testsupport::csvPerSheetFilter(), out.path());
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    const auto workbook = openDemoData();
    const store::DataWorkbook data(*workbook);
    const auto csv = [&](const QString& sheet) { return testsupport::readCsv(QDir(out.path()).filePath(QStringLiteral("Danni-%1.csv").arg(sheet))); };

    const auto list = csv(store::layout::kIndexSheet);
    ASSERT_FALSE(list.empty());
    ASSERT_GT(list[0].size(), idx::kPurchaseRows.col - 1);
    EXPECT_EQ(list[0][idx::kSheetCount.col - 1].toInt(), workbook->sheetCount());
    EXPECT_EQ(list[0][idx::kSalesRows.col - 1].toInt(), data.counter(idx::kSalesRows));
    EXPECT_EQ(list[0][idx::kPurchaseRows.col - 1].toInt(), data.counter(idx::kPurchaseRows));
    for (const store::Worksheet* sheet : articleSheets(*workbook)) {
        SCOPED_TRACE(sheet->Name().toStdString());
        const auto rows = csv(sheet->Name());
        ASSERT_FALSE(rows.empty());
        ASSERT_GT(rows[0].size(), art::kCountFormulaCell.col - 1);
        // LibreOffice computes the count formula itself when it loads the file.
        const int goods = data.goodsCount(*sheet);
        EXPECT_EQ(rows[0][art::kCountFormulaCell.col - 1].toInt(), goods);
        for (int row = 2; row < goods + 2 && row <= int(rows.size()); ++row)
            EXPECT_EQ(rows[size_t(row - 1)].value(art::kName - 1), sheet->value(row, art::kName).toText());
    }
}

namespace {

testsupport::RunResult runDemoCommand(const QString& dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));   // the tool must find its own way without a display
    env.remove(QStringLiteral("DISPLAY"));
    return testsupport::runWorkbookTool({QStringLiteral("demo"), dir}, env);
}

} // namespace

TEST(DemoShopCommand, LaysOutANewFolderAndNeverOverwritesAShop)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("нов/магазин"));
    testsupport::RunResult run = runDemoCommand(fresh);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(fresh + QStringLiteral("/Danni.xls")));
    EXPECT_TRUE(QFileInfo::exists(fresh + QStringLiteral("/Kartini/BezKartina.JPG")));

    const QString shop = dir.filePath(QStringLiteral("shop"));
    ASSERT_TRUE(QDir().mkpath(shop));
    const QString data = shop + QStringLiteral("/Danni.xls");
    store::DataWorkbook::createFresh()->SaveAs(data);
    const QByteArray before = fileDigest(data);
    run = runDemoCommand(shop);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    const QByteArray& err = run.err;
    EXPECT_TRUE(QString::fromUtf8(err).contains(
        tools::errorMessage(tools::ToolError::ShopAlreadyThere, {QDir::toNativeSeparators(shop), QStringLiteral("Danni.xls")})))
        << err.toStdString();
    EXPECT_EQ(fileDigest(data), before);
    EXPECT_EQ(errorKind<tools::ToolError>([&] { layOutDemoShop(shop); }), tools::ToolError::ShopAlreadyThere);
    EXPECT_EQ(fileDigest(data), before);
    EXPECT_EQ(QDir(shop).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("Danni.xls")})
        << "a refused folder gets nothing new";
}
