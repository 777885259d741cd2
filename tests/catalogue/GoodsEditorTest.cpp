// The goods editor driven as the shop keeper drives it: the record number and its arrows, typed
// fields left for the next, "Добави" for new and existing records, "Изтриване", pictures; the
// workbook checked afterwards in memory, on disk and by an outside reader.
#include "CatalogueWindows.h"
#include "FakeKeeper.h"

#include "app/support/MessageRecorder.h"
#include "app/support/ShopFolder.h"
#include "tests/support/Oracles.h"

#include "catalogue/GoodsNamesModel.h"
#include "common/Controls.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QItemSelectionModel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace col = store::layout::article;
namespace idx = store::layout::index;

const QString kToys = QStringLiteral("Играчки");
const QColor kBrown(120, 70, 30);
const QColor kWhite(240, 240, 240);

// A shop with one article of four goods, "Стока 1" to "Стока 4" at prices 1 to 4.
void fourGoods(ShopFolder& shop)
{
    store::Worksheet& article = shop.addArticle(kToys);
    for (int i = 1; i <= 4; ++i) shop.addGoods(article, {QStringLiteral("Стока %1").arg(i), double(i), i});
    shop.save();
}

QStringList fieldTexts(const catalogue::Form4* e)
{
    return {e->Text1->text(), e->Text2->text(), e->Text3->text(), e->Text4->text(), e->Text6->text(), e->Text7->text()};
}

bool fieldsEmpty(const catalogue::Form4* e)
{
    return fieldTexts(e).join(QString()).isEmpty() && !e->Check1->isChecked();
}

void typeNumber(catalogue::Form4* e, const QString& text)
{
    e->Text8->selectAll();
    typeText(e->Text8, text);
}

std::unique_ptr<store::Workbook> savedWorkbook(const ShopFolder& shop)
{
    return store::Workbook::open(shop.file(QStringLiteral("Danni.xls")));
}

QString picturePath(const QTemporaryDir& dir, const QString& name, const QColor& colour)
{
    const QString path = dir.path() + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).path());
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, "JPEG")) ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

// The file dialog replaced by a pick from a list; empty answers stand for Cancel.
struct PictureChoices {
    explicit PictureChoices(QStringList answers) : left(std::move(answers))
    {
        catalogue::Form4::setPictureChooser([this](QWidget*) { return left.isEmpty() ? QString() : left.takeFirst(); });
    }
    ~PictureChoices() { catalogue::Form4::setPictureChooser(nullptr); }
    QStringList left;
};

} // namespace

