// Goods taken back after a sale: the return rows, the stock, what is still returnable, the credit
// note on the invoice form, the reports over returns, a failed save, and the window.
#include "SaleCounter.h"

#include "app/support/Lists.h"
#include "app/support/MessageRecorder.h"
#include "currency/EuroChangeover.h"
#include "reports/ReportData.h"
#include "sales/Faktura.h"
#include "sales/Form15.h"
#include "sales/InvoiceRegister.h"
#include "sales/Koshnica.h"
#include "sales/Returns.h"
#include "sales/SaleError.h"
#include "sales/SalesLedger.h"
#include "store/Application.h"
#include "store/InvoiceLayout.h"
#include "store/StoreError.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTreeView>

namespace {

namespace col = store::layout::article;
namespace index = store::layout::index;
namespace ledger = store::layout::index::sales;
namespace form = store::layout::invoice;

const QDate kToday(2026, 12, 7);
const QString kTodayText = QStringLiteral("7. 12. 2026");
const QString kBall = QStringLiteral("Топка");
const QString kDoll = QStringLiteral("Кукла");
const QString kMistake = sales::kReturnReasons[0];

QDate today()
{
    return kToday;
}

// A return row's own columns, as stored.
QStringList returnCells(const store::Worksheet& index, int row)
{
    return {index.value(row, ledger::kReturnOf).toText(), index.value(row, ledger::kReturnReason).toText(),
            index.value(row, ledger::kArticle).toText()};
}

struct Stock {
    double stock;
    double sold;
    bool operator==(const Stock&) const = default;
};

Stock stockOf(const store::Worksheet& article, int row)
{
    return {article.value(row, col::kStock).toNumber().value_or(-1), article.value(row, col::kSold).toNumber().value_or(-1)};
}

void sell(OpenShop& s, store::Worksheet& article, int row, int count, bool withInvoice)
{
    sales::Koshnica basket;
    basket.add(article, 0, row, count);
    sales::ProdajbiDobavi(s.data, basket, withInvoice);
}

sales::SaleError refusal(const std::function<void()>& step)
{
    try {
        step();
    } catch (const store::Error& e) {
        return e.kind<sales::SaleError>().value_or(sales::SaleError::InvoiceFormClosed);
    }
    ADD_FAILURE() << "not refused";
    return sales::SaleError::InvoiceFormClosed;
}

} // namespace

TEST(Returns, PartThenTheRestComeBackAsRowsOfTheirOwnAndNeverMoreThanWasSold)
{
    OpenShop s;
    s.data.setCell(index::kMovedSalesRows, store::Value(100));   // lines 1 … 100 are in year workbooks
    sell(s, s.toys, 2, 3, false);                                // row 2, line 101: Топка × 3
    EXPECT_EQ(s.data.indexSheet().value(2, ledger::kArticle).toText(), SaleShop::kToys);
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{7, 3}));

    const sales::ReturnDone part = sales::VarniStoka(s.data, {{2, 2}}, kMistake, today);
    EXPECT_EQ(part.lines[0].row, 3);
    LedgerRow expected{kTodayText, kBall, store::Value(-2), store::Value(5.5), store::Value(), store::Value(3.0)};
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 3), expected);
    EXPECT_EQ(returnCells(s.data.indexSheet(), 3), (QStringList{QStringLiteral("101"), kMistake, SaleShop::kToys}));
    EXPECT_EQ(s.data.counter(index::kSalesRows), 2);
    EXPECT_EQ(s.data.counter(index::kLastInvoice), 0);
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{9, 1}));
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 2).count, store::Value(3)) << "the sale stays as it was";
    const auto left = sales::returnableSales(s.data);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].row, 2);
    EXPECT_EQ(left[0].returnable, 1);

    const QByteArray onDisk = s.shop.folder.bytes(QStringLiteral("Danni.xls"));
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{2, 2}}, kMistake, today); }), sales::SaleError::ReturnTooMany);
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{2, 0}}, kMistake, today); }), sales::SaleError::NoReturnCount);
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{3, 1}}, kMistake, today); }), sales::SaleError::NotASale);
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{4, 1}}, kMistake, today); }), sales::SaleError::NotASale);
    EXPECT_EQ(s.data.counter(index::kSalesRows), 2);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 4), LedgerRow{});
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{9, 1}));
    EXPECT_EQ(s.shop.folder.bytes(QStringLiteral("Danni.xls")), onDisk);

    sales::VarniStoka(s.data, {{2, 1}}, kMistake, today);
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{10, 0}));
    EXPECT_TRUE(sales::returnableSales(s.data).empty());
    auto saved = store::Workbook::open(s.shop.folder.file(QStringLiteral("Danni.xls")));
    EXPECT_EQ(ledgerRow(saved->sheets(store::layout::kIndexSheet), 4).count, store::Value(-1));
    EXPECT_EQ(stockOf(saved->sheets(SaleShop::kToys), 2), (Stock{10, 0}));
}

