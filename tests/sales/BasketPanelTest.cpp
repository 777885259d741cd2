// The basket beside the sale panel, the sale panel's keys and the document dialogs' keys, driven
// as the shop keeper drives them.
#include "SaleCounter.h"

#include "app/support/Keyboard.h"
#include "app/support/MessageRecorder.h"

#include "sales/Form7.h"
#include "sales/KoshnicaView.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

namespace index = store::layout::index;

const QString& kToys = SaleShop::kToys;
const QString& kBooks = SaleShop::kBooks;
const QString kBall = QStringLiteral("Топка");
const QString kDoll = QStringLiteral("Кукла");
const QString kTales = QStringLiteral("Приказки");

QStringList basketRows(const sales::KoshnicaView* view)
{
    QStringList rows;
    for (int i = 0; i < view->koshnicaList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = view->koshnicaList->topLevelItem(i);
        QStringList cells;
        for (int column = 0; column < item->columnCount(); ++column) cells << item->text(column);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void clickLine(sales::KoshnicaView* view, int line)
{
    QTreeWidget* list = view->koshnicaList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(line - 1)).center());
}

// What a widget gets from a double click: press, release, double click, release.
void doubleClick(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton);
    QTest::mouseDClick(control, Qt::LeftButton);
    QTest::mouseRelease(control, Qt::LeftButton);
}

void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus ? focus : window, key, modifiers);
}

} // namespace

TEST(BasketPanel, ShowsLinesAndTotalTakesAnyLineBackAndADoubleClickSellsOnce)
{
    const SaleShop shop;
    Counter c(shop);
    activate(&c.w);
    MessageRecorder messages;
    sales::KoshnicaView* view = c.w.koshnica;
    EXPECT_FALSE(view->isVisible());
    c.add(kToys, kBall, 2);
    c.add(kToys, kDoll, 1);
    c.add(kBooks, kTales, 3);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(basketRows(view), (QStringList{QStringLiteral("Топка|2|5,50|11,00"), QStringLiteral("Кукла|1|12,00|12,00"), QStringLiteral("Приказки|3|4,40|13,20")}));
    EXPECT_EQ(view->koshnicaTotal->text(), QStringLiteral("Общо: 36,20 лв."));

    // The doll, in the middle, goes back by the Delete key; the lines after it move up.
    clickLine(view, 2);
    QTest::keyClick(view->koshnicaList, Qt::Key_Delete);
    EXPECT_EQ(c.stock(kToys, 3), 3);
    EXPECT_EQ(c.sold(kToys, 3), 0);
    EXPECT_EQ(c.stock(kToys, 2), 8);
    EXPECT_EQ(c.w.Text4->text(), QStringLiteral("2"));
    EXPECT_EQ(basketRows(view), (QStringList{QStringLiteral("Топка|2|5,50|11,00"), QStringLiteral("Приказки|3|4,40|13,20")}));
    EXPECT_FALSE(view->vyrniReda->isEnabled()) << "a line stands ready for a second return";

    // "Върни реда" does the same, and the stock list of the article shown follows.
    clickLine(view, 2);
    QTest::mouseClick(view->vyrniReda, Qt::LeftButton);
    EXPECT_EQ(c.stock(kBooks, 2), 5);
    EXPECT_EQ(entries(c.w.List3).value(0), QStringLiteral("5"));
    EXPECT_EQ(view->koshnicaTotal->text(), QStringLiteral("Общо: 11,00 лв."));

    // A double click on "Продажба" records the basket once and says so in the status bar.
    c.add(kToys, kDoll, 1);
    doubleClick(c.w.Command1);
    EXPECT_TRUE(messages.texts().isEmpty()) << qPrintable(messages.texts().join(QLatin1Char('|')));
    EXPECT_EQ(c.data().counter(index::kSalesRows), 2);
    EXPECT_EQ(c.w.statusBar()->currentMessage(), QStringLiteral("Продажбата е записана: 2 реда, 23,00 лв."));
    EXPECT_TRUE(basketRows(view).isEmpty());
}

TEST(BasketPanel, SaleKeysActWithThePanelShownAndDialogsAnswerEnterAndEscape)
{
    const SaleShop shop;
    Counter c(shop);
    activate(&c.w);
    MessageRecorder messages;
    c.chooseArticle(kToys);
    c.pick(kBall, 2);
    press(&c.w, Qt::Key_Enter, Qt::ControlModifier);
    EXPECT_EQ(c.stock(kToys, 2), 8);
    press(&c.w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(c.stock(kToys, 2), 10);
    c.chooseArticle(kToys);
    c.pick(kBall, 2);
    press(&c.w, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(c.w.Text4->text(), QStringLiteral("1"));
    EXPECT_EQ(c.w.Image8->toolTip(), QStringLiteral("Добави стока (Ctrl+Enter)"));
    EXPECT_EQ(c.w.Command1->toolTip(), QStringLiteral("Продажба (F9)"));

    // With "да", F9 opens the invoice dialog; Escape closes it as its close box does.
    c.invoiceChoice(true);
    press(&c.w, Qt::Key_F9);
    QPointer<sales::Form6> dialog = c.invoiceDialog();
    ASSERT_FALSE(dialog.isNull());
    activate(dialog);
    press(dialog, Qt::Key_Escape);
    flushClosedWindows();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(c.data().counter(index::kSalesRows), 0);
    EXPECT_EQ(c.w.Text4->text(), QStringLiteral("1"));

    // Enter in a field shows the invoice.
    activate(&c.w);
    press(&c.w, Qt::Key_F9);
    dialog = c.invoiceDialog();
    ASSERT_FALSE(dialog.isNull());
    activate(dialog);
    dialog->Text5->setFocus();
    press(dialog, Qt::Key_Return);
    EXPECT_EQ(c.data().counter(index::kSalesRows), 1);
    EXPECT_EQ(c.data().counter(index::kLastInvoice), 1);
    EXPECT_EQ(c.w.statusBar()->currentMessage(),
              QStringLiteral("Продажбата е записана: 1 ред, 11,00 лв., фактура № 0000000001."));

    // The document choice closes on Escape.
    c.w.Command9->click();
    QPointer<QWidget> choice = c.shop().windows.window(7);
    ASSERT_FALSE(choice.isNull());
    activate(choice);
    press(choice, Qt::Key_Escape);
    flushClosedWindows();
    EXPECT_TRUE(choice.isNull());

    // With the sale panel closed, F9 sells nothing.
    activate(&c.w);
    c.invoiceChoice(false);
    c.add(kToys, kBall, 1);
    QTest::mouseClick(c.w.Image7, Qt::LeftButton);
    press(&c.w, Qt::Key_F9);
    EXPECT_EQ(c.data().counter(index::kSalesRows), 1);
    EXPECT_TRUE(messages.texts().isEmpty()) << qPrintable(messages.texts().join(QLatin1Char('|')));
}
