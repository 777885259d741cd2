// The workbook window driven as the shop keeper drives it: shown when the application becomes
// visible, cells edited in place and in the cell bar, closed, quit, saved as, exported, printed.
#include "InvoiceFolder.h"

#include "app/support/MessageRecorder.h"
#include "app/support/Previews.h"
#include "app/support/QtPrinters.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PdfReader.h"

#include "common/Shop.h"
#include "store/Workbook.h"
#include "store/window/SheetView.h"
#include "store/window/WorkbookWindow.h"
#include "tools/InvoiceForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace invoice = demo::invoice;
using store::window::WorkbookWindow;

namespace {

using testsupport::fileBytes;

QList<QWidget*> shownWorkbookWindows()
{
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("WorkbookWindow") && w->isVisible()) shown << w;
    return shown;
}

// Lets deferred deletions and repaints happen.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

class WorkbookWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application_ = shop_.newApplication();
        book_ = &application_->Workbooks().Open(folder_.form());
        fillLines(form(), kThreeLines);
    }
    void TearDown() override
    {
        if (application_) application_->DisplayAlerts = false;
        application_.reset();
        settle();
    }

    store::Worksheet& form() const { return book_->sheets(1); }
    WorkbookWindow* show()
    {
        application_->setVisible(true);
        WorkbookWindow* window = store::window::windowOf(*application_);
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }
    template <typename T> T* child(QObject* parent, const char* name) const
    {
        T* found = parent->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void trigger(WorkbookWindow* window, const char* action) { child<QAction>(window, action)->trigger(); }
    // Picks a file in the window's file dialog as the shop keeper would.
    void chooseFile(WorkbookWindow* window, const char* dialogName, const QString& path)
    {
        auto* dialog = child<QFileDialog>(window, dialogName);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
        settle();
    }
    void clickCell(store::window::SheetView* view, int row, int col)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualCellRect(row, col).center());
    }

    InvoiceFolder folder_;
    app::Shop shop_{folder_.file(QString())};
    MessageRecorder messages_;
    std::unique_ptr<store::Application> application_;
    store::Workbook* book_ = nullptr;
};

} // namespace

TEST_F(WorkbookWindowTest, ShowingTheApplicationShowsItsWorkbookInAWindowNamedAfterTheFile)
{
    EXPECT_TRUE(shownWorkbookWindows().isEmpty());
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(shownWorkbookWindows(), QList<QWidget*>{window});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Faktura.xls"));
    auto* tabs = child<QTabBar>(window, "sheetTabs");
    ASSERT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Фактура"));
    // Showing again keeps the one window.
    application_->setVisible(true);
    EXPECT_EQ(store::window::windowOf(*application_), window);
    EXPECT_EQ(shownWorkbookWindows().size(), 1);
}

TEST_F(WorkbookWindowTest, EditingACellRecomputesTheLineAndTheTotals)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    auto* view = child<store::window::SheetView>(window, "sheetView");
    auto* bar = child<QLineEdit>(window, "formulaBar");
    const int row = invoice::kFirstLineRow;

    clickCell(view, row, invoice::kCountColumn);
    EXPECT_EQ(child<QLineEdit>(window, "cellName")->text(), QStringLiteral("L8"));
    EXPECT_EQ(bar->text(), QStringLiteral("2"));
    QTest::keyClick(view, Qt::Key_5);
    QLineEdit* editor = view->cellEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("0"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(view->cellEditor(), nullptr);
    EXPECT_EQ(form().value(row, invoice::kCountColumn), store::Value(50.0));
    EXPECT_EQ(form().value(row, invoice::kAmountColumn), store::Value(810.0));
    EXPECT_EQ(view->currentRow(), row + 1);   // Enter moves down

    // The cell bar takes a price with a decimal comma.
    clickCell(view, row, invoice::kPriceColumn);
    bar->selectAll();
    QTest::keyClicks(bar, QStringLiteral("2,5"));
    QTest::keyClick(bar, Qt::Key_Return);
    EXPECT_EQ(form().value(row, invoice::kPriceColumn), store::Value(2.5));
    const double total = 125 + round2(3 * 2.88) + 118.75;
    EXPECT_DOUBLE_EQ(form().value(invoice::kTotal.row, invoice::kTotal.col).number(), total);
    clickCell(view, invoice::kTotal.row, invoice::kTotal.col);
    EXPECT_EQ(bar->text(), QStringLiteral("=SUM(O8:O17)"));

    // Escape drops what was typed.
    clickCell(view, row, invoice::kCountColumn);
    QTest::keyClick(view, Qt::Key_9);
    EXPECT_EQ(bar->text(), QStringLiteral("9"));   // the bar follows the typing
    QTest::keyClick(view->cellEditor(), Qt::Key_Escape);
    EXPECT_EQ(form().value(row, invoice::kCountColumn), store::Value(50.0));
    EXPECT_EQ(bar->text(), QStringLiteral("50"));
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(WorkbookWindowTest, MergedCellsAreOneCellToClicksAndKeys)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    auto* view = child<store::window::SheetView>(window, "sheetView");
    auto* name = child<QLineEdit>(window, "cellName");
    // The title spans A1:O1 and the company B4:K4.
    clickCell(view, 1, 8);
    EXPECT_EQ(name->text(), QStringLiteral("A1"));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(name->text(), QStringLiteral("A2"));
    view->setCurrentCell(invoice::kCompany.row, 5);
    EXPECT_EQ(name->text(), QStringLiteral("B4"));
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(name->text(), QStringLiteral("L4"));
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(name->text(), QStringLiteral("B4"));
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(name->text(), QStringLiteral("B3"));

    // Delete empties the cell under the frame.
    view->setCurrentCell(invoice::kFirstLineRow, invoice::kNameColumn);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_TRUE(form().value(invoice::kFirstLineRow, invoice::kNameColumn).isEmpty());
    EXPECT_EQ(form().value(invoice::kFirstLineRow, invoice::kAmountColumn), store::Value(QString()));
}