// The money side is recorded whatever became of the goods; the stock only where the goods are
// still found, by the article of the row or, on older rows without one, by a name found once.
TEST(Returns, GoodsThatCannotBeFoundAreSaidSoAndTheMoneyIsStillRecorded)
{
    OpenShop s;
    sell(s, s.toys, 2, 1, false);    // row 2: Топка
    sell(s, s.toys, 3, 2, false);    // row 3: Кукла
    sell(s, s.books, 2, 1, false);   // row 4: Приказки
    sell(s, s.toys, 2, 1, false);    // row 5: Топка
    s.toys.setValue(3, col::kName, store::Value(QStringLiteral("Кукла Ани")));
    s.data.indexSheet().setValue(4, ledger::kArticle, store::Value(QStringLiteral("Изтрит")));
    s.data.indexSheet().setValue(5, ledger::kArticle, store::Value());
    s.data.indexSheet().setValue(2, ledger::kArticle, store::Value());

    EXPECT_EQ(sales::VarniStoka(s.data, {{3, 1}}, kMistake, today).lines[0].stockProblem,
              sales::errorMessage(sales::SaleError::ReturnedGoodsGone, {kDoll, SaleShop::kToys}));
    EXPECT_EQ(sales::VarniStoka(s.data, {{4, 1}}, kMistake, today).lines[0].stockProblem,
              sales::errorMessage(sales::SaleError::ReturnedArticleGone, {QStringLiteral("Приказки"), QStringLiteral("Изтрит")}));
    EXPECT_EQ(stockOf(s.toys, 3), (Stock{1, 2}));
    EXPECT_EQ(stockOf(s.books, 2), (Stock{4, 1}));
    EXPECT_EQ(s.data.counter(index::kSalesRows), 6) << "both returns are recorded";

    EXPECT_EQ(sales::VarniStoka(s.data, {{5, 1}}, kMistake, today).lines[0].stockProblem, QString()) << "the one Топка";
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{9, 1}));
    s.books.setValue(2, col::kName, store::Value(kBall));   // a second Топка
    EXPECT_EQ(sales::VarniStoka(s.data, {{2, 1}}, kMistake, today).lines[0].stockProblem,
              sales::errorMessage(sales::SaleError::ReturnedGoodsUnknown, {kBall}));
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{9, 1}));
}

TEST(Returns, AFailedSaveLeavesTheLedgerTheStockAndTheInvoiceCounterAsTheyWere)
{
    OpenShop s;
    sell(s, s.toys, 2, 2, true);
    const QString path = s.shop.folder.file(QStringLiteral("Danni.xls"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{2, 1}}, kMistake, today); }), sales::SaleError::ReturnNotSaved);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 3), LedgerRow{});
    EXPECT_EQ(returnCells(s.data.indexSheet(), 3), (QStringList{{}, {}, {}}));
    EXPECT_EQ(s.data.counter(index::kSalesRows), 1);
    EXPECT_EQ(s.data.counter(index::kLastInvoice), 1);
    EXPECT_EQ(stockOf(s.toys, 2), (Stock{8, 2}));
    EXPECT_EQ(sales::returnableSales(s.data).at(0).returnable, 2);
}

