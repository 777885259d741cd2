// The main window's frame: load, menus, "Начало", About, the invoice form and the way out.
#include "support/MessageRecorder.h"
#include "support/Mouse.h"
#include "support/RunningProgram.h"
#include "support/ShopFolder.h"

#include "app/Form13.h"
#include "common/Controls.h"
#include "showcase/Vitrina.h"
#include "support/Lists.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A caption as it reads, its mnemonic's marker left out.
QString withoutMnemonic(const QString& caption)
{
    return QString(caption).remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

std::vector<QWidget*> salePanel(const app::Form1& w)
{
    return {w.Label15, w.List2, w.List3, w.Combo1, w.Image8, w.Image9, w.Text4,
            w.Command1, w.Command9, w.Label16, w.Option1, w.Option2, w.Image7};
}

bool allHidden(const std::vector<QWidget*>& widgets)
{
    return std::all_of(widgets.begin(), widgets.end(), [](QWidget* w) { return w->isHidden(); });
}

bool allShown(const std::vector<QWidget*>& widgets)
{
    return std::all_of(widgets.begin(), widgets.end(), [](QWidget* w) { return !w->isHidden(); });
}

std::vector<QWidget*> detailsPanel(const app::Form1& w)
{
    return {w.Label21, w.Image5, w.Text3, w.Image2};
}

std::vector<QWidget*> banner(const app::Form1& w)
{
    return {w.Text1, w.Text2, w.Image4};
}

// A secondary window of a later part of the program, declared under its number.
QWidget* secondaryWindow(app::Shop& shop, int number)
{
    auto* w = new QWidget;
    w->setAttribute(Qt::WA_DeleteOnClose);
    shop.windows.declare(number, w);
    w->show();
    return w;
}

// A shop with two articles, the first of them with one goods record.
void twoArticles(ShopFolder& shop)
{
    store::Worksheet& toys = shop.addArticle(QStringLiteral("Играчки"));
    shop.addGoods(toys, {QStringLiteral("Топка"), 4.5, 3});
    shop.addArticle(QStringLiteral("Дрехи"));
    shop.save();
}

} // namespace

TEST(MainWindow, LoadShowsDateArticlesAndBannerWithPanelsClosed)
{
    ShopFolder shop;
    twoArticles(shop);
    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Тервин за детски стоки"));
    const QDate today = QDate::currentDate();
    EXPECT_EQ(w.Label22->text(), QStringLiteral("%1. %2. %3").arg(today.day()).arg(today.month(), 2, 10, QLatin1Char('0')).arg(today.year()));
    // New sheets go before the active one, so the later article comes first.
    EXPECT_EQ(entries(w.List1), (QStringList{QStringLiteral("  Дрехи"), QStringLiteral("  Играчки")}));
    EXPECT_TRUE(allShown(banner(w)));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("        Добре дошли в нашият"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("       тервин за детски стоки"));
    EXPECT_EQ(w.Image4->geometry(), QRect(296, 152, 441, 329));
    EXPECT_TRUE(allHidden(salePanel(w)));
    EXPECT_TRUE(allHidden(detailsPanel(w)));
    EXPECT_EQ(w.Image2->pos(), QPoint(729, 89));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.Option2->isChecked());
    EXPECT_FALSE(w.Option1->isChecked());
    EXPECT_FALSE(w.Flag7);
    EXPECT_EQ(w.NachalenRed, 2);
    EXPECT_LT(w.Command6->geometry().right(), 0);
    EXPECT_LT(w.Command10->geometry().right(), 0);
    ASSERT_NE(run.program.shop().FakturaEksel, nullptr);
    EXPECT_EQ(run.program.shop().FakturaEksel->Workbooks().Count(), 1);
    EXPECT_TRUE(messages.messages().empty());
}

// The shop's counts are formulas: a data workbook last saved with manual calculation and a stale
// count still gives the true one, so no goods record is written over.
TEST(MainWindow, TheCountsAreUpToDateWhenTheWorkbookCalculatesByHand)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(QStringLiteral("Играчки"));
    shop.addGoods(toys, {QStringLiteral("Топка"), 4.5, 3});
    shop.addGoods(toys, {QStringLiteral("Кукла"), 9.0, 1});
    const auto count = store::layout::article::kCountFormulaCell;
    const store::Formula counting = toys.formulaAt(count.row, count.col)->formula;
    toys.putFormula(count.row, count.col, counting, store::Value(0), toys.formatAt(count.row, count.col));
    toys.keepFileValues(true);
    shop.workbook().kept().manualCalculation = true;
    shop.save();

    RunningProgram run(shop.path());
    run.logIn();
    store::Workbook& data = *run.program.shop().ObektEksel->ActiveWorkbook();
    EXPECT_TRUE(data.kept().manualCalculation);
    EXPECT_EQ(store::DataWorkbook(data).goodsCount(data.sheets(QStringLiteral("Играчки"))), 2);
}

