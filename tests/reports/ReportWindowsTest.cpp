// The three report windows driven as the shop keeper drives them: the main window's entries, the
// date lists and pickers, the messages, the lists that move together.
#include "Ledgers.h"
#include "ReportTestSupport.h"
#include "ReportWindows.h"

#include "app/support/Keyboard.h"
#include "app/support/MessageRecorder.h"
#include "app/support/Previews.h"

#include "reports/Form11.h"
#include "reports/Form12.h"
#include "reports/ChartView.h"
#include "reports/Form9.h"
#include "reports/DateField.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCalendarWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using store::Value;
using namespace Qt::StringLiterals;

namespace {

// 1 March: two sales, 3 March: two sales, 5 March: thirty sales of one piece at 0.10.
void fillShop(ShopFolder& shop)
{
    ledgers::addSales(shop.data(), {{u"1. 03. 2011"_s, u"Топка"_s, 2, 1.15, "0000000001", 1.0},
                                    {u"1. 03. 2011"_s, u"Кукла"_s, 1, 3.35, "0000000001", 2.0},
                                    {u"3. 03. 2011"_s, u"Влакче"_s, 1, 12.5, Value(7), 10.0},
                                    {u"3. 03. 2011"_s, u"Кубчета"_s, 4, 2.25, Value(), 2.0}});
    std::vector<ledgers::Sale> many;
    for (int i = 1; i <= 30; ++i) many.push_back({u"5. 03. 2011"_s, u"Бонбон %1"_s.arg(i), 1, 0.10, Value(), 0.05});
    ledgers::addSales(shop.data(), many);
    ledgers::addPurchases(shop.data(), {{u"2. 03. 2011"_s, u"Топка"_s, Value("10"), Value("1,00")},
                                        {u"4. 03. 2011"_s, u"Влакче"_s, Value("2"), Value("10")}});
}

bool listsShowRow(const std::vector<QListView*>& lists, int row)
{
    for (QListView* list : lists) {
        const QModelIndex index = list->model()->index(row, list->modelColumn());
        if (!list->selectionModel()->isSelected(index)) return false;
    }
    return true;
}

} // namespace

TEST(SoldGoodsWindow, DateListsChooseThePeriodAndTheFiveListsShowItsRows)
{
    ReportWindows session(fillShop);
    reports::Form9& f = session.openSold();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.windowTitle(), u"Справка за продадени стоки"_s);
    EXPECT_EQ(comboEntries(f.Combo1), (QStringList{u"1. 03. 2011"_s, u"3. 03. 2011"_s, u"5. 03. 2011"_s}));
    EXPECT_EQ(f.Combo1->currentIndex(), -1);
    EXPECT_TRUE(f.Combo2->isHidden());
    EXPECT_TRUE(f.Label2->isHidden());

    MessageRecorder messages;
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{u"Изберете от дата ... до дата ..."_s});

    pickEntry(f.Combo1, 1);
    EXPECT_FALSE(f.Combo2->isHidden());
    EXPECT_FALSE(f.Label2->isHidden());
    EXPECT_EQ(comboEntries(f.Combo2), (QStringList{u"3. 03. 2011"_s, u"5. 03. 2011"_s}));
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts().size(), 2) << "the to-date is not chosen yet";

    pickEntry(f.Combo2, 0);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(listEntries(f.List1), (QStringList{u"3. 03. 2011"_s, u"3. 03. 2011"_s}));
    EXPECT_EQ(listEntries(f.List2), (QStringList{u"Влакче"_s, u"Кубчета"_s}));
    EXPECT_EQ(listEntries(f.List3), (QStringList{u"1"_s, u"4"_s}));
    EXPECT_EQ(listEntries(f.List4), (QStringList{u"12,50"_s, u"2,25"_s}));
    EXPECT_EQ(listEntries(f.List5), (QStringList{u"0000000007"_s, u"Няма фактура"_s}));
    EXPECT_EQ(f.Text1->text(), u"21,50"_s);

    // Choosing another from-date offers the to-dates from it on, none chosen yet.
    pickEntry(f.Combo1, 0);
    EXPECT_EQ(comboEntries(f.Combo2), (QStringList{u"1. 03. 2011"_s, u"3. 03. 2011"_s, u"5. 03. 2011"_s}));
    pickEntry(f.Combo2, 2);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(listEntries(f.List2).size(), 34);
    EXPECT_EQ(f.Text1->text(), u"30,15"_s);
}