// Several lines are checked together before anything is written: one sale asked over two lines
// counts both, and the lines of one return belong to one invoice.
TEST(Returns, SeveralLinesAreRefusedWholeWhenTheyAskTooMuchOrMixInvoices)
{
    OpenShop s;
    sell(s, s.toys, 2, 1, true);    // row 2: Топка on invoice 1
    sell(s, s.toys, 3, 2, true);    // row 3: Кукла × 2 on invoice 2
    sell(s, s.books, 2, 1, false);  // row 4: Приказки, no invoice
    const QByteArray onDisk = s.shop.folder.bytes(QStringLiteral("Danni.xls"));
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{3, 1}, {3, 2}}, kMistake, today); }), sales::SaleError::ReturnTooMany);
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{3, 1}, {2, 1}}, kMistake, today); }),
              sales::SaleError::ReturnInvoicesDiffer);
    EXPECT_EQ(refusal([&] { sales::VarniStoka(s.data, {{3, 1}, {4, 1}}, kMistake, today); }),
              sales::SaleError::ReturnInvoicesDiffer);
    EXPECT_EQ(s.data.counter(index::kSalesRows), 3);
    EXPECT_EQ(s.data.counter(index::kLastInvoice), 2);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 5), LedgerRow{});
    EXPECT_EQ(stockOf(s.toys, 3), (Stock{1, 2}));
    EXPECT_EQ(s.shop.folder.bytes(QStringLiteral("Danni.xls")), onDisk);
}

// Sold: Кукла × 2 at 12.00 (bought 8.00) and Топка × 1 at 5.50 (3.00) on invoice 1; one Кукла
// comes back on credit note 2.
TEST(Returns, AnInvoicedSaleComesBackOnACreditNoteAndTheReportsCountTheReturn)
{
    OpenShop s;
    sales::Koshnica basket;
    basket.add(s.toys, 0, 3, 2);
    basket.add(s.toys, 0, 2, 1);
    sales::ProdajbiDobavi(s.data, basket, true);
    EXPECT_EQ(sales::salesOnInvoice(sales::returnableSales(s.data), QStringLiteral("1")).size(), 2u);
    EXPECT_EQ(sales::salesOnInvoice(sales::returnableSales(s.data), QStringLiteral("0000000001")).size(), 2u);
    EXPECT_TRUE(sales::salesOnInvoice(sales::returnableSales(s.data), QStringLiteral("2")).empty());

    const sales::ReturnDone done = sales::VarniStoka(s.data, {{2, 1}}, sales::kReturnReasons[1], today);
    EXPECT_EQ(done.creditNote, QStringLiteral("0000000002"));
    EXPECT_EQ(s.data.counter(index::kLastInvoice), 2);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 4),
              (LedgerRow{kTodayText, kDoll, store::Value(-1), store::Value(12.0), store::Value(QStringLiteral("0000000002")),
                         store::Value(8.0)}));

    store::Application faktura;
    const QString formPath = s.shop.folder.file(QStringLiteral("Faktura.xls"));
    sales::Recipient recipient;
    recipient.company = QStringLiteral("Детска радост ООД");
    const sales::IssuedDocument note =
        sales::PokajiKreditnoIzvestie(faktura, formPath, store::Currency::Leva, done, recipient);
    EXPECT_EQ(note.sum, -12.0);
    EXPECT_EQ(note.forInvoice, QStringLiteral("0000000001"));
    const store::Worksheet& sheet = faktura.ActiveWorkbook()->sheets(form::kSheet);
    const auto text = [&](store::layout::CellPos pos) { return sheet.value(pos.row, pos.col).toText(); };
    EXPECT_EQ(text({1, 1}), QStringLiteral("КРЕДИТНО ИЗВЕСТИЕ"));
    EXPECT_EQ(text(form::kNumber), QStringLiteral("0000000002"));
    EXPECT_EQ(text(form::kCorrectedInvoice), QStringLiteral("към фактура № 0000000001 от ") + store::formatShopDate(QDate::currentDate()));
    EXPECT_EQ(text(form::kCorrectionReason), QStringLiteral("основание: връщане или рекламация"));
    EXPECT_EQ(text(form::kCompany), recipient.company);
    EXPECT_EQ(text({form::lineRow(1), form::kNameColumn}), kDoll);
    EXPECT_EQ(sheet.value(form::lineRow(1), form::kCountColumn), store::Value(-1));
    EXPECT_EQ(sheet.value(form::lineRow(1), form::kPriceColumn), store::Value(12.0));
    EXPECT_EQ(text({form::lineRow(2), form::kNameColumn}), QString());
    EXPECT_TRUE(faktura.Visible());

    sales::PokajiFakturata(faktura, formPath, store::Currency::Leva, basket, sales::InvoiceData{});
    EXPECT_EQ(text({1, 1}), QStringLiteral("ФАКТУРА"));
    EXPECT_TRUE(sheet.value(form::kCorrectedInvoice.row, form::kCorrectedInvoice.col).isEmpty());

    // Sold 2 × 12.00 + 5.50 − 12.00 = 17.50; profit 2 × 4.00 + 2.50 − 4.00 = 6.50.
    const reports::PeriodListing sold = reports::soldInPeriod(s.data, kToday.addYears(-5), kToday.addYears(5));
    ASSERT_EQ(sold.listing.rows.size(), 3u);
    EXPECT_DOUBLE_EQ(sold.listing.sum, 17.5);
    EXPECT_EQ(sold.listing.rows[2].value(2), QStringLiteral("-1"));
    EXPECT_EQ(sold.listing.rows[2].value(4), QStringLiteral("0000000002"));
    EXPECT_DOUBLE_EQ(reports::profitInPeriod(s.data, kToday.addYears(-5), kToday.addYears(5)).profit, 6.5);
}

