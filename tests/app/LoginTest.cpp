// The administrator's login window driven as the shop keeper drives it.
#include "support/MessageRecorder.h"
#include "support/RunningProgram.h"
#include "support/ShopFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace layout = store::layout;

namespace {

void typeInto(QLineEdit* field, const QString& text)
{
    field->clear();
    QTest::keyClicks(field, text);
}

store::Value storedCell(const ShopFolder& shop, layout::CellPos pos)
{
    auto workbook = store::Workbook::open(shop.file(QStringLiteral("Danni.xls")));
    return store::DataWorkbook(*workbook).cell(pos);
}

bool changeFieldsShown(const app::Form10& w)
{
    return w.Label3->isVisible() && w.Label4->isVisible() && w.Text3->isVisible() && w.Text4->isVisible()
        && w.Command3->isVisible() && w.Command4->isVisible();
}

bool changeFieldsHidden(const app::Form10& w)
{
    return w.Label3->isHidden() && w.Label4->isHidden() && w.Text3->isHidden() && w.Text4->isHidden()
        && w.Command3->isHidden() && w.Command4->isHidden();
}

} // namespace

TEST(Login, RightCredentialsOpenTheShopWrongOnesAreRefusedAsOften)
{
    ShopFolder shop;
    shop.save();
    MessageRecorder messages;
    RunningProgram run(shop.path());
    ASSERT_TRUE(run.started());
    app::Form10& w = run.login();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Тервин за детски стоки - Администратор"));
    EXPECT_GT(w.width(), w.fontMetrics().horizontalAdvance(w.windowTitle()) + 100) << "the title bar cuts the caption";
    EXPECT_EQ(w.height(), 212);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("admin"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("8642"));
    EXPECT_EQ(w.Text2->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(changeFieldsHidden(w));

    typeInto(w.Text2, QStringLiteral("1111"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    typeInto(w.Text1, QStringLiteral("Admin"));
    typeInto(w.Text2, QStringLiteral("8642"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2u);
    for (const app::Message& m : messages.messages()) {
        EXPECT_EQ(m.kind, app::MessageKind::LoginInfo);
        EXPECT_EQ(m.title, QStringLiteral("Внимание"));
        EXPECT_EQ(m.text, QStringLiteral("Грешна парола или име"));
    }
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(run.program.mainWindow(), nullptr);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("Admin"));

    // Enter in the password field logs in as the button does.
    typeInto(w.Text1, QStringLiteral("admin"));
    QTest::keyClick(w.Text2, Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    ASSERT_NE(run.program.mainWindow(), nullptr);
    EXPECT_TRUE(run.program.mainWindow()->isVisible());
    EXPECT_EQ(messages.messages().size(), 2u);
    EXPECT_FALSE(run.ended());
}

TEST(Login, PasswordHeldAsANumberMatchesItsDigitsOnly)
{
    ShopFolder shop;
    shop.data().setCell(layout::index::kAdminPassword, store::Value(4711));
    shop.save();
    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form10& w = run.login();
    typeInto(w.Text2, QStringLiteral("04711"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Грешна парола или име")});
    typeInto(w.Text2, QStringLiteral("4711"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_NE(run.program.mainWindow(), nullptr);
}

TEST(Login, ChangingNameAndPassword)
{
    ShopFolder shop;
    shop.save();
    MessageRecorder messages;
    RunningProgram run(shop.path());
    app::Form10& w = run.login();

    QTest::mouseClick(w.Check1, Qt::LeftButton);
    EXPECT_EQ(w.height(), 380);
    EXPECT_TRUE(changeFieldsShown(w));
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_FALSE(w.Command2->isEnabled());
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    EXPECT_EQ(w.height(), 212);
    EXPECT_TRUE(changeFieldsHidden(w));
    EXPECT_TRUE(w.Command1->isEnabled() && w.Command2->isEnabled());

    // "Отказ промяна" empties the new fields and goes back to the login.
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    QTest::keyClicks(w.Text3, QStringLiteral("maria"));
    QTest::mouseClick(w.Command4, Qt::LeftButton);
    EXPECT_EQ(w.height(), 212);
    EXPECT_FALSE(w.Check1->isChecked());
    EXPECT_TRUE(w.Text3->text().isEmpty());
    EXPECT_TRUE(changeFieldsHidden(w));

    // A wrong current password changes nothing.
    const QByteArray before = shop.bytes(QStringLiteral("Danni.xls"));
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    EXPECT_TRUE(w.Text3->text().isEmpty());
    typeInto(w.Text2, QStringLiteral("0000"));
    QTest::keyClicks(w.Text4, QStringLiteral("1"));
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::LoginInfo);
    EXPECT_EQ(messages.texts()[0], QStringLiteral("За промяна на име или парола моля въведете валидно име и парола"));
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), before);
    EXPECT_EQ(w.height(), 380);

    // An empty new name is accepted and stored with the new password.
    typeInto(w.Text2, QStringLiteral("8642"));
    typeInto(w.Text3, QString());
    typeInto(w.Text4, QStringLiteral("5555"));
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(w.height(), 212);
    EXPECT_FALSE(w.Check1->isChecked());
    EXPECT_TRUE(changeFieldsHidden(w));
    EXPECT_EQ(w.Text1->text(), QString());
    EXPECT_EQ(w.Text2->text(), QString());
    EXPECT_EQ(storedCell(shop, layout::index::kAdminName).toText(), QString());
    EXPECT_EQ(storedCell(shop, layout::index::kAdminPassword).toText(), QStringLiteral("5555"));

    // The old password no longer opens the shop; the new one with the empty name does.
    typeInto(w.Text2, QStringLiteral("8642"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(messages.messages().size(), 2u);
    typeInto(w.Text2, QStringLiteral("5555"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_NE(run.program.mainWindow(), nullptr);
}

TEST(Login, CancelAndCloseBoxEndTheProgramLeavingTheWorkbookAsItWas)
{
    ShopFolder shop;
    shop.save();
    const QByteArray before = shop.bytes(QStringLiteral("Danni.xls"));
    MessageRecorder messages;
    {
        RunningProgram run(shop.path());
        // Unsaved work in the workbook must not raise a question on the way out.
        run.program.shop().danni().sheets(1).setValue(5, 5, store::Value(1));
        QTest::mouseClick(run.login().Command2, Qt::LeftButton);
        EXPECT_TRUE(run.ended());
        EXPECT_EQ(run.program.shop().ObektEksel, nullptr);
        EXPECT_FALSE(run.login().isVisible());
        EXPECT_EQ(run.program.mainWindow(), nullptr);
    }
    {
        RunningProgram run(shop.path());
        ASSERT_TRUE(run.started());
        run.login().close();
        EXPECT_TRUE(run.ended());
        EXPECT_EQ(run.program.shop().ObektEksel, nullptr);
        EXPECT_EQ(run.program.mainWindow(), nullptr);
    }
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), before);
}
