#include "app/Form10.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"

#include <QCheckBox>
#include <algorithm>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace app {

namespace {

constexpr int kWidth = 5040;   // twips
// What a title bar takes beside its caption: the icon and the window's buttons.
constexpr int kTitleBarButtons = 150;   // pixels

namespace cells = store::layout::index;

QLineEdit* passwordField(QLineEdit* field)
{
    field->setEchoMode(QLineEdit::Password);
    return field;
}

} // namespace

Form10::Form10(Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Тервин за детски стоки - Администратор"));
    buildControls();
    connectControls();
    fitTitle();
}

// The window is wide enough for its whole caption in the title bar; the controls stay centred.
void Form10::fitTitle()
{
    const int width = std::max(px(kWidth), fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarButtons);
    const QPoint shift((width - px(kWidth)) / 2, 0);
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) control->move(control->pos() + shift);
    setFixedSize(width, px(kLoginHeight));
}

void Form10::buildControls()
{
    Label1 = placed(new QLabel(QStringLiteral("Име"), this), QStringLiteral("Label1"), twipsRect(240, 270, 1320, 285));
    Text1 = placed(new QLineEdit(this), QStringLiteral("Text1"), twipsRect(1680, 210, 3120, 375));
    Label2 = placed(new QLabel(QStringLiteral("Парола"), this), QStringLiteral("Label2"), twipsRect(240, 750, 1320, 285));
    Text2 = placed(passwordField(new QLineEdit(QStringLiteral("8642"), this)), QStringLiteral("Text2"),
                   twipsRect(1680, 690, 3120, 375));
    Check1 = placed(new QCheckBox(QStringLiteral("Промяна на име или парола"), this), QStringLiteral("Check1"),
                    twipsRect(240, 1230, 4560, 345));
    Command1 = placed(new QPushButton(QStringLiteral("Потвърди вход"), this), QStringLiteral("Command1"),
                      twipsRect(240, 1860, 2220, 495));
    Command2 = placed(new QPushButton(QStringLiteral("Отказ вход"), this), QStringLiteral("Command2"),
                      twipsRect(2580, 1860, 2220, 495));
    Label3 = placed(new QLabel(QStringLiteral("Ново име"), this), QStringLiteral("Label3"), twipsRect(240, 3270, 1320, 285));
    Text3 = placed(new QLineEdit(this), QStringLiteral("Text3"), twipsRect(1680, 3210, 3120, 375));
    Label4 = placed(new QLabel(QStringLiteral("Нова парола"), this), QStringLiteral("Label4"), twipsRect(240, 3750, 1440, 285));
    Text4 = placed(passwordField(new QLineEdit(this)), QStringLiteral("Text4"), twipsRect(1680, 3690, 3120, 375));
    Command3 = placed(new QPushButton(QStringLiteral("Потвърди промяната"), this), QStringLiteral("Command3"),
                      twipsRect(240, 4380, 2220, 495));
    Command4 = placed(new QPushButton(QStringLiteral("Отказ промяна"), this), QStringLiteral("Command4"),
                      twipsRect(2580, 4380, 2220, 495));
    // Enter on a button presses it, as on the desktops the shop keeper knows.
    for (QPushButton* b : {Command1, Command2, Command3, Command4}) b->setAutoDefault(true);
}

void Form10::connectControls()
{
    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { potvardiVhod(); }); });
    connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Text2, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    connect(Check1, &QCheckBox::toggled, this, &Form10::check1Changed);
    connect(Command3, &QPushButton::clicked, this, [this] { guarded([this] { potvardiPromyanata(); }); });
    connect(Command4, &QPushButton::clicked, this, &Form10::otkazPromyana);
}

void Form10::load()
{
    setHeightTwips(kLoginHeight);
    showChangeFields(false);
    Text1->setText(shop_.data().cell(cells::kAdminName).toText());
    Command1->setFocus();
}

void Form10::setHeightTwips(int twips)
{
    setFixedHeight(px(twips));
}

void Form10::showChangeFields(bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label3, Label4, Text3, Text4, Command3, Command4})
        w->setVisible(shown);
}

bool Form10::credentialsMatch() const
{
    const store::DataWorkbook data = shop_.data();
    // Both are compared as text; a number in a cell takes part in its plain decimal form.
    const bool name = data.cell(cells::kAdminName).toText() == Text1->text();
    const bool password = data.cell(cells::kAdminPassword).toText() == Text2->text();
    return name && password;
}

void Form10::potvardiVhod()
{
    if (Check1->isChecked()) return;
    if (!credentialsMatch()) {
        loginInfo(QStringLiteral("Грешна парола или име"));
        return;
    }
    loggedIn_ = true;
    hide();
    emit loggedIn();
}

void Form10::check1Changed(bool ticked)
{
    setHeightTwips(ticked ? kChangeHeight : kLoginHeight);
    showChangeFields(ticked);
    Command1->setEnabled(!ticked);
    Command2->setEnabled(!ticked);
    if (ticked) {
        Text3->clear();
        Text4->clear();
    }
}

void Form10::potvardiPromyanata()
{
    if (!credentialsMatch()) {
        loginInfo(QStringLiteral("За промяна на име или парола моля въведете валидно име и парола"));
        return;
    }
    const store::DataWorkbook data = shop_.data();
    data.setCell(cells::kAdminName, store::Value(Text3->text()));
    data.setCell(cells::kAdminPassword, store::Value(Text4->text()));
    setHeightTwips(kLoginHeight);
    showChangeFields(false);
    Text1->setText(data.cell(cells::kAdminName).toText());
    Text2->clear();
    Check1->setChecked(false);
    data.workbook().Save();
}

void Form10::otkazPromyana()
{
    setHeightTwips(kLoginHeight);
    Text3->clear();
    Text4->clear();
    showChangeFields(false);
    Check1->setChecked(false);
}

void Form10::closeEvent(QCloseEvent* event)
{
    // Once the shop keeper is in, other windows may close this hidden one: it only stays hidden.
    if (!loggedIn_) endWithoutLogin();
    event->accept();
}

void Form10::endWithoutLogin()
{
    if (ended_) return;
    ended_ = true;
    quitWithoutAsking(shop_.ObektEksel);
    emit cancelled();
}

} // namespace app