// Топка × 2 sold at 5.50 лв. (bought 3.00 лв.); the shop goes over to the euro; one comes back at
// 2.81 € (bought 1.53 €), converted once.
TEST(Returns, ALevaSaleReturnedInAEuroShopComesBackInEuro)
{
    OpenShop s;
    sell(s, s.toys, 2, 2, false);
    currency::convertToEuro(s.data);
    sales::VarniStoka(s.data, {{2, 1}}, kMistake, today);
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 3).price, store::Value(2.81));
    EXPECT_EQ(ledgerRow(s.data.indexSheet(), 3).purchasePrice, store::Value(1.53));
    // 11.00 лв. = 5.62 €, less 2.81 €; profit 5.00 лв. = 2.5565 €, less 1.28 €, to the cent.
    const QDate from = kToday.addYears(-5);
    const QDate to = kToday.addYears(5);
    EXPECT_DOUBLE_EQ(reports::soldInPeriod(s.data, from, to).listing.sum, 2.81);
    EXPECT_DOUBLE_EQ(reports::profitInPeriod(s.data, from, to).profit, 1.28);
}

TEST(Returns, TheWindowTakesBackTheChosenCountForTheChosenReason)
{
    const SaleShop shop;
    MessageRecorder messages;
    Counter c(shop);
    c.add(SaleShop::kToys, kBall, 3);
    c.sell();
    c.w.vrashtane->trigger();
    auto* window = qobject_cast<sales::Form15*>(c.shop().windows.window(15));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("Form15"));

    type(window->Text1, QStringLiteral("7"));
    EXPECT_EQ(window->List1->model()->rowCount(), 0) << "no sale on invoice 7";
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("Не сте избрали продажба"));
    type(window->Text1, QString());
    ASSERT_EQ(window->List1->model()->rowCount(), 1);

    clickRow(window->List1, 0);
    EXPECT_EQ(entries(window->Combo1), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    window->Combo1->setCurrentIndex(1);
    emit window->Combo1->activated(1);
    window->Combo2->setCurrentIndex(2);
    emit window->Combo2->activated(2);
    QTest::mouseClick(window->Command1, Qt::LeftButton);

    const store::Worksheet& index = c.data().indexSheet();
    EXPECT_EQ(index.value(3, ledger::kCount), store::Value(-2));
    EXPECT_EQ(index.value(3, ledger::kReturnReason).toText(), sales::kReturnReasons[2]);
    EXPECT_EQ(c.stock(SaleShop::kToys, 2), 9.0);
    EXPECT_EQ(c.w.statusBar()->currentMessage(), QStringLiteral("Върнати 2 бр. „Топка“, 11,00 лв."));
    ASSERT_EQ(window->List1->model()->rowCount(), 1);
    EXPECT_EQ(window->List1->model()->index(0, 3).data().toString(), QStringLiteral("1"));
    EXPECT_EQ(messages.texts().size(), 1u) << qPrintable(messages.texts().join(u'|'));

    // With the sale panel closed a return leaves the main window as it is.
    QTest::mouseClick(c.w.Command3, Qt::LeftButton);
    clickRow(window->List1, 0);
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(c.stock(SaleShop::kToys, 2), 10.0);
    EXPECT_TRUE(c.w.List2->isHidden());
    EXPECT_EQ(messages.texts().size(), 1u) << qPrintable(messages.texts().join(u'|'));
}