TEST(SoldGoodsWindow, ListsSelectTheSamePositionAndScrollTogether)
{
    ReportWindows session(fillShop);
    reports::Form9& f = session.openSold();
    reportPeriod(f, QDate(2011, 3, 1), QDate(2011, 3, 31));
    const std::vector<QListView*> lists{f.List1, f.List2, f.List3, f.List4, f.List5};
    ASSERT_EQ(f.List1->model()->rowCount(), 34);

    for (QListView* clicked : {f.List3, f.List1, f.List5}) {
        const int row = clicked == f.List3 ? 2 : clicked == f.List1 ? 0 : 5;
        QTest::mouseClick(clicked->viewport(), Qt::LeftButton, {},
                          clicked->visualRect(clicked->model()->index(row, clicked->modelColumn())).center());
        EXPECT_TRUE(listsShowRow(lists, row)) << clicked->objectName().toStdString();
        EXPECT_FALSE(listsShowRow(lists, row == 0 ? 1 : 0));
    }

    QScrollBar* bar = f.List5->verticalScrollBar();
    ASSERT_GE(bar->maximum(), 10) << "the thirty-four rows do not fit";
    bar->setValue(10);
    for (QListView* list : lists) EXPECT_EQ(list->indexAt(QPoint(5, 5)).row(), 10) << list->objectName().toStdString();
    // Moving to the end of another list scrolls the fifth as well.
    QTest::keyClick(f.List2, Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(listsShowRow(lists, 33));
}

TEST(ReportCharts, StandBesideTheSoldListsAndTheProfitAndShowEachReport)
{
    ReportWindows session(fillShop);
    reports::Form9& sold = session.openSold();
    auto* overTime = sold.findChild<reports::ChartView*>(u"Chart1"_s);
    auto* top = sold.findChild<reports::ChartView*>(u"Chart2"_s);
    ASSERT_TRUE(overTime && top);
    for (QWidget* chart : {static_cast<QWidget*>(overTime), static_cast<QWidget*>(top)}) {
        EXPECT_TRUE(chart->isVisible());
        EXPECT_FALSE(chart->geometry().intersects(sold.List5->geometry()));
        EXPECT_TRUE(sold.rect().contains(chart->geometry()));
    }
    reportPeriod(sold, QDate(2011, 3, 1), QDate(2011, 3, 5));
    EXPECT_EQ(overTime->picture().title, u"Продажби по дни"_s);
    EXPECT_EQ(overTime->picture().bars.size(), 5u);
    ASSERT_EQ(top->picture().bars.size(), 10u) << "four goods and thirty sweets";
    EXPECT_EQ(top->picture().bars.front().label, u"Влакче"_s);
    MessageRecorder messages;
    reportPeriod(sold, QDate(2011, 4, 1), QDate(2011, 4, 30));
    EXPECT_TRUE(overTime->picture().bars.empty()) << "no chart of the last report stays";

    reports::Form12* profit = session.openProfit();
    ASSERT_NE(profit, nullptr);
    auto* profitTop = profit->findChild<reports::ChartView*>(u"Chart2"_s);
    ASSERT_TRUE(profitTop && profit->findChild<reports::ChartView*>(u"Chart1"_s));
    EXPECT_TRUE(profitTop->isVisible());
    EXPECT_TRUE(profit->rect().contains(profitTop->geometry()));
    reportPeriod(*profit, QDate(2011, 3, 1), QDate(2011, 3, 3));
    EXPECT_EQ(profitTop->picture().title, u"Първите 10 стоки по печалба"_s);
    ASSERT_EQ(profitTop->picture().bars.size(), 4u);
    EXPECT_EQ(profitTop->picture().bars.front().label, u"Влакче"_s);
}

TEST(SoldGoodsWindow, PickersStartAtTheStoredDayAndReportOrExplain)
{
    ReportWindows session(fillShop);
    reports::Form9& f = session.openSold();
    for (reports::DateField* picker : {f.DTPicker1, f.DTPicker2}) EXPECT_EQ(picker->date(), QDate::currentDate());
    // Both ways of choosing stand side by side, each with its own button.
    EXPECT_FALSE(f.Frame1->geometry().intersects(f.Frame2->geometry()));
    EXPECT_EQ(caption(f.Command1), u"Справка"_s);
    EXPECT_EQ(caption(f.Command2), u"Справка"_s);

    // Alt+Down opens the calendar on the field's day; a day picked there goes into the field.
    QTest::keyClick(f.DTPicker1, Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget* calendar = f.DTPicker1->calendar();
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate::currentDate());
    calendar->setSelectedDate(QDate(2011, 3, 5));
    QTest::keyClick(calendar->focusProxy(), Qt::Key_Return);
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_EQ(f.DTPicker1->text(), u"5. 03. 2011"_s);
    f.DTPicker2->setDate(QDate(2011, 3, 5));

    MessageRecorder messages;
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(listEntries(f.List2).size(), 30);
    EXPECT_EQ(f.Text1->text(), u"3,00"_s);
    EXPECT_TRUE(messages.texts().isEmpty());

    reportPeriod(f, QDate(2011, 3, 2), QDate(2011, 3, 2));
    EXPECT_TRUE(listEntries(f.List1).isEmpty());
    EXPECT_EQ(f.Text1->text(), u"0,00"_s);
    EXPECT_TRUE(messages.texts().isEmpty());

    reportPeriod(f, QDate(2011, 3, 3), QDate(2011, 3, 1));
    EXPECT_EQ(messages.texts(), QStringList{u"Моля въведете датите коректно"_s});
    EXPECT_TRUE(f.Text1->text().isEmpty());

    reportPeriod(f, QDate(2011, 3, 1), QDate(2011, 3, 31));
    ASSERT_EQ(listEntries(f.List1).size(), 34);
    reportPeriod(f, QDate(2011, 4, 1), QDate(2011, 4, 30));
    EXPECT_EQ(messages.texts().last(), u"За посочения период няма продадени стоки"_s);
    EXPECT_TRUE(listEntries(f.List1).isEmpty());
    EXPECT_TRUE(f.Text1->text().isEmpty());
}

TEST(SoldGoodsWindow, OpeningAgainRefillsTheDatesOnceAndAnEmptyLedgerOffersThePlaceholder)
{
    ReportWindows session;
    app::Form1& w = session.mainWindow;
    reports::Form9& f = session.openSold();
    EXPECT_EQ(comboEntries(f.Combo1), QStringList{u"Няма продадена стока"_s});
    pickEntry(f.Combo1, 0);
    pickEntry(f.Combo2, 0);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_TRUE(listEntries(f.List1).isEmpty());
    EXPECT_EQ(f.Text1->text(), u"0,00"_s);

    // A sale recorded while the window is open shows after "Справка продажби" again.
    ledgers::addSales(session.run.program.shop().data(), {{u"9. 03. 2011"_s, u"Топка"_s, 1, 2.0}});
    w.Command10->click();
    EXPECT_EQ(session.window<reports::Form9>(9), &f);
    EXPECT_EQ(comboEntries(f.Combo1), QStringList{u"9. 03. 2011"_s});
    EXPECT_TRUE(f.Combo2->isHidden());
    w.Command10->click();
    EXPECT_EQ(comboEntries(f.Combo1), QStringList{u"9. 03. 2011"_s});

    MessageRecorder messages;
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{u"За посочения период няма продадени стоки"_s});
}

