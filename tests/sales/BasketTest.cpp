// The sale operations apart from the windows: the basket's stock bookkeeping, rows that move
// under it, the ledger's limits, a failing save, and the invoice cells.
#include "SaleShop.h"

#include "sales/Faktura.h"
#include "store/Application.h"
#include "sales/Koshnica.h"
#include "sales/SaleError.h"
#include "sales/SalesLedger.h"
#include "store/InvoiceLayout.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "tools/InvoiceForm.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

namespace col = store::layout::article;
namespace index = store::layout::index;
namespace form = store::layout::invoice;

struct StockAndSold {
    double stock;
    double sold;
    bool operator==(const StockAndSold&) const = default;
};

StockAndSold at(const store::Worksheet& article, int row)
{
    return {article.value(row, col::kStock).toNumber().value_or(-1), article.value(row, col::kSold).toNumber().value_or(-1)};
}

} // namespace

TEST(Basket, AnyLineGoesBackToStockAndTheLinesAfterItMoveUp)
{
    OpenShop s;
    sales::Koshnica basket;
    ASSERT_TRUE(basket.add(s.toys, 0, 2, 4));   // Топка 5,50
    ASSERT_TRUE(basket.add(s.toys, 0, 3, 1));   // Кукла 12,00
    ASSERT_TRUE(basket.add(s.books, 1, 2, 2));  // Приказки 4,40
    EXPECT_DOUBLE_EQ(basket.total(), 4 * 5.5 + 12.0 + 2 * 4.4);

    ASSERT_TRUE(basket.removeLine(*s.danni, 2));
    EXPECT_EQ(at(s.toys, 3), (StockAndSold{3, 0}));
    EXPECT_EQ(at(s.toys, 2), (StockAndSold{6, 4})) << "another line's goods came back";
    EXPECT_EQ(basket.lines(), 2);
    EXPECT_EQ(basket.line(2).name, QStringLiteral("Приказки"));
    EXPECT_EQ(basket.line(2).sheet, SaleShop::kBooks);
    EXPECT_EQ(basket.line(2).purchasePrice, 2.5);
    EXPECT_FALSE(basket.holdsRow(SaleShop::kToys, 3));
    EXPECT_DOUBLE_EQ(basket.total(), 4 * 5.5 + 2 * 4.4);
    EXPECT_FALSE(basket.removeLine(*s.danni, 3));
    EXPECT_FALSE(basket.removeLine(*s.danni, 0));

    // The last line left is the one the undo of the last line takes.
    ASSERT_TRUE(basket.undoLast(*s.danni));
    EXPECT_EQ(at(s.books, 2), (StockAndSold{5, 0}));
    EXPECT_EQ(basket.line(1).name, QStringLiteral("Топка"));
}

TEST(Basket, LinesFollowTheirGoodsWhenRowsMoveSoUndoRestoresTheRightRecord)
{
    OpenShop s;
    sales::Koshnica basket;
    ASSERT_TRUE(basket.add(s.toys, 0, 2, 4));   // Топка
    ASSERT_TRUE(basket.add(s.toys, 0, 3, 1));   // Кукла
    ASSERT_TRUE(basket.add(s.books, 1, 2, 2));  // Приказки, same row number in another article
    EXPECT_EQ(at(s.toys, 2), (StockAndSold{6, 4}));
    EXPECT_TRUE(basket.holdsSheet(QStringLiteral("ИГРАЧКИ")));   // sheet names ignore case
    EXPECT_TRUE(basket.holdsRow(SaleShop::kToys, 3));
    EXPECT_FALSE(basket.holdsRow(SaleShop::kToys, 4));

    // The toys are sorted in reverse: rows 2 and 4 trade places, as a sort moves whole rows.
    std::array<std::array<store::Value, 2>, 3> rows;
    for (int r = 2; r <= 4; ++r) rows[size_t(r - 2)] = {s.toys.value(r, col::kStock), s.toys.value(r, col::kSold)};
    for (int r = 2; r <= 4; ++r) {
        s.toys.setValue(6 - r, col::kStock, rows[size_t(r - 2)][0]);
        s.toys.setValue(6 - r, col::kSold, rows[size_t(r - 2)][1]);
    }
    basket.rowsMoved(SaleShop::kToys, [](int old) { return 6 - old; });
    EXPECT_TRUE(basket.holdsRow(SaleShop::kToys, 4));
    EXPECT_FALSE(basket.holdsRow(SaleShop::kToys, 2));
    EXPECT_EQ(basket.line(1).row, 4);
    EXPECT_EQ(basket.line(2).row, 3);
    EXPECT_EQ(basket.line(3).row, 2) << "a move in one article moved the line of another";

    while (basket.undoLast(*s.danni)) {}
    EXPECT_EQ(at(s.toys, 4), (StockAndSold{10, 0})) << "Топка, now in row 4";
    EXPECT_EQ(at(s.toys, 3), (StockAndSold{3, 0}));
    EXPECT_EQ(at(s.toys, 2), (StockAndSold{0, 0})) << "Мече got stock that was not its own";
    EXPECT_EQ(at(s.books, 2), (StockAndSold{5, 0}));
    EXPECT_FALSE(basket.holdsSheet(SaleShop::kToys));
}

