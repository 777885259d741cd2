// A sale with an invoice from the sale panel to the paper invoice: the shop keeper sells four goods,
// fills in the invoice data, sees the invoice in the workbook window and exports it to PDF there.
// The PDF is read back by poppler, as anyone opening the file would read it.
#include "SaleCounter.h"

#include "app/support/MessageRecorder.h"
#include "tests/support/PdfReader.h"

#include "store/window/WorkbookWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QRegularExpression>

namespace {

const QString kPuzzle = QStringLiteral("Пъзел с животни");

// The demo's sale shop with a fourth goods in stock whose price has stotinki.
struct FourGoodsShop : SaleShop {
    FourGoodsShop()
    {
        addGoodsBought(folder, folder.workbook().sheets(kBooks), kPuzzle, 3.35, 6, 2.0);
        folder.workbook().SaveAs(folder.file(QStringLiteral("Danni.xls")));
    }
};

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Runs of blanks collapse to one, so that columns laid out by pdftotext compare as words.
QString words(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

} // namespace

TEST(InvoicePdf, FourGoodsSoldWithInvoiceReachThePdfExportedFromTheWorkbookWindow)
{
    const FourGoodsShop shop;
    Counter c(shop);
    MessageRecorder messages;
    c.invoiceChoice(true);
    c.add(SaleShop::kToys, QStringLiteral("Топка"), 1);
    c.add(SaleShop::kToys, QStringLiteral("Кукла"), 2);
    c.add(SaleShop::kBooks, QStringLiteral("Приказки"), 3);
    c.add(SaleShop::kBooks, kPuzzle, 3);
    ASSERT_EQ(c.w.Text4->text(), QStringLiteral("4"));
    c.sell();
    sales::Form6* dialog = c.invoiceDialog();
    ASSERT_NE(dialog, nullptr);
    type(dialog->Text1, QStringLiteral("4711"));
    type(dialog->Text5, QStringLiteral("Детска радост ООД"));
    type(dialog->Text9, QStringLiteral("Пловдив"));
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    settle();

    store::window::WorkbookWindow* window = store::window::windowOf(*c.shop().FakturaEksel);
    ASSERT_NE(window, nullptr) << "the invoice is not on screen";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Faktura.xls"));

    const QString pdf = shop.folder.file(QStringLiteral("фактура 4711.pdf"));
    auto* exportAction = window->findChild<QAction*>(QStringLiteral("exportPdfAction"));
    ASSERT_NE(exportAction, nullptr);
    exportAction->trigger();
    auto* fileDialog = window->findChild<QFileDialog*>(QStringLiteral("exportPdfDialog"));
    ASSERT_NE(fileDialog, nullptr);
    fileDialog->selectFile(pdf);
    static_cast<QDialog*>(fileDialog)->accept();
    settle();
    EXPECT_EQ(messages.texts(), QStringList());

    const QString text = words(testsupport::pdfText(pdf));
    ASSERT_FALSE(text.startsWith(QStringLiteral("pdftotext failed"))) << text.toStdString();
    // Each goods row: name, count, unit, unit price, amount (hand-computed).
    for (const QString& line : {QStringLiteral("Топка 1 бр. 5,50 5,50"), QStringLiteral("Кукла 2 бр. 12,00 24,00"),
                                QStringLiteral("Приказки 3 бр. 4,40 13,20"),
                                QStringLiteral("Пъзел с животни 3 бр. 3,35 10,05")})
        EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
    // 52,75 with VAT: 43,96 without and 8,79 of VAT.
    for (const QString& expected : {QStringLiteral("ФАКТУРА"), QStringLiteral("4711"), QStringLiteral("Детска радост ООД"),
                                    QStringLiteral("Пловдив"), QStringLiteral("43,96"), QStringLiteral("8,79"),
                                    QStringLiteral("52,75")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    // Rows 5 to 10 hold no goods: only their numbers show, not the 0 count and price written there.
    EXPECT_TRUE(text.contains(QStringLiteral(" 5 6 7 8 9 10 "))) << text.toStdString();
    EXPECT_EQ(testsupport::pdfPageSize(pdf).pages, 1);
}