TEST(MainWindow, MenuTreeNamesAndCaptions)
{
    ShopFolder shop;
    twoArticles(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    const std::vector<std::pair<QString, QStringList>> menus{
        {QStringLiteral("Nalichnost"), {QStringLiteral("Наличност"), QStringLiteral("Nachalo"), QStringLiteral("начало"), QStringLiteral("nastoka"), QStringLiteral("липсващи стоки")}},
        {QStringLiteral("Sortirane"), {QStringLiteral("Сортиране"), QStringLiteral("poimesort"), QStringLiteral("по име"), QStringLiteral("pocenasort"), QStringLiteral("по цена")}},
        {QStringLiteral("Tyrsene"), {QStringLiteral("Търсене"), QStringLiteral("poime"), QStringLiteral("по име"), QStringLiteral("pocena"), QStringLiteral("по цена"), QStringLiteral("napromocia"), QStringLiteral("на промоция")}},
        {QStringLiteral("Dobavi"), {QStringLiteral("Добави"), QStringLiteral("artikuldob"), QStringLiteral("артикул"), QStringLiteral("stokadob"), QStringLiteral("стока")}},
        {QStringLiteral("Spravki"), {QStringLiteral("Справка"), QStringLiteral("prodadenistoki"), QStringLiteral("продадени стоки"), QStringLiteral("zakupenistoki"), QStringLiteral("закупени стоки"), QStringLiteral("Pechalba"), QStringLiteral("печалба"), QStringLiteral("zaporachka"), QStringLiteral("За поръчка"), QStringLiteral("vrashtane"), QStringLiteral("Връщане на стока"), QStringLiteral("fakturi"), QStringLiteral("издадени фактури")}},
        {QStringLiteral("Iztrii"), {QStringLiteral("Изтрий"), QStringLiteral("artikul"), QStringLiteral("артикул"), QStringLiteral("stoka"), QStringLiteral("стока")}},
        {QStringLiteral("ZaProgramata"), {QStringLiteral("За програмата"), QStringLiteral("obshto"), QStringLiteral("общо"), QStringLiteral("poveche"), QStringLiteral("повече"), QStringLiteral("arhiv"), QStringLiteral("архивни копия"), QStringLiteral("evro"), QStringLiteral("Преминаване към евро"), QStringLiteral("izhod"), QStringLiteral("изход")}},
    };
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), qsizetype(menus.size()));
    for (size_t m = 0; m < menus.size(); ++m) {
        QMenu* menu = bar[qsizetype(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), menus[m].first);
        QStringList seen{withoutMnemonic(menu->title())};
        for (QAction* entry : menu->actions()) seen << entry->objectName() << withoutMnemonic(entry->text());
        EXPECT_EQ(seen, menus[m].second);
    }

    // Entries that do what a button does press that button (with no article chosen, the catalogue
    // buttons ask for one).
    MessageRecorder messages;
    const std::vector<std::pair<QAction*, QPushButton*>> sameAsButton{
        {w.artikuldob, w.Command7}, {w.stokadob, w.Command5}, {w.prodadenistoki, w.Command10},
        {w.artikul, w.Command8}, {w.stoka, w.Command5}};
    for (const auto& [entry, button] : sameAsButton) {
        QSignalSpy pressed(button, &QPushButton::clicked);
        entry->trigger();
        EXPECT_EQ(pressed.count(), 1) << entry->objectName().toStdString();
    }

    // "Изтрий → стока" readies the goods editor's delete button once the editor is there.
    QWidget* editor = secondaryWindow(run.program.shop(), 4);
    auto* remove = new QPushButton(QStringLiteral("Изтриване"), editor);
    remove->setObjectName(QStringLiteral("Command2"));
    auto* other = new QPushButton(QStringLiteral("Добави"), editor);
    remove->show();
    other->show();
    other->setFocus();
    w.stoka->trigger();
    EXPECT_EQ(editor->focusWidget(), remove);
    editor->close();
}

TEST(MainWindow, NoArticleLoadsTheSingleEntryAndDrawsEmptySlots)
{
    ShopFolder shop;
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    ASSERT_EQ(entries(w.List1), QStringList{QStringLiteral("Няма наличност")});
    EXPECT_TRUE(allShown(banner(w)));
    clickRow(w.List1, 0);
    EXPECT_TRUE(allHidden(banner(w)));
    for (const QLabel* label : {w.Label4, w.Label6, w.Label9, w.Label2, w.Label3, w.Label7, w.Label8, w.Label10,
                                w.Label11, w.Label18, w.Label19, w.Label20})
        EXPECT_TRUE(label->text().isEmpty()) << label->objectName().toStdString();
    for (const app::ImageBox* picture : w.Image1)
        EXPECT_TRUE(nearColour(shownColour(picture), ShopFolder::kNoPictureColour)) << picture->objectName().toStdString();
    EXPECT_TRUE(allHidden(salePanel(w)));
    EXPECT_EQ(w.BroiStoki, 0);
    // Details and paging do nothing without an article.
    QTest::mouseClick(w.Label12, Qt::LeftButton);
    EXPECT_TRUE(allHidden(detailsPanel(w)));
}