TEST(Basket, AFullBasketTakesNothingAndLinesKeepWhatTheyCopied)
{
    OpenShop s;
    sales::Koshnica basket;
    for (int i = 0; i < sales::kBasketLines; ++i) ASSERT_TRUE(basket.add(s.toys, 0, 2, 1));
    EXPECT_FALSE(basket.add(s.toys, 0, 2, 1));
    EXPECT_EQ(basket.lines(), sales::kBasketLines);
    EXPECT_EQ(at(s.toys, 2), (StockAndSold{0, 10}));

    s.toys.setValue(2, col::kPrice, store::Value(99.0));
    const sales::BasketLine line = basket.line(10);
    EXPECT_EQ(line.name, QStringLiteral("Топка"));
    EXPECT_EQ(line.price, 5.5);
    EXPECT_EQ(line.purchasePrice, 3.0);
    EXPECT_EQ(line.sheet, SaleShop::kToys);

    basket.IzchistiMasivite();
    EXPECT_TRUE(basket.isEmpty());
    EXPECT_TRUE(basket.line(10).name.isEmpty());
    EXPECT_EQ(basket.line(10).count, 0);
}

// A save writes the stock as if the basket's goods were back, and leaves memory exactly as it was,
// also when the write fails.
TEST(Basket, SavesLeaveOutTheBasketsGoodsAndPutThemBackAfterwards)
{
    OpenShop s;
    sales::Koshnica basket;
    basket.add(s.toys, 0, 2, 3);
    basket.add(s.books, 1, 2, 2);
    basket.add(s.toys, 0, 2, 1);   // the same goods twice
    basket.add(s.toys, 0, 3, 1);
    const auto memory = [&] { return std::array{at(s.toys, 2), at(s.books, 2), at(s.toys, 3)}; };
    const auto before = memory();
    basket.writeWithoutHeldChanges(*s.danni, [&] {
        EXPECT_EQ(at(s.toys, 2), (StockAndSold{10, 0}));
        EXPECT_EQ(at(s.books, 2), (StockAndSold{5, 0}));
        s.danni->Save();
    });
    EXPECT_EQ(memory(), before);
    EXPECT_THROW(basket.writeWithoutHeldChanges(*s.danni, [] { throw store::Error(QStringLiteral("Дискът е пълен.")); }),
                 store::Error);
    EXPECT_EQ(memory(), before);

    const auto disk = store::Workbook::open(s.shop.folder.file(QStringLiteral("Danni.xls")));
    EXPECT_EQ(at(disk->sheets(SaleShop::kToys), 2), (StockAndSold{10, 0}));
    EXPECT_EQ(at(disk->sheets(SaleShop::kBooks), 2), (StockAndSold{5, 0}));
    basket.returnAllToStock(*s.danni);
    EXPECT_EQ(at(s.toys, 2), (StockAndSold{10, 0}));
    EXPECT_TRUE(basket.isEmpty());
}