// Топка × 2 at 5.50 (bought 3.00) and Кукла × 1 at 12.00 (8.00) sold on invoice 1 come back in
// one step on credit note 2.
TEST(Returns, TheWindowTakesBackAWholeInvoiceOnOneCreditNote)
{
    const SaleShop shop;
    MessageRecorder messages;
    Counter c(shop);
    c.invoiceChoice(true);
    c.add(SaleShop::kToys, kBall, 2);
    c.add(SaleShop::kToys, kDoll, 1);
    c.sell();
    QTest::mouseClick(c.invoiceDialog()->Command1, Qt::LeftButton);
    flushClosedWindows();
    c.w.vrashtane->trigger();
    auto* window = qobject_cast<sales::Form15*>(c.shop().windows.window(15));
    ASSERT_NE(window, nullptr);

    type(window->Text1, QStringLiteral("1"));
    EXPECT_EQ(window->List1->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(entries(window->Combo1), QStringList{QStringLiteral("всички")});
    EXPECT_FALSE(window->Combo1->isEnabled());
    QTest::mouseClick(window->Command1, Qt::LeftButton);

    const store::Worksheet& index = c.data().indexSheet();
    const QString note = QStringLiteral("0000000002");
    EXPECT_EQ(ledgerRow(index, 4), expectedRow(kBall, -2, 5.5, note, 3.0));
    EXPECT_EQ(ledgerRow(index, 5), expectedRow(kDoll, -1, 12.0, note, 8.0));
    EXPECT_EQ(c.data().counter(index::kLastInvoice), 2);
    EXPECT_EQ(c.data().counter(index::kSalesRows), 4);
    EXPECT_EQ(c.stock(SaleShop::kToys, 2), 10.0);
    EXPECT_EQ(c.stock(SaleShop::kToys, 3), 3.0);
    EXPECT_EQ(c.documentLine(1, form::kNameColumn).toText(), kBall);
    EXPECT_EQ(c.documentLine(1, form::kCountColumn), store::Value(-2));
    EXPECT_EQ(c.documentLine(2, form::kNameColumn).toText(), kDoll);
    EXPECT_EQ(c.documentLine(2, form::kCountColumn), store::Value(-1));
    const std::vector<sales::IssuedDocument> kept = sales::InvoiceRegister(shop.folder.path()).documents();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].number, note);
    EXPECT_EQ(kept[1].sum, -23.0);
    EXPECT_EQ(c.w.statusBar()->currentMessage(), QStringLiteral("Върнати 2 реда, 23,00 лв., кредитно известие № 0000000002."));
    EXPECT_EQ(window->List1->model()->rowCount(), 0);
    EXPECT_EQ(messages.texts(), QStringList());
}
