// A leva shop going over to the euro in one step: its prices, the ledgers' leva rows, the archive
// copy that undoes it, the invoice form, and every refusal leaving the shop as it was.
#include "app/support/ShopFolder.h"
#include "tests/support/Oracles.h"

#include "app/Program.h"
#include "archive/Arhiv.h"
#include "currency/CurrencyError.h"
#include "currency/EuroChangeover.h"
#include "store/Application.h"
#include "store/StoreError.h"
#include "store/Worksheet.h"
#include "tools/InvoiceForm.h"
#include "tests/support/Programs.h"

#include <QJsonArray>
#include <QLockFile>
#include <gtest/gtest.h>

using store::Currency;
using store::Value;

namespace {

namespace col = store::layout::article;
namespace idx = store::layout::index;

// A leva shop whose prices hold every case the conversion meets. Each name's record is its row.
class LevaShop : public ::testing::Test {
protected:
    LevaShop()
    {
        store::Worksheet& toys = shop.addArticle(QStringLiteral("Играчки"));
        // Bought at 10.00 with 25 % on top: sells at 12.50; 4 in stock worth 50.00.
        doll = shop.addGoods(toys, {QStringLiteral("Кукла"), 10.0, 4});
        toys.setValue(doll, col::kMarkup, Value(QStringLiteral("25")));
        toys.setValue(doll, col::kPrice, Value(12.5));
        toys.setValue(doll, col::kStockValue, Value(50.0));
        computed = shop.addGoods(toys, {QStringLiteral("Сметната"), 1.2100000000000002, 3});
        tiny = shop.addGoods(toys, {QStringLiteral("Мъниста"), 0.0097, 1});
        typed = shop.addGoods(toys, {QStringLiteral("Въведена"), 1.0, 1});
        toys.setValue(typed, col::kPrice, Value(QStringLiteral("12,50")));   // numeric text, as another program may leave it
        unpriced = shop.addGoods(toys, {QStringLiteral("Без цена"), 1.0, 1});
        toys.setValue(unpriced, col::kPrice, Value());
        haggled = shop.addGoods(toys, {QStringLiteral("По договаряне"), Value(QStringLiteral("по договаряне")), 1});
        store::Worksheet& books = shop.addArticle(QStringLiteral("Книжки"));
        shop.addGoods(books, {QStringLiteral("Буквар"), 99.99, 2});
        shop.save();
    }

    store::Worksheet& toys(store::Workbook& workbook) { return workbook.sheets(QStringLiteral("Играчки")); }

    // Opens Danni.xls in an application whose saves run hook first.
    store::Workbook& open(store::Application::SaveHook hook = {})
    {
        application.setSaveHook(std::move(hook));
        application.Workbooks().Open(shop.file(QStringLiteral("Danni.xls")));
        return *application.ActiveWorkbook();
    }

    currency::ChangeoverDone change(store::Workbook& danni)
    {
        return currency::changeShopToEuro(danni, arhiv, shop.file(QStringLiteral("Faktura.xls")));
    }

    ShopFolder shop;
    store::Application application;
    archive::Arhiv arhiv{shop.file(QStringLiteral("Danni.xls"))};
    int doll = 0, computed = 0, tiny = 0, typed = 0, unpriced = 0, haggled = 0;
};

// xlrd's value of a cell of a sheet, by 1-based row and column.
QJsonValue xlrdCell(const QJsonObject& book, const QString& sheet, int row, int column)
{
    for (const QJsonValue s : book[QStringLiteral("sheets")].toArray()) {
        if (s[QStringLiteral("name")].toString() != sheet) continue;
        for (const QJsonValue cell : s[QStringLiteral("cells")].toArray()) {
            const QJsonArray c = cell.toArray();
            if (c[0].toInt() == row - 1 && c[1].toInt() == column - 1) return c[3];
        }
    }
    return QJsonValue::Undefined;
}

} // namespace

TEST_F(LevaShop, EveryPriceConvertsAndTheLedgersKeepTheirLevaRows)
{
    const QByteArray leva = shop.bytes(QStringLiteral("Danni.xls"));
    const currency::ChangeoverDone done = change(open());
    EXPECT_EQ(done.prices, 11);   // C and K of five records and K of the unpriced one; the haggled pair stays
    EXPECT_TRUE(done.formProblem.isEmpty());

    // Read back from the file through an independent reader.
    const QJsonObject read = testsupport::readWithXlrd(shop.file(QStringLiteral("Danni.xls")));
    ASSERT_TRUE(read[QStringLiteral("error")].isNull()) << read[QStringLiteral("error")].toString().toStdString();
    const QString sheet = QStringLiteral("Играчки");
    const auto at = [&](int row, int column) { return xlrdCell(read, sheet, row, column); };
    EXPECT_EQ(at(doll, col::kPrice).toDouble(), 6.39);
    EXPECT_EQ(at(doll, col::kPurchasePrice).toDouble(), 5.11);
    EXPECT_EQ(at(doll, col::kStockValue).toDouble(), 6.39 * 4);
    EXPECT_EQ(at(doll, col::kMarkup).toString(), QStringLiteral("25"));
    EXPECT_EQ(at(computed, col::kPrice).toDouble(), 0.62);
    EXPECT_EQ(at(tiny, col::kPrice).toDouble(), 0.0);
    EXPECT_EQ(at(typed, col::kPrice).toDouble(), 6.39);
    EXPECT_TRUE(at(unpriced, col::kPrice).isUndefined());
    EXPECT_EQ(at(haggled, col::kPrice).toString(), QStringLiteral("по договаряне"));
    EXPECT_EQ(xlrdCell(read, QStringLiteral("Книжки"), 2, col::kPrice).toDouble(), 51.12);
    EXPECT_EQ(xlrdCell(read, store::layout::kIndexSheet, idx::kCurrency.row, idx::kCurrency.col).toString(), QStringLiteral("EUR"));
    // Seven goods added: seven purchase rows in leva, no sale yet.
    EXPECT_EQ(xlrdCell(read, store::layout::kIndexSheet, idx::kLevaPurchaseRows.row, idx::kLevaPurchaseRows.col).toDouble(), 7.0);
    EXPECT_EQ(xlrdCell(read, store::layout::kIndexSheet, idx::kLevaSalesRows.row, idx::kLevaSalesRows.col).toDouble(), 0.0);

    // The archive copy is the leva shop as it was, and putting it back undoes the change.
    const auto copy = arhiv.find(done.archiveCopy.stamp);
    ASSERT_TRUE(copy);
    arhiv.putBack(*copy);
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), leva);
}