TEST(SalesLedger, InvoiceNumbersArePaddedToTenAndCountFromK1)
{
    store::Workbook workbook;
    auto fresh = store::DataWorkbook::createFresh();
    store::DataWorkbook data(*fresh);
    data.setCell(index::kLastInvoice, store::Value());
    EXPECT_EQ(sales::NomerNaFaktura(data), QStringLiteral("0000000001"));
    EXPECT_EQ(sales::nextInvoiceNumber(data), QStringLiteral("1"));
    data.setCell(index::kLastInvoice, store::Value(6));
    EXPECT_EQ(sales::NomerNaFaktura(data), QStringLiteral("0000000007"));
    data.setCell(index::kLastInvoice, store::Value(QStringLiteral("41")));
    EXPECT_EQ(sales::NomerNaFaktura(data), QStringLiteral("0000000042"));
    data.setCell(index::kLastInvoice, store::Value(2147483646.0));
    EXPECT_EQ(sales::NomerNaFaktura(data), QStringLiteral("2147483647"));
    data.setCell(index::kLastInvoice, store::Value(2999999999.0));
    EXPECT_EQ(sales::NomerNaFaktura(data), QStringLiteral("3000000000"));
    for (const store::Value& lie : {store::Value(9999999999.0), store::Value(-1.0), store::Value(QStringLiteral("abc"))}) {
        data.setCell(index::kLastInvoice, lie);
        EXPECT_THROW(sales::NomerNaFaktura(data), store::Error) << qPrintable(lie.toText());
    }
}

// R1 and K1 that do not say what the ledger holds stop a sale before it writes anything: no row
// of the ledger, and never its header, is written over.
TEST(SalesLedger, CountersThatLieStopTheSaleBeforeAnythingIsWritten)
{
    OpenShop s;
    sales::Koshnica basket;
    basket.add(s.toys, 0, 2, 1);
    sales::ProdajbiDobavi(s.data, basket, true);   // row 2, R1 = 1, K1 = 1
    const auto ledger = [&] {
        std::vector<QString> cells;
        for (int row = 1; row <= 6; ++row)
            for (int column = index::sales::kDate; column <= index::sales::kPurchasePrice; ++column)
                cells.push_back(s.data.indexSheet().value(row, column).toText());
        return cells;
    };
    const auto before = ledger();
    const store::Value lies[] = {store::Value(QStringLiteral("abc")), store::Value(4294967298.0), store::Value(-1.0),
                                 store::Value(1.5), store::Value(0), store::Value(3)};
    for (const store::Value& r1 : lies) {
        s.data.setCell(index::kSalesRows, r1);
        try {
            sales::ProdajbiDobavi(s.data, basket, true);
            ADD_FAILURE() << "R1 = " << qPrintable(r1.toText()) << " was believed";
        } catch (const store::Error& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("R1 на листа „List“"))) << qPrintable(e.message());
        }
        EXPECT_EQ(ledger(), before) << qPrintable(r1.toText());
        EXPECT_EQ(s.data.cell(index::kLastInvoice), store::Value(1)) << qPrintable(r1.toText());
    }
    s.data.setCell(index::kSalesRows, store::Value(1));
    sales::ProdajbiDobavi(s.data, basket, true);
    EXPECT_EQ(s.data.indexSheet().value(3, index::sales::kInvoice).toText(), QStringLiteral("0000000002"));
}

TEST(SalesLedger, ALedgerWithoutRoomRefusesTheSaleBeforeWritingAnything)
{
    OpenShop s;
    sales::Koshnica basket;
    basket.add(s.toys, 0, 2, 1);
    basket.add(s.toys, 0, 3, 1);
    basket.add(s.books, 1, 2, 1);
    // Three lines after 65,533 rows would need rows 65,535 to 65,537.
    s.data.setCell(index::kSalesRows, store::Value(store::kMaxRows - 3));
    s.data.indexSheet().setValue(store::kMaxRows - 2, index::sales::kDate, store::Value(QStringLiteral("1. 03. 2026")));
    s.danni->Save();
    const QByteArray onDisk = s.shop.folder.bytes(QStringLiteral("Danni.xls"));
    EXPECT_THROW(sales::ProdajbiDobavi(s.data, basket, true), store::Error);
    EXPECT_EQ(s.data.counter(index::kSalesRows), store::kMaxRows - 3);
    EXPECT_EQ(s.data.counter(index::kLastInvoice), 0);
    EXPECT_TRUE(s.data.indexSheet().value(store::kMaxRows - 1, index::sales::kName).isEmpty());
    EXPECT_EQ(s.shop.folder.bytes(QStringLiteral("Danni.xls")), onDisk);

    // Two lines fill the ledger to the sheet's last row.
    basket.undoLast(*s.danni);
    sales::ProdajbiDobavi(s.data, basket, false);
    EXPECT_EQ(s.data.counter(index::kSalesRows), store::kMaxRows - 1);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), store::kMaxRows), expectedRow(QStringLiteral("Кукла"), 1, 12.0, {}, 8.0));
}