TEST(MainWindow, HomeClosesPanelsAndTheFirstSecondaryWindowsOnly)
{
    ShopFolder shop;
    twoArticles(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    clickRow(w.List1, 1);
    ASSERT_TRUE(allShown(salePanel(w)));
    QTest::mouseClick(w.Label12, Qt::LeftButton);
    ASSERT_TRUE(allShown(detailsPanel(w)));
    app::Shop& s = run.program.shop();
    QPointer<QWidget> editor = secondaryWindow(s, 4);
    QPointer<QWidget> soldReport = secondaryWindow(s, 9);
    QPointer<QWidget> boughtReport = secondaryWindow(s, 11);

    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_TRUE(allHidden(salePanel(w)));
    EXPECT_TRUE(allHidden(detailsPanel(w)));
    EXPECT_TRUE(allShown(banner(w)));
    EXPECT_EQ(currentRow(w.List1), 1);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Топка"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(soldReport.isNull());
    ASSERT_FALSE(boughtReport.isNull());
    EXPECT_TRUE(boughtReport->isVisible());
    EXPECT_FALSE(run.login().isVisible());

    // A click on the article still chosen shows it again; the menu entry goes home as well.
    clickRow(w.List1, 1);
    EXPECT_TRUE(allHidden(banner(w)));
    EXPECT_TRUE(allShown(salePanel(w)));
    w.Nachalo->trigger();
    EXPECT_TRUE(allHidden(salePanel(w)));
    EXPECT_TRUE(allShown(banner(w)));
    boughtReport->close();
}

TEST(MainWindow, AboutClosesSecondaryWindowsButNotItself)
{
    ShopFolder shop;
    twoArticles(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    app::Shop& s = run.program.shop();
    QPointer<QWidget> search = secondaryWindow(s, 3);
    QPointer<QWidget> profit = secondaryWindow(s, 12);
    w.obshto->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(search.isNull());
    EXPECT_TRUE(profit.isNull());
    auto* about = qobject_cast<app::Form13*>(s.windows.window(13));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("       За програмата"));
    EXPECT_TRUE(about->Label1->text().contains(QStringLiteral("Тази информационна система е направена с учебна цел.")));
    EXPECT_TRUE(about->Text1->text().startsWith(QStringLiteral("Виж още:")));
    EXPECT_TRUE(about->Text1->isReadOnly() && about->Text2->isReadOnly());
    // The hidden login window is closed as a window; the data workbook stays open.
    EXPECT_NE(s.ObektEksel, nullptr);
    EXPECT_NO_THROW(s.danni());
    // Opening it again brings the same window.
    w.obshto->trigger();
    EXPECT_EQ(s.windows.window(13), about);
    QPointer<app::Form13> closing = about;
    QTest::mouseClick(about->Command1, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(s.windows.window(13), nullptr);
}

TEST(MainWindow, MissingInvoiceFormIsReportedOnceAndTheWindowWorks)
{
    ShopFolder shop;
    twoArticles(shop);
    QFile::remove(shop.file(QStringLiteral("Faktura.xls")));
    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Failure);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("Faktura.xls")));
    clickRow(w.List1, 1);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Топка"));
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST(MainWindow, ExitQuitsBothApplicationsWithoutSavingOrAsking)
{
    for (const bool invoiceOnScreen : {false, true}) {
        ShopFolder shop;
    twoArticles(shop);
        const QByteArray before = shop.bytes(QStringLiteral("Danni.xls"));
        MessageRecorder messages;
        RunningProgram run(shop.path());
        app::Form1& w = run.logIn();
        app::Shop& s = run.program.shop();
        s.danni().sheets(1).setValue(9, 9, store::Value(QStringLiteral("не се записва")));
        s.FakturaEksel->Workbooks()(1).sheets(1).setValue(1, 1, store::Value(7));
        s.FakturaEksel->setVisible(invoiceOnScreen);
        QPointer<QWidget> editor = secondaryWindow(s, 4);
        QPointer<QWidget> bought = secondaryWindow(s, 11);
        w.izhod->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(s.ObektEksel, nullptr);
        EXPECT_EQ(s.FakturaEksel, nullptr);
        EXPECT_TRUE(editor.isNull());
        EXPECT_TRUE(bought.isNull());
        EXPECT_TRUE(run.ended());
        EXPECT_TRUE(messages.messages().empty());
        EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), before);
    }
}

TEST(MainWindow, SpreadsheetQuestionsAndFailuresReachTheUser)
{
    ShopFolder shop;
    twoArticles(shop);
    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    app::Shop& s = run.program.shop();
    // With its alerts on, the spreadsheet asks before it deletes a sheet; Cancel keeps it.
    messages.answerNext(app::Answer::Cancel);
    EXPECT_FALSE(s.danni().sheets(QStringLiteral("Дрехи")).Delete());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Confirmation);
    EXPECT_NE(s.danni().findSheet(QStringLiteral("Дрехи")), nullptr);

    // A failing spreadsheet under a click ends the click with a message, not the program.
    app::quitWithoutAsking(s.ObektEksel);
    clickRow(w.List1, 1);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[1].kind, app::MessageKind::Failure);
    EXPECT_TRUE(messages.texts()[1].contains(QStringLiteral("Danni.xls")));
    EXPECT_TRUE(w.isVisible());
}