TEST(PurchasedGoodsWindow, OpensOnlyWhileDeleteArticleIsEnabledAndTotalsThePeriod)
{
    ReportWindows session(fillShop);
    app::Form1& w = session.mainWindow;
    w.Command8->setEnabled(false);
    EXPECT_EQ(session.openBought(), nullptr);

    reports::Form9& sold = session.openSold();
    QPointer<QWidget> soldWindow = &sold;
    w.Command8->setEnabled(true);
    reports::Form11* f = session.openBought();
    ASSERT_NE(f, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(soldWindow.isNull()) << "opening a report closes the other secondary windows";
    EXPECT_EQ(f->windowTitle(), u"Справка за закупени стоки"_s);
    EXPECT_EQ(caption(f->Command1), u"Справка за закупени стоки"_s);
    EXPECT_EQ(f->DTPicker1->date(), QDate::currentDate());

    MessageRecorder messages;
    reportPeriod(*f, QDate(2011, 3, 1), QDate(2011, 3, 31));
    EXPECT_EQ(listEntries(f->List2), (QStringList{u"Топка"_s, u"Влакче"_s}));
    EXPECT_EQ(listEntries(f->List3), (QStringList{u"10"_s, u"2"_s}));
    EXPECT_EQ(listEntries(f->List4), (QStringList{u"1,00"_s, u"10,00"_s}));
    EXPECT_EQ(f->Text1->text(), u"30,00"_s);
    QTest::mouseClick(f->List4->viewport(), Qt::LeftButton, {}, f->List4->visualRect(f->List4->model()->index(1, 3)).center());
    EXPECT_TRUE(listsShowRow({f->List1, f->List2, f->List3, f->List4}, 1));

    reportPeriod(*f, QDate(2011, 3, 3), QDate(2011, 3, 3));
    EXPECT_TRUE(listEntries(f->List1).isEmpty());
    EXPECT_EQ(f->Text1->text(), u"0,00"_s);
    reportPeriod(*f, QDate(2011, 5, 1), QDate(2011, 5, 3));
    reportPeriod(*f, QDate(2011, 3, 4), QDate(2011, 3, 2));
    EXPECT_EQ(messages.texts(),
              (QStringList{u"За посочения период няма закупени стоки"_s, u"Моля въведете датите коректно"_s}));
    EXPECT_TRUE(f->Text1->text().isEmpty());

    // "Начало" leaves it open.
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_EQ(session.window<reports::Form11>(11), f);
}

TEST(ProfitWindow, TheFirstRequestAlreadyComputesAndReversedDatesKeepTheLastFigure)
{
    ReportWindows session(fillShop);
    reports::Form12* f = session.openProfit();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), u"Справка за печалба"_s);
    EXPECT_TRUE(f->Text1->text().isEmpty());
    EXPECT_EQ(f->DTPicker2->date(), QDate::currentDate());

    MessageRecorder messages;
    reportPeriod(*f, QDate(2011, 3, 3), QDate(2011, 3, 3));
    EXPECT_EQ(f->Text1->text(), u"3,50"_s);
    reportPeriod(*f, QDate(2011, 3, 1), QDate(2011, 3, 31));
    // 0.30 + 1.35 + 3.50 + 30 × 0.05
    EXPECT_EQ(f->Text1->text(), u"6,65"_s);
    reportPeriod(*f, QDate(2011, 3, 2), QDate(2011, 3, 1));
    EXPECT_EQ(messages.texts(), QStringList{u"Моля въведете датите коректно"_s});
    EXPECT_EQ(f->Text1->text(), u"6,65"_s);
    reportPeriod(*f, QDate(2011, 4, 1), QDate(2011, 4, 30));
    EXPECT_EQ(f->Text1->text(), u"0,00"_s);
    EXPECT_EQ(messages.texts().size(), 1);
}