TEST(SalesLedger, AFailedSaveTakesTheSaleBackSoItCanBeRecordedAgain)
{
    OpenShop s;
    sales::Koshnica basket;
    basket.add(s.toys, 0, 2, 2);
    basket.add(s.books, 1, 2, 1);
    s.data.setCell(index::kSalesRows, store::Value(1));
    s.data.indexSheet().setValue(2, index::sales::kName, store::Value(QStringLiteral("по-стара продажба")));
    // Something in the way of the file: the save cannot replace it.
    const QString path = s.shop.folder.file(QStringLiteral("Danni.xls"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    try {
        sales::ProdajbiDobavi(s.data, basket, true);
        FAIL() << "the failed save was not reported";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.kind<sales::SaleError>(), sales::SaleError::NotSaved) << qPrintable(e.message());
    }
    EXPECT_EQ(s.data.counter(index::kSalesRows), 1);
    EXPECT_EQ(s.data.counter(index::kLastInvoice), 0);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 3), LedgerRow{});
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 4), LedgerRow{});
    EXPECT_TRUE(s.data.indexSheet().value(3, index::sales::kArticle).isEmpty());
    EXPECT_EQ(basket.lines(), 2);

    ASSERT_TRUE(QDir().rmdir(path));
    sales::ProdajbiDobavi(s.data, basket, true);
    auto reread = store::Workbook::open(path);
    const store::DataWorkbook saved(*reread);
    EXPECT_EQ(saved.counter(index::kSalesRows), 3);
    EXPECT_EQ(saved.counter(index::kLastInvoice), 1);
    EXPECT_EQ(ledgerRow(saved.indexSheet(), 3), expectedRow(QStringLiteral("Топка"), 2, 5.5, QStringLiteral("0000000001"), 3.0));
    EXPECT_EQ(ledgerRow(saved.indexSheet(), 4), expectedRow(QStringLiteral("Приказки"), 1, 4.4, QStringLiteral("0000000001"), 2.5));
    EXPECT_EQ(ledgerRow(saved.indexSheet(), 5), LedgerRow{});
    EXPECT_EQ(reread->sheets(SaleShop::kToys).value(2, col::kStock).toNumber(), 8.0) << "the stock taken was not saved";
}

TEST(Invoice, PaymentMarksMoveOnlyWhenAWayOfPaymentIsChosen)
{
    store::Application faktura;
    const SaleShop shop;
    const QString path = shop.folder.file(QStringLiteral("Faktura.xls"));
    sales::Koshnica basket;
    const auto marks = [&] {
        const store::Worksheet& sheet = faktura.ActiveWorkbook()->sheets(form::kSheet);
        return QStringList{sheet.value(form::kCashRow, form::kPaymentColumn).toText(),
                           sheet.value(form::kTransferRow, form::kPaymentColumn).toText(),
                           sheet.value(form::kSetOffRow, form::kPaymentColumn).toText()};
    };
    const QString yes = QStringLiteral("да");
    sales::InvoiceData data;
    data.payment = sales::InvoiceData::Payment::Transfer;
    sales::PokajiFakturata(faktura, path, store::Currency::Leva, basket, data);
    EXPECT_EQ(marks(), (QStringList{{}, yes, {}}));
    data.payment = sales::InvoiceData::Payment::None;
    sales::PokajiFakturata(faktura, path, store::Currency::Leva, basket, data);
    EXPECT_EQ(marks(), (QStringList{{}, yes, {}}));
    data.payment = sales::InvoiceData::Payment::SetOff;
    sales::PokajiFakturata(faktura, path, store::Currency::Leva, basket, data);
    EXPECT_EQ(marks(), (QStringList{{}, {}, yes}));
    data.payment = sales::InvoiceData::Payment::Cash;
    sales::PokajiFakturata(faktura, path, store::Currency::Leva, basket, data);
    EXPECT_EQ(marks(), (QStringList{yes, {}, {}}));
    EXPECT_TRUE(faktura.Visible());
}