TEST_F(WorkbookWindowTest, AFormulaTheEngineCannotReadIsReportedAndChangesNothing)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    auto* view = child<store::window::SheetView>(window, "sheetView");
    clickCell(view, invoice::kTotal.row, invoice::kTotal.col);
    auto* bar = child<QLineEdit>(window, "formulaBar");
    bar->selectAll();
    QTest::keyClicks(bar, QStringLiteral("=SUM(O8:"));
    QTest::keyClick(bar, Qt::Key_Return);
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].kind, app::MessageKind::Warning);
    EXPECT_EQ(bar->text(), QStringLiteral("=SUM(O8:O17)"));
}

TEST_F(WorkbookWindowTest, WhatTheProgramWritesWhileTheWindowIsOpenShowsThere)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    auto* view = child<store::window::SheetView>(window, "sheetView");
    clickCell(view, invoice::kFirstLineRow, invoice::kNameColumn);
    auto* bar = child<QLineEdit>(window, "formulaBar");
    EXPECT_EQ(bar->text(), kThreeLines[0].name);
    // The engine tells the window: it follows as soon as the program is done, with no waiting.
    form().cells(invoice::kFirstLineRow, invoice::kNameColumn) = store::Value(QStringLiteral("Кубчета с букви"));
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->text(), QStringLiteral("Кубчета с букви"));
    auto* tabs = child<QTabBar>(window, "sheetTabs");
    const int sheets = tabs->count();
    form().parent().appendSheet(QStringLiteral("Бележки"));
    QCoreApplication::processEvents();
    EXPECT_EQ(tabs->count(), sheets + 1);
}

TEST_F(WorkbookWindowTest, ClosingHidesTheApplicationAndKeepsTheWorkbook)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    form().cells(invoice::kNumber.row, invoice::kNumber.col) = store::Value(QStringLiteral("77"));
    // Escape, with no cell being edited, closes it as the close entry does.
    auto* view = child<store::window::SheetView>(window, "sheetView");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(application_->Visible());
    EXPECT_TRUE(shownWorkbookWindows().isEmpty());
    EXPECT_EQ(store::window::windowOf(*application_), nullptr);
    ASSERT_EQ(application_->ActiveWorkbook(), book_);

    // Shown again, it holds what it held.
    window = show();
    ASSERT_NE(window, nullptr);
    clickCell(child<store::window::SheetView>(window, "sheetView"), invoice::kNumber.row, invoice::kNumber.col);
    EXPECT_EQ(child<QLineEdit>(window, "formulaBar")->text(), QStringLiteral("77"));
    EXPECT_TRUE(messages_.texts().isEmpty());   // closing asks nothing
}

TEST_F(WorkbookWindowTest, QuitAndTheEndOfTheApplicationCloseTheWindow)
{
    ASSERT_NE(show(), nullptr);
    application_->DisplayAlerts = false;
    EXPECT_TRUE(application_->Quit());
    settle();
    EXPECT_TRUE(shownWorkbookWindows().isEmpty());
    EXPECT_EQ(store::window::windowOf(*application_), nullptr);

    // An application let go while its window is open takes the window with it.
    auto other = shop_.newApplication();
    other->Workbooks().Open(folder_.form());
    other->setVisible(true);
    ASSERT_EQ(shownWorkbookWindows().size(), 1);
    other.reset();
    settle();
    EXPECT_TRUE(shownWorkbookWindows().isEmpty());
}