TEST_F(LevaShop, TheChangeIsRefusedInAEuroShopAndWritesNothing)
{
    store::Workbook& danni = open();
    change(danni);
    const QByteArray euro = shop.bytes(QStringLiteral("Danni.xls"));
    const size_t copies = arhiv.copies().size();
    try {
        change(danni);
        FAIL() << "a euro shop went over again";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.kind<currency::CurrencyError>(), currency::CurrencyError::AlreadyEuro);
    }
    EXPECT_EQ(toys(danni).value(doll, col::kPrice), Value(6.39));
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), euro);
    EXPECT_EQ(arhiv.copies().size(), copies);
}

TEST_F(LevaShop, AFailedSaveLeavesTheShopInLevaInMemoryAndOnDisk)
{
    const QByteArray leva = shop.bytes(QStringLiteral("Danni.xls"));
    store::Workbook& danni = open([](const store::Workbook&) { throw store::Error(QStringLiteral("Дискът е пълен.")); });
    try {
        change(danni);
        FAIL() << "a failed save was taken for a change";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.kind<currency::CurrencyError>(), currency::CurrencyError::ChangeoverNotSaved);
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("Дискът е пълен."))) << e.message().toStdString();
    }
    const store::DataWorkbook data(danni);
    EXPECT_EQ(data.currency(), Currency::Leva);
    EXPECT_EQ(data.cell(idx::kLevaSalesRows), Value());
    EXPECT_EQ(toys(danni).value(doll, col::kPrice), Value(12.5));
    EXPECT_EQ(toys(danni).value(doll, col::kStockValue), Value(50.0));
    EXPECT_EQ(toys(danni).value(typed, col::kPrice), Value(QStringLiteral("12,50")));
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), leva);
}

TEST_F(LevaShop, TheWorkbookToolGoesOverOnceAndNotWhileTheProgramRuns)
{
    const auto tool = [&](QString* out = nullptr) {
        const testsupport::RunResult run = testsupport::runWorkbookTool({QStringLiteral("euro"), shop.path()});
        if (out) *out = QString::fromUtf8(run.out + run.err);
        return run.exitCode;
    };
    const QByteArray leva = shop.bytes(QStringLiteral("Danni.xls"));
    {
        QLockFile running(shop.file(app::Program::lockFileName()));
        ASSERT_TRUE(running.tryLock(0));
        EXPECT_EQ(tool(), 1);
    }
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), leva);
    QString said;
    ASSERT_EQ(tool(&said), 0) << qPrintable(said);
    EXPECT_TRUE(said.startsWith(QStringLiteral("Магазинът премина към евро: превърнати са 11 цени."))) << qPrintable(said);
    EXPECT_EQ(toys(open()).value(doll, col::kPrice), Value(6.39));
    EXPECT_EQ(tool(&said), 1);
    EXPECT_EQ(said.trimmed(), currency::errorMessage(currency::CurrencyError::AlreadyEuro, {}));
}

TEST(InvoiceForm, CurrencyTextsAndAmountFormatsFollowTheShop)
{
    const auto form = demo::makeInvoiceForm();
    store::Worksheet& sheet = form->sheets(1);
    sheet.setValue(30, 2, Value(QStringLiteral("Сума в лв. (лева), BGN")));
    sheet.setValue(31, 2, Value(QStringLiteral("Левски")));   // no currency in it
    const auto amountFormat = [&] { return form->styles().numberFormatCode(form->styles().formats[sheet.formatAt(8, 14)].numberFormat); };
    const QString leva = amountFormat();

    EXPECT_TRUE(currency::followCurrency(*form, Currency::Euro));
    EXPECT_EQ(sheet.value(30, 2).toText(), QStringLiteral("Сума в € (евро), EUR"));
    EXPECT_EQ(sheet.value(31, 2).toText(), QStringLiteral("Левски"));
    EXPECT_EQ(amountFormat(), QStringLiteral("0.00\" €\";-0.00\" €\";"));
    EXPECT_FALSE(currency::followCurrency(*form, Currency::Euro)) << "a form already in euro changes no more";

    // Back in a leva shop (a copy from before the change put back), the form says leva again.
    EXPECT_TRUE(currency::followCurrency(*form, Currency::Leva));
    EXPECT_EQ(sheet.value(30, 2).toText(), QStringLiteral("Сума в лв. (лева), BGN"));
    EXPECT_EQ(amountFormat(), QStringLiteral("0.00\" лв.\";-0.00\" лв.\";"));
    EXPECT_NE(leva, amountFormat());
}
