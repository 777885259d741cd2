// Articles from the main window: "Добави артикул" and its window, "Изтрий артикул", the goods
// editor's entry points, and the windows each of them closes.
#include "CatalogueWindows.h"
#include "FakeKeeper.h"

#include "app/support/MessageRecorder.h"
#include "app/support/ShopFolder.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace col = store::layout::article;
namespace idx = store::layout::index;

catalogue::Form5* openArticleWindow(RunningProgram& run)
{
    click(run.program.mainWindow()->Command7);
    catalogue::Form5* window = articleWindow(run);
    if (window) activate(window);
    return window;
}

void addArticle(catalogue::Form5* window, const QString& name)
{
    typeInto(window->Text1, name);
    click(window->Command1);
}

QPointer<QWidget> secondaryWindow(app::Shop& shop, int number)
{
    auto* w = new QWidget;
    w->setAttribute(Qt::WA_DeleteOnClose);
    shop.windows.declare(number, w);
    w->show();
    return w;
}

std::unique_ptr<store::Workbook> savedWorkbook(const ShopFolder& shop)
{
    return store::Workbook::open(shop.file(QStringLiteral("Danni.xls")));
}

} // namespace

TEST(ArticleWindow, AddsTheArticleListsItAndSavesIt)
{
    ShopFolder shop;
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    ASSERT_EQ(entries(w.List1), QStringList{QStringLiteral("Няма наличност")});
    catalogue::Form5* window = openArticleWindow(run);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Добави артикул"));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("Име на артикула"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("&Добави"));

    // Nothing typed: nothing happens.
    click(window->Command1);
    EXPECT_EQ(run.program.shop().data().counter(idx::kSheetCount), 1);

    addArticle(window, QStringLiteral("Кукли за баня"));
    EXPECT_EQ(entries(w.List1), QStringList{QStringLiteral("  Кукли за баня")});
    EXPECT_EQ(window->Text1->text(), QStringLiteral("Кукли за баня")) << "the window stays with its text";
    // Enter in the name adds it as "Добави" does; Escape closes the window.
    typeInto(window->Text1, QStringLiteral("Кукли"));
    QTest::keyClick(window->Text1, Qt::Key_Return);
    EXPECT_EQ(entries(w.List1), (QStringList{QStringLiteral("  Кукли за баня"), QStringLiteral("  Кукли")}));
    EXPECT_TRUE(QFileInfo(shop.file(QStringLiteral("Kartini/Кукли"))).isDir());
    QPointer<catalogue::Form5> closing = window;
    QTest::keyClick(window->Text1, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());

    const auto saved = savedWorkbook(shop);
    const store::DataWorkbook data(*saved);
    EXPECT_EQ(data.counter(idx::kSheetCount), 3);
    EXPECT_EQ(data.indexSheet().value(3, idx::kArticleNameColumn).toText(), QStringLiteral("Кукли за баня"));
    EXPECT_EQ(data.indexSheet().value(4, idx::kArticleNameColumn).toText(), QStringLiteral("Кукли"));
    ASSERT_NE(saved->findSheet(QStringLiteral("Кукли")), nullptr);
    EXPECT_EQ(data.goodsCount(saved->sheets(QStringLiteral("Кукли"))), 0);

    // The editor on the new article offers record number 1.
    clickRow(w.List1, 1);
    click(w.Command5);
    ASSERT_NE(goodsEditor(run), nullptr);
    EXPECT_EQ(goodsEditor(run)->Text8->text(), QStringLiteral("1"));
}

TEST(ArticleWindow, TakenAndUnfitNamesAreRefusedWithAMessage)
{
    ShopFolder shop;
    shop.addArticle(QStringLiteral("Кукли"));
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    catalogue::Form5* window = openArticleWindow(run);
    ASSERT_NE(window, nullptr);
    MessageRecorder messages;
    for (const QString& name : {QStringLiteral("КУКЛИ"), QStringLiteral("Кукли/баня"), QStringLiteral("list"),
                                QStringLiteral("Кукли "), QStringLiteral(".."), QString(32, QChar(0x0416))})
        addArticle(window, name);
    ASSERT_EQ(messages.texts().size(), 6);
    EXPECT_EQ(messages.texts()[0], QStringLiteral("Вече има артикул с такова име"));
    for (const app::Message& m : messages.messages()) EXPECT_EQ(m.kind, app::MessageKind::Warning);
    EXPECT_EQ(run.program.shop().data().counter(idx::kSheetCount), 2);
    EXPECT_EQ(run.program.shop().danni().sheetCount(), 2);
    EXPECT_EQ(entries(w.List1), QStringList{QStringLiteral("  Кукли")});
}