TEST_F(WorkbookWindowTest, SaveAsWritesAWorkbookTheEngineReadsBack)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    const QString copy = folder_.file(QStringLiteral("Фактура 42.xls"));
    const QByteArray blankForm = fileBytes(folder_.form());
    trigger(window, "saveAsAction");
    auto* dialog = child<QFileDialog>(window, "saveAsDialog");
    ASSERT_NE(dialog, nullptr);
    const QString proposed = dialog->selectedFiles().value(0);
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("/Faktura.xls"))) << proposed.toStdString();
    EXPECT_NE(QFileInfo(proposed).absolutePath(), QFileInfo(folder_.form()).absolutePath()) << "the blank form is proposed";
    chooseFile(window, "saveAsDialog", copy);

    const auto saved = store::Workbook::open(copy);
    EXPECT_EQ(saved->sheets(1).value(invoice::kFirstLineRow, invoice::kNameColumn), store::Value(kThreeLines[0].name));
    EXPECT_EQ(saved->sheets(1).value(invoice::kFirstLineRow, invoice::kCountColumn), store::Value(double(kThreeLines[0].count)));
    EXPECT_EQ(fileBytes(folder_.form()), blankForm);   // the blank form stays blank
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Фактура 42.xls"));
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(WorkbookWindowTest, SavingOverAnExistingFileAsksFirst)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    const QString other = folder_.file(QStringLiteral("Фактура 41.xls"));
    ASSERT_TRUE(QFile::copy(folder_.form(), other));
    const QByteArray blankForm = fileBytes(other);

    messages_.answerNext(app::Answer::Cancel);
    trigger(window, "saveAsAction");
    chooseFile(window, "saveAsDialog", other);
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].kind, app::MessageKind::Confirmation);
    EXPECT_TRUE(messages_.texts()[0].contains(QStringLiteral("Фактура 41.xls"))) << messages_.texts()[0].toStdString();
    EXPECT_EQ(fileBytes(other), blankForm);

    messages_.answerNext(app::Answer::Ok);
    trigger(window, "saveAsAction");
    chooseFile(window, "saveAsDialog", other);
    EXPECT_EQ(messages_.messages().size(), 2u);
    EXPECT_EQ(store::Workbook::open(other)->sheets(1).value(invoice::kFirstLineRow, invoice::kNameColumn),
              store::Value(kThreeLines[0].name));
}

TEST_F(WorkbookWindowTest, TheShopsDataInvoiceFormAndArchiveAreNeverWrittenFromTheWindow)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QFile::copy(folder_.form(), folder_.file(QStringLiteral("Danni.xls"))));
    QStringList targets = {folder_.form(), folder_.file(QStringLiteral("Danni.xls"))};
    // The archive, the issued invoices and the ledgers' old years.
    for (const QString& kept : {QStringLiteral("Arhiv/Danni-2026-12-07.xls"), QStringLiteral("Fakturi/2026/0000000001.xls"),
                                QStringLiteral("Dnevnici/Danni-2025.xls")}) {
        targets << folder_.file(kept);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(targets.last()).absolutePath()));
        ASSERT_TRUE(QFile::copy(folder_.form(), targets.last()));
    }
    const QByteArray before = fileBytes(folder_.form());
#ifndef _WIN32   // on Windows QFile::link makes a shortcut file, which no path goes through
    // Also when reached through a link to the folder.
    const QString link = folder_.file(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(folder_.file(QString()), link));
    targets << link + QStringLiteral("/Faktura.xls");
#endif
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        messages_.clear();
        messages_.answerNext(app::Answer::Ok);
        trigger(window, "saveAsAction");
        chooseFile(window, "saveAsDialog", target);
        ASSERT_EQ(messages_.messages().size(), 1u);
        EXPECT_EQ(messages_.messages()[0].kind, app::MessageKind::Warning);
        EXPECT_EQ(fileBytes(target), before);
    }
    // Nor as a PDF.
    messages_.clear();
    trigger(window, "exportPdfAction");
    chooseFile(window, "exportPdfDialog", folder_.file(QStringLiteral("Danni.xls")));
    EXPECT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(fileBytes(folder_.file(QStringLiteral("Danni.xls"))), before);
}

TEST_F(WorkbookWindowTest, ExportToPdfWritesTheSheetOnScreen)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    const QString pdf = folder_.file(QStringLiteral("invoice.pdf"));
    trigger(window, "exportPdfAction");
    chooseFile(window, "exportPdfDialog", pdf);
    const QString text = testsupport::pdfText(pdf);
    for (const InvoiceLine& line : kThreeLines) EXPECT_TRUE(text.contains(line.name)) << text.toStdString();
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(WorkbookWindowTest, PrintShowsThePreviewFromWhichTheSheetGoesOnThePrinter)
{
    WorkbookWindow* window = show();
    ASSERT_NE(window, nullptr);
    const QString pdf = folder_.file(QStringLiteral("printed.pdf"));
    EXPECT_EQ(child<QAction>(window, "printAction")->toolTip(),
              QStringLiteral("Печат (%1)").arg(QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText)));
    trigger(window, "printAction");
    ASSERT_NE(shownPreview(*window), nullptr);
    EXPECT_EQ(shownPreview(*window)->pageCount(), 1);
    ASSERT_TRUE(printFromPreview(*window, pdf));
    settle();
    const QString text = testsupport::pdfText(pdf);
    EXPECT_TRUE(text.contains(kThreeLines[2].name)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ФАКТУРА")));
    EXPECT_NEAR(testsupport::pdfPageSize(pdf).width, 595.28, 0.5);
}