TEST(GoodsEditor, OpensOnTheNewRecordAndFollowsTheRecordNumber)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Добави   Играчки"));
    EXPECT_EQ(e->Text8->text(), QStringLiteral("5"));
    EXPECT_EQ(e->Label11->text(), QStringLiteral("4"));
    EXPECT_EQ(e->Label10->text(), QStringLiteral("записа"));
    EXPECT_EQ(entries(e->List1), (QStringList{QStringLiteral("Стока 1"), QStringLiteral("Стока 2"), QStringLiteral("Стока 3"), QStringLiteral("Стока 4")}));
    EXPECT_TRUE(fieldsEmpty(e));
    EXPECT_EQ(run.program.mainWindow()->BroiStoki, 4);

    typeNumber(e, QStringLiteral("2"));
    EXPECT_EQ(fieldTexts(e), (QStringList{QStringLiteral("Стока 2"), QStringLiteral("2,00"), QStringLiteral("2"), QStringLiteral("0"), QString(), QString()}));
    EXPECT_EQ(e->working.Pr1Text1, QStringLiteral("Стока 2"));
    typeNumber(e, QStringLiteral("9"));
    EXPECT_EQ(e->Text8->text(), QStringLiteral("5"));
    EXPECT_TRUE(fieldsEmpty(e));
    EXPECT_EQ(e->working, catalogue::GoodsFields{});

    // The arrows: nothing before record 1, the new record after the last and nothing beyond.
    typeNumber(e, QStringLiteral("1"));
    click(e->Image1);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("1"));
    typeNumber(e, QStringLiteral("4"));
    click(e->Image2);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("5"));
    EXPECT_TRUE(fieldsEmpty(e));
    click(e->Image2);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("5"));
    click(e->Image1);
    EXPECT_EQ(e->Text1->text(), QStringLiteral("Стока 4"));

    // Not a whole number: the message, and the number is emptied with the fields.
    MessageRecorder messages;
    typeNumber(e, QStringLiteral("-"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Трябва да въведете цяло положително число")});
    EXPECT_TRUE(e->Text8->text().isEmpty());
    EXPECT_TRUE(fieldsEmpty(e));
    click(e->Image2);
    click(e->Image1);
    EXPECT_TRUE(e->Text8->text().isEmpty());
    typeNumber(e, QStringLiteral("0"));
    EXPECT_TRUE(fieldsEmpty(e));
    EXPECT_EQ(messages.texts().size(), 1);
}

TEST(GoodsEditor, AppendingWritesTheRecordLedgerAndSavesWhileTheShowcaseFollows)
{
    ShopFolder shop;
    shop.addArticle(kToys);
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("1"));

    typeRecord(e, {QStringLiteral("Мече"), QStringLiteral("10"), QStringLiteral("3"), QStringLiteral("20"),
                   QStringLiteral("Играчки ООД"), QStringLiteral("Меко и пухкаво")});
    click(e->Check1);
    click(e->Command3);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("2"));
    EXPECT_EQ(e->Label11->text(), QStringLiteral("1"));
    EXPECT_TRUE(fieldsEmpty(e));
    EXPECT_EQ(entries(e->List1), QStringList{QStringLiteral("Мече")});
    // The showcase and the sale lists show the new goods.
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Мече"));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("12,00"));
    EXPECT_EQ(entries(w.List2), QStringList{QStringLiteral("Мече")});
    EXPECT_EQ(w.BroiStoki, 1);

    typeRecord(e, {QStringLiteral("Топка"), QStringLiteral("2,50"), QStringLiteral("0"), QStringLiteral("10")});
    click(e->Command3);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("3"));

    // What was saved (the cells themselves are the storage tests' concern).
    const auto saved = savedWorkbook(shop);
    const store::DataWorkbook data(*saved);
    EXPECT_EQ(data.goodsCount(saved->sheets(kToys)), 2);
    EXPECT_EQ(saved->sheets(kToys).value(2, col::kPromotion).toNumber(), 1.0);
    EXPECT_EQ(saved->sheets(kToys).value(2, col::kDescription).toText(), QStringLiteral("Меко и пухкаво"));
    EXPECT_EQ(data.counter(idx::kPurchaseRows), 2);

    // An outside reader sees the same: the count formula's value, the cells, the ledger row.
    const QJsonObject book = testsupport::readWithXlrd(shop.file(QStringLiteral("Danni.xls")));
    ASSERT_TRUE(book[QStringLiteral("error")].isNull()) << book[QStringLiteral("error")].toString().toStdString();
    std::map<std::pair<QString, std::pair<int, int>>, QJsonValue> cells;
    for (const auto& sheet : book[QStringLiteral("sheets")].toArray())
        for (const auto& c : sheet.toObject()[QStringLiteral("cells")].toArray()) {
            const QJsonArray cell = c.toArray();
            cells[{sheet.toObject()[QStringLiteral("name")].toString(), {cell[0].toInt(), cell[1].toInt()}}] = cell[3];
        }
    const auto at = [&cells](const QString& sheet, int row, int column) { return cells[{sheet, {row, column}}]; };
    EXPECT_EQ(at(kToys, 0, 19).toDouble(), 2.0);
    EXPECT_EQ(at(kToys, 2, 1).toString(), QStringLiteral("Топка"));
    EXPECT_DOUBLE_EQ(at(kToys, 1, 2).toDouble(), 12.0);
    EXPECT_EQ(at(kToys, 1, 5).toString(), col::kAvailable);
    EXPECT_EQ(at(QStringLiteral("List"), 0, 24).toDouble(), 2.0);
    EXPECT_EQ(at(QStringLiteral("List"), 1, 20).toString(), QStringLiteral("Мече"));
    EXPECT_EQ(at(QStringLiteral("List"), 1, 21).toDouble(), 3.0);
    EXPECT_EQ(at(QStringLiteral("List"), 1, 22).toDouble(), 10.0);
}