TEST(ArticleWindow, DeletingAsksThenRemovesSheetEntryAndShowsTheFirstArticle)
{
    ShopFolder shop;
    store::Worksheet& dolls = shop.addArticle(QStringLiteral("Кукли"));
    shop.addGoods(dolls, {QStringLiteral("Кукла"), 5.0, 1});
    store::Worksheet& cars = shop.addArticle(QStringLiteral("Коли"));
    shop.addGoods(cars, {QStringLiteral("Камион"), 9.0, 1});
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    ASSERT_EQ(entries(w.List1), (QStringList{QStringLiteral("  Коли"), QStringLiteral("  Кукли")}));
    FakeKeeper basket;
    run.program.shop().rowKeeper = &basket;
    MessageRecorder messages;

    click(w.Command8);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Моля изберете артикул")});

    clickRow(w.List1, 1);
    messages.clear();
    messages.answerNext(app::Answer::Cancel);
    click(w.Command8);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Наистина ли желаете да изтриете артикула?")});
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Confirmation);
    EXPECT_EQ(entries(w.List1).size(), 2);

    basket.sheets << QStringLiteral("Кукли");
    messages.clear();
    w.artikul->trigger();
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[1].contains(QStringLiteral("кошницата")));
    EXPECT_EQ(run.program.shop().danni().sheetCount(), 3);

    basket.sheets.clear();
    click(w.Command8);
    EXPECT_EQ(entries(w.List1), QStringList{QStringLiteral("  Коли")});
    EXPECT_EQ(currentRow(w.List1), 0);
    EXPECT_EQ(w.ImeNaList, QStringLiteral("Коли"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Камион"));
    const auto saved = savedWorkbook(shop);
    EXPECT_EQ(saved->findSheet(QStringLiteral("Кукли")), nullptr);
    EXPECT_EQ(store::DataWorkbook(*saved).counter(idx::kSheetCount), 2);
    EXPECT_EQ(store::DataWorkbook(*saved).indexSheet().value(3, idx::kArticleNameColumn).toText(), QStringLiteral("Кукли"));
    EXPECT_TRUE(QFileInfo(shop.file(QStringLiteral("Kartini/Кукли"))).isDir());

    click(w.Command8);
    EXPECT_EQ(entries(w.List1), QStringList{QStringLiteral("Няма налична стока")});
    EXPECT_EQ(run.program.shop().data().counter(idx::kSheetCount), 1);
    EXPECT_TRUE(w.Label4->text().isEmpty());
    EXPECT_EQ(w.BroiStoki, 0);
    // No article left: the buttons do nothing.
    const auto said = messages.texts().size();
    click(w.Command8);
    click(w.Command5);
    EXPECT_EQ(messages.texts().size(), said);
    EXPECT_EQ(goodsEditor(run), nullptr);

    // The first article added replaces the entry.
    catalogue::Form5* window = openArticleWindow(run);
    ASSERT_NE(window, nullptr);
    addArticle(window, QStringLiteral("Топки"));
    EXPECT_EQ(entries(w.List1), QStringList{QStringLiteral("  Топки")});
}

TEST(ArticleWindow, TheGoodsEditorNeedsAChosenArticleAndTheMenusLeadToIt)
{
    ShopFolder shop;
    shop.addArticle(QStringLiteral("Кукли"));
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    MessageRecorder messages;
    click(w.Command5);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Изберете артикул")});
    EXPECT_EQ(goodsEditor(run), nullptr);

    clickRow(w.List1, 0);
    w.stoka->trigger();
    catalogue::Form4* editor = goodsEditor(run);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->focusWidget(), editor->Command2);
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    w.Command5->setEnabled(false);
    w.stokadob->trigger();
    EXPECT_EQ(goodsEditor(run), nullptr);
    w.Command5->setEnabled(true);
    w.stokadob->trigger();
    EXPECT_NE(goodsEditor(run), nullptr);
    w.artikuldob->trigger();
    EXPECT_NE(articleWindow(run), nullptr);
}

TEST(ArticleWindow, EachCatalogueWindowClosesTheOtherSecondaryWindowsOnLoad)
{
    ShopFolder shop;
    shop.addArticle(QStringLiteral("Кукли"));
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    app::Shop& s = run.program.shop();
    clickRow(w.List1, 0);

    std::vector<QPointer<QWidget>> others;
    for (int n : {2, 3, 6, 9, 11, 13}) others.push_back(secondaryWindow(s, n));
    click(w.Command7);
    ASSERT_NE(articleWindow(run), nullptr);
    for (const auto& other : others) EXPECT_TRUE(other.isNull() || other->isHidden());

    click(w.Command5);
    ASSERT_NE(goodsEditor(run), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(articleWindow(run), nullptr);

    others = {secondaryWindow(s, 3), secondaryWindow(s, 12)};
    QPointer<catalogue::Form4> editor = goodsEditor(run);
    click(w.Command7);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    for (const auto& other : others) EXPECT_TRUE(other.isNull() || other->isHidden());
    EXPECT_FALSE(run.ended()) << "closing the hidden login window ends nothing";
    EXPECT_TRUE(s.ObektEksel != nullptr);
}