TEST(ProfitWindow, AnEmptyLedgerSaysSoAndShowsZero)
{
    ReportWindows session;
    reports::Form12* f = session.openProfit();
    ASSERT_NE(f, nullptr);
    MessageRecorder messages;
    QTest::mouseClick(f->Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{u"Няма продадена стока"_s});
    EXPECT_EQ(f->Text1->text(), u"0,00"_s);
}

namespace {

QWidget* focused()
{
    return QApplication::focusWidget();
}

// Replaces what the focused date field holds by text, key by key, as the shop keeper types it.
void typeInto(reports::DateField* field, const QString& text)
{
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), text);
}

QStringList tabOrder(QWidget* first, int steps)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList names{focused()->objectName()};
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        names << focused()->objectName();
    }
    return names;
}

} // namespace

TEST(ReportDates, TypedDatesRunEachReportAndATextThatIsNoDateRunsNone)
{
    ReportWindows session(fillShop);
    app::Form1& w = session.mainWindow;
    MessageRecorder messages;

    reports::Form9& sold = session.openSold();
    activate(&sold);
    typeInto(sold.DTPicker1, u"1.3.2011"_s);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(sold.DTPicker1->text(), u"1. 03. 2011"_s) << "shown as the shop writes dates";
    typeInto(sold.DTPicker2, u"03/03/11"_s);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(listEntries(sold.List2), (QStringList{u"Топка"_s, u"Кукла"_s, u"Влакче"_s, u"Кубчета"_s}));
    EXPECT_EQ(sold.Text1->text(), u"27,15"_s);

    typeInto(sold.DTPicker2, u"31.02.2026"_s);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{u"„31.02.2026“ не е дата. Въведете дата като 15.11.2026."_s});
    EXPECT_EQ(listEntries(sold.List2).size(), 4) << "the report shown stays";
    EXPECT_EQ(sold.Text1->text(), u"27,15"_s);
    EXPECT_TRUE(sold.DTPicker2->showsWrong());
    EXPECT_EQ(sold.DTPicker2->toolTip(), messages.texts().last());
    EXPECT_EQ(focused(), sold.DTPicker2);
    QTest::keyClicks(focused(), u"\b\b\b\b\b\b\b\b\b\b5-3-2011"_s);
    EXPECT_FALSE(sold.DTPicker2->showsWrong()) << "a corrected date is shown right at once";

    w.Command8->setEnabled(true);
    auto* bought = session.openBought();
    ASSERT_NE(bought, nullptr);
    activate(bought);
    typeInto(bought->DTPicker1, u"15.13.2011"_s);
    typeInto(bought->DTPicker2, u"31. 03. 2011"_s);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(messages.texts().last(), u"„15.13.2011“ не е дата. Въведете дата като 15.11.2026."_s);
    EXPECT_TRUE(listEntries(bought->List1).isEmpty());
    EXPECT_EQ(focused(), bought->DTPicker1);
    typeInto(bought->DTPicker1, u"01.03.2011"_s);
    QTest::keyClick(focused(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(listEntries(bought->List2), (QStringList{u"Топка"_s, u"Влакче"_s}));

    auto* profit = session.openProfit();
    ASSERT_NE(profit, nullptr);
    activate(profit);
    typeInto(profit->DTPicker1, u"3.3.2011"_s);
    typeInto(profit->DTPicker2, u"3.3.2011"_s);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(profit->Text1->text(), u"3,50"_s);
    typeInto(profit->DTPicker1, QString());
    QTest::keyClick(focused(), Qt::Key_Delete);
    QTest::mouseClick(profit->Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts().last(), u"Полето „от дата“ е празно. Въведете дата като 15.11.2026."_s);
    EXPECT_EQ(profit->Text1->text(), u"3,50"_s);
    EXPECT_EQ(messages.texts().size(), 3);
}

TEST(ReportKeys, TabFollowsTheLayoutEnterRunsTheReportOfItsPartAltKeysPressButtonsEscapeCloses)
{
    ReportWindows session(fillShop);
    MessageRecorder messages;

    reports::Form9& sold = session.openSold();
    activate(&sold);
    // The hidden to-date list is skipped; of the five lists moving together only the first is a stop.
    EXPECT_EQ(tabOrder(sold.Combo1, 9), (QStringList{u"Combo1"_s, u"Command1"_s, u"DTPicker1"_s, u"DTPicker2"_s, u"Command2"_s, u"List1"_s,
                                                     u"Command3"_s, u"Command4"_s, u"Text1"_s, u"Combo1"_s}));
    // Enter in the days with sales runs their report, in the calendar part the calendar's.
    sold.Combo1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{u"Изберете от дата ... до дата ..."_s});
    setPeriod(sold, QDate(2011, 3, 3), QDate(2011, 3, 3));
    sold.List1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(listEntries(sold.List2), (QStringList{u"Влакче"_s, u"Кубчета"_s}));
    EXPECT_TRUE(sold.Command2->isDefault());
    EXPECT_FALSE(sold.Command1->isDefault());
    // Alt and the underlined letter press the buttons; Ctrl+P prints through the preview.
    pressAlt(u'р');
    EXPECT_TRUE(QTest::qWaitFor([&] { return messages.texts().size() == 2; })) << "Alt+Р is the days' Справка";
    QTest::keyClick(focused(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_NE(shownPreview(sold), nullptr);
    EXPECT_TRUE(sold.Command3->toolTip().contains(QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText)));
    sold.findChild<QWidget*>(u"printPreview"_s)->close();
    activate(&sold);
    QPointer<QWidget> soldWindow = &sold;
    QTest::keyClick(focused(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(soldWindow.isNull());

    auto* profit = session.openProfit();
    ASSERT_NE(profit, nullptr);
    activate(profit);
    EXPECT_EQ(tabOrder(profit->DTPicker1, 5),
              (QStringList{u"DTPicker1"_s, u"DTPicker2"_s, u"Command1"_s, u"Text1"_s, u"Command2"_s, u"Command3"_s}));
    setPeriod(*profit, QDate(2011, 3, 3), QDate(2011, 3, 3));
    pressAlt(u'с');
    EXPECT_TRUE(QTest::qWaitFor([&] { return profit->Text1->text() == u"3,50"_s; }));
    // Enter on a focused button presses that button, not the default one.
    profit->Command2->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_NE(shownPreview(*profit), nullptr);
}