TEST(GoodsEditor, RequiredFieldsStopTheSaveInOrderWithTheFocusOnTheField)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;
    const std::vector<std::pair<QLineEdit*, QString>> steps{
        {e->Text1, QStringLiteral("Въведете името на стоката")}, {e->Text2, QStringLiteral("Въведете цената на стоката")},
        {e->Text3, QStringLiteral("Въведете брой закупени стоки")},
        {e->Text4, QStringLiteral("Въведете увеличението на стоката")}};
    const QStringList values{QStringLiteral("Нова"), QStringLiteral("5"), QStringLiteral("2"), QStringLiteral("10")};
    for (size_t i = 0; i < steps.size(); ++i) {
        click(e->Command3);
        EXPECT_EQ(messages.texts().value(qsizetype(i)), steps[i].second);
        EXPECT_EQ(e->focusWidget(), steps[i].first) << i;
        EXPECT_TRUE(e->Flag2);
        typeInto(steps[i].first, values[qsizetype(i)]);
    }
    click(e->Command3);
    EXPECT_EQ(messages.texts().size(), 4);
    EXPECT_FALSE(e->Flag2);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("6"));
    EXPECT_EQ(run.program.shop().data().goodsCount(run.program.shop().danni().sheets(kToys)), 5);

    // Saving without a record number writes nothing and says nothing.
    messages.clear();
    e->Text8->clear();
    typeRecord(e, {QStringLiteral("Без номер"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")});
    click(e->Command3);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(run.program.shop().data().counter(idx::kPurchaseRows), 5);
}

TEST(GoodsEditor, NumbersAreCheckedOnLeavingAndAgainWhenSaved)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;
    const int ledger = run.program.shop().data().counter(idx::kPurchaseRows);

    // An accepted price replaced by one that is refused leaves neither in the field or the copy.
    typeInto(e->Text1, QStringLiteral("Кубче"));
    typeInto(e->Text2, QStringLiteral("10"));
    typeInto(e->Text3, QStringLiteral("1"));
    EXPECT_EQ(e->working.Pr2Text2, QStringLiteral("10"));
    typeInto(e->Text2, QStringLiteral("1.2.3"));
    typeInto(e->Text4, QStringLiteral("5"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Трябва да въведете число")});
    EXPECT_TRUE(e->Text2->text().isEmpty());
    EXPECT_TRUE(e->working.Pr2Text2.isEmpty());
    click(e->Command3);
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Въведете цената на стоката"));
    EXPECT_EQ(run.program.shop().data().counter(idx::kPurchaseRows), ledger);

    // A count with a decimal: the message and the focus back in the count field.
    messages.clear();
    typeInto(e->Text2, QStringLiteral("12,50"));
    typeInto(e->Text3, QStringLiteral("3.5"));
    click(e->Text6);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Трябва да въведете цяло число")});
    EXPECT_EQ(e->focusWidget(), e->Text3);
    EXPECT_EQ(e->Text3->text(), QStringLiteral("3.5"));
    EXPECT_TRUE(e->working.Pr3Text3.isEmpty());

    // One "." and one "," pass the check on leaving, but are no number when saved.
    messages.clear();
    typeInto(e->Text3, QStringLiteral("2"));
    typeInto(e->Text4, QStringLiteral("1.5,3"));
    click(e->Text6);
    EXPECT_TRUE(messages.texts().isEmpty());
    click(e->Command3);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Трябва да въведете число")});
    EXPECT_EQ(e->focusWidget(), e->Text4);
    EXPECT_EQ(run.program.shop().data().counter(idx::kPurchaseRows), ledger);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("5"));

    typeInto(e->Text4, QStringLiteral("20"));
    click(e->Command3);
    const store::Worksheet& s = run.program.shop().danni().sheets(kToys);
    EXPECT_DOUBLE_EQ(*s.value(6, col::kPrice).toNumber(), 15.0);
    EXPECT_EQ(run.program.shop().data().counter(idx::kPurchaseRows), ledger + 1);
}

TEST(GoodsEditor, RewritingAnExistingRecordKeepsLedgerAndSoldCount)
{
    ShopFolder shop;
    fourGoods(shop);
    shop.workbook().sheets(kToys).setValue(3, col::kSold, store::Value(7));
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;
    const int ledger = run.program.shop().data().counter(idx::kPurchaseRows);

    typeNumber(e, QStringLiteral("2"));
    typeInto(e->Text1, QStringLiteral("Голяма стока"));
    typeInto(e->Text4, QStringLiteral("100"));
    click(e->Command3);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(e->Text1->text(), QStringLiteral("Голяма стока")) << "the fields keep their text";
    EXPECT_EQ(entries(e->List1).value(1), QStringLiteral("Голяма стока"));
    EXPECT_EQ(w.Label8->text(), QStringLiteral("4,00"));
    const auto saved = savedWorkbook(shop);
    const store::Worksheet& s = saved->sheets(kToys);
    EXPECT_EQ(s.value(3, col::kName).toText(), QStringLiteral("Голяма стока"));
    EXPECT_DOUBLE_EQ(*s.value(3, col::kPrice).toNumber(), 4.0);
    EXPECT_EQ(s.value(3, col::kSold).toNumber(), 7.0);
    EXPECT_EQ(store::DataWorkbook(*saved).counter(idx::kPurchaseRows), ledger);

    // Another record's name, in other letters' case, is taken.
    typeInto(e->Text1, QStringLiteral("стока 3"));
    click(e->Command3);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Вече има стока с такова име")});
    EXPECT_EQ(run.program.shop().danni().sheets(kToys).value(3, col::kName).toText(), QStringLiteral("Голяма стока"));
}

TEST(GoodsEditor, DeletingTakesTheRecordShownUnlessTheBasketHoldsIt)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    FakeKeeper basket;
    run.program.shop().rowKeeper = &basket;
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;

    click(e->Command2);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Моля изберете съответната стока")});

    // The list follows the record shown, and a goods clicked in the list is shown.
    typeNumber(e, QStringLiteral("3"));
    EXPECT_EQ(e->List1->currentIndex().row(), 2);
    clickRow(e->List1, 0);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("1"));
    messages.clear();
    messages.answerNext(app::Answer::Cancel);
    click(e->Command2);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Да изтрия ли „Стока 1“?")});
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Confirmation);
    EXPECT_EQ(entries(e->List1).size(), 4);

    basket.rows.insert({kToys, 2});
    messages.clear();
    click(e->Command2);
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[1].contains(QStringLiteral("кошницата")));
    EXPECT_EQ(entries(e->List1).size(), 4);

    basket.rows.clear();
    click(e->Command2);
    EXPECT_EQ(entries(e->List1), (QStringList{QStringLiteral("Стока 2"), QStringLiteral("Стока 3"), QStringLiteral("Стока 4")}));
    EXPECT_EQ(e->Label11->text(), QStringLiteral("3"));
    EXPECT_EQ(e->Text8->text(), QStringLiteral("4"));
    EXPECT_TRUE(fieldsEmpty(e));
    EXPECT_EQ(basket.moves.size(), 1u);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Стока 2"));
    EXPECT_EQ(w.BroiStoki, 3);
    const auto saved = savedWorkbook(shop);
    EXPECT_EQ(store::DataWorkbook(*saved).goodsCount(saved->sheets(kToys)), 3);
    EXPECT_EQ(saved->sheets(kToys).value(2, col::kName).toText(), QStringLiteral("Стока 2"));

    // The number that stays the same after a deletion still shows the new record.
    typeNumber(e, QStringLiteral("3"));
    clickRow(e->List1, 2);
    click(e->Command2);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("3"));
    EXPECT_TRUE(fieldsEmpty(e));
}

TEST(GoodsEditor, ByKeysTheGoodsChosenIsShownNamedInTheQuestionAndDeletedAlone)
{
    ShopFolder shop;
    store::Worksheet& article = shop.addArticle(kToys);
    for (const auto& [name, price] : {std::pair{"Кукла", 12.5}, {"Кукла Ани", 8.0}, {"Мече", 4.0}})
        shop.addGoods(article, {QString::fromUtf8(name), price, 1});
    shop.save();
    RunningProgram run(shop.path());
    run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;
    const auto pressIztrivane = [&] {   // Alt + "И" of "&Изтриване"
        const qsizetype before = messages.texts().size();
        QTest::sendKeyEvent(QTest::Click, e->focusWidget(), Qt::Key(QChar(u'И').unicode()), QStringLiteral("И"), Qt::AltModifier);
        QTRY_COMPARE(messages.texts().size(), before + 1);
    };

    e->List1->setFocus();
    QTest::keyClick(e->List1, Qt::Key_End);
    EXPECT_EQ(e->Text1->text(), QStringLiteral("Мече"));
    QTest::keyClick(e->List1, Qt::Key_Home);
    EXPECT_EQ(e->Text1->text(), QStringLiteral("Кукла"));
    EXPECT_EQ(e->Text2->text(), QStringLiteral("12,50"));
    QTest::keyClick(e->List1, Qt::Key_Down);
    EXPECT_EQ(e->Text1->text(), QStringLiteral("Кукла Ани"));
    pressIztrivane();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Да изтрия ли „Кукла Ани“?"));
    EXPECT_EQ(entries(e->List1), (QStringList{QStringLiteral("Кукла"), QStringLiteral("Мече")}));
    EXPECT_EQ(savedWorkbook(shop)->sheets(kToys).value(3, col::kName).toText(), QStringLiteral("Мече"));

    // Nothing stands chosen for a second deletion.
    EXPECT_TRUE(e->List1->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_TRUE(fieldsEmpty(e));
    pressIztrivane();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Моля изберете съответната стока"));
    EXPECT_EQ(entries(e->List1).size(), 2);

    e->List1->setFocus();
    QTest::keyClick(e->List1, Qt::Key_End);
    pressIztrivane();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Да изтрия ли „Мече“?"));
    EXPECT_EQ(e->Label11->text() + QLatin1Char(' ') + e->Label10->text(), QStringLiteral("1 запис"));

    // Escape closes the editor.
    QPointer<catalogue::Form4> closing = e;
    QTest::keyClick(e->focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

TEST(GoodsEditor, PicturesAreChosenWithdrawnSharedAndRenamed)
{
    ShopFolder shop;
    shop.addArticle(kToys);
    shop.save();
    QTemporaryDir outside;
    const QString brown = picturePath(outside, QStringLiteral("мече.jpg"), kBrown);
    const QString white = picturePath(outside, QStringLiteral("бели/мече.jpg"), kWhite);
    const QString notAPicture = outside.path() + QStringLiteral("/счупена.jpg");
    QFile broken(notAPicture);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    PictureChoices choices({brown, QString(), white, notAPicture, brown});
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;
    const QString folder = shop.file(QStringLiteral("Kartini/") + kToys);

    click(e->Command4);
    EXPECT_TRUE(nearColour(shownColour(e->Image3), kBrown));
    EXPECT_EQ(e->Image3->cursor().shape(), Qt::BitmapCursor);
    EXPECT_TRUE(e->FlagZaKartina);
    EXPECT_EQ(e->ImeNaFaila, QStringLiteral("мече.jpg"));
    click(e->Image3);
    EXPECT_TRUE(e->Image3->pixmap().isNull());
    EXPECT_EQ(e->Image3->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(e->FlagZaKartina);
    EXPECT_TRUE(e->PatDoKartina.isEmpty());
    // Cancelled: the choice stays as it was.
    click(e->Command4);
    EXPECT_FALSE(e->FlagZaKartina);

    typeRecord(e, {QStringLiteral("Бяло мече"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("0")});
    click(e->Command4);   // the white bear
    click(e->Command3);
    typeRecord(e, {QStringLiteral("Кафяво мече"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("0")});
    click(e->Command4);   // not a picture: told, nothing chosen
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_FALSE(e->FlagZaKartina);
    click(e->Command4);   // the brown bear, of the same file name
    click(e->Command3);
    EXPECT_EQ(messages.texts().size(), 1);

    const store::Worksheet& s = run.program.shop().danni().sheets(kToys);
    EXPECT_EQ(s.value(2, col::kPicture).toText(), QStringLiteral("мече.jpg"));
    EXPECT_EQ(s.value(3, col::kPicture).toText(), QStringLiteral("мече (2).jpg"));
    EXPECT_TRUE(nearColour(QImage(folder + QStringLiteral("/мече.jpg")).pixelColor(20, 20), kWhite));
    EXPECT_TRUE(nearColour(QImage(folder + QStringLiteral("/мече (2).jpg")).pixelColor(20, 20), kBrown));
    EXPECT_TRUE(nearColour(shownColour(w.Image1[1]), kBrown)) << "the showcase shows the new picture";

    // Reading a record shows its picture; withdrawing it and saving keeps column J.
    typeNumber(e, QStringLiteral("1"));
    EXPECT_TRUE(nearColour(shownColour(e->Image3), kWhite));
    click(e->Image3);
    click(e->Command3);
    EXPECT_EQ(s.value(2, col::kPicture).toText(), QStringLiteral("мече.jpg"));
    typeNumber(e, QStringLiteral("3"));
    EXPECT_TRUE(e->Image3->pixmap().isNull());
}

// A phone's photo is taken; a picture larger than any camera takes is told by its size.
TEST(GoodsEditor, PhonePhotosAreTakenAndTooLargeOnesToldBySize)
{
    ShopFolder shop;
    shop.addArticle(kToys);
    shop.save();
    QTemporaryDir outside;
    const QString photo = outside.filePath(QStringLiteral("снимка.jpg"));
    const QString huge = outside.filePath(QStringLiteral("огромна.jpg"));
    writePhoto(photo, kBrown, QSize(8000, 6000));
    writePhotoClaimingSize(huge, QSize(20000, 12000));
    PictureChoices choices({huge, photo});
    RunningProgram run(shop.path());
    run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;

    click(e->Command4);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("20000 × 12000"))) << messages.texts()[0].toStdString();
    EXPECT_FALSE(e->FlagZaKartina);
    click(e->Command4);
    EXPECT_TRUE(nearColour(shownColour(e->Image3), kBrown));
    EXPECT_TRUE(e->FlagZaKartina);
    EXPECT_EQ(messages.texts().size(), 1);
}

TEST(GoodsEditor, AFailedSaveIsToldAndTheNextOneCarriesTheChange)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    run.logIn();
    catalogue::Form4* e = openEditor(run, 0);
    ASSERT_NE(e, nullptr);
    MessageRecorder messages;
    const QString file = shop.file(QStringLiteral("Danni.xls"));
    // A folder where the file should be: no save can replace it.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkdir(file));

    typeRecord(e, {QStringLiteral("Пета"), QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("0")});
    click(e->Command3);
    // The day's archive copy cannot be taken from a folder either; that warning may come first.
    ASSERT_EQ(messages.ofKind(app::MessageKind::Failure).size(), 1u);
    EXPECT_EQ(e->Text8->text(), QStringLiteral("6"));

    ASSERT_TRUE(QDir().rmdir(file));
    typeRecord(e, {QStringLiteral("Шеста"), QStringLiteral("6"), QStringLiteral("6"), QStringLiteral("0")});
    click(e->Command3);
    EXPECT_EQ(messages.ofKind(app::MessageKind::Failure).size(), 1u);
    const auto saved = savedWorkbook(shop);
    EXPECT_EQ(store::DataWorkbook(*saved).goodsCount(saved->sheets(kToys)), 6);
    EXPECT_EQ(saved->sheets(kToys).value(6, col::kName).toText(), QStringLiteral("Пета"));
}

// The minimum stock and the barcode are typed like the other fields, saved to V and W, shown
// again with their record; a barcode another article's goods hold is refused, told and not written.
TEST(GoodsEditor, MinimumStockAndBarcodeAreTypedSavedShownAndCheckedAcrossArticles)
{
    ShopFolder shop;
    fourGoods(shop);
    store::Worksheet& books = shop.addArticle(QStringLiteral("Книжки"));
    shop.addGoods(books, {QStringLiteral("Буквар"), 2.0, 1, {}, {}, {}, {}, QStringLiteral("5901234123457")});
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    catalogue::Form4* e = openEditor(run, int(entries(w.List1).indexOf(QStringLiteral("  Играчки"))));
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->article(), kToys);
    MessageRecorder messages;

    typeNumber(e, QStringLiteral("2"));
    typeInto(e->Text9, QStringLiteral("3"));
    typeInto(e->Text10, QStringLiteral("5901234123457"));
    click(e->Command3);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Баркодът 5901234123457 вече е на „Буквар“ (Книжки).")});
    EXPECT_EQ(QApplication::focusWidget(), e->Text10);
    EXPECT_TRUE(run.program.shop().danni().sheets(kToys).value(3, col::kMinimumStock).isEmpty());

    messages.clear();
    typeInto(e->Text10, QStringLiteral("96385074"));
    click(e->Command3);
    EXPECT_TRUE(messages.texts().isEmpty());
    const auto saved = savedWorkbook(shop);
    EXPECT_EQ(saved->sheets(kToys).value(3, col::kMinimumStock), store::Value(3));
    EXPECT_EQ(saved->sheets(kToys).value(3, col::kBarcode), store::Value(QStringLiteral("96385074")));

    typeNumber(e, QStringLiteral("1"));
    EXPECT_TRUE(e->Text9->text().isEmpty());
    typeNumber(e, QStringLiteral("2"));
    EXPECT_EQ(e->Text9->text(), QStringLiteral("3"));
    EXPECT_EQ(e->Text10->text(), QStringLiteral("96385074"));
}
