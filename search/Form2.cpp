#include "search/Form2.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"
#include "search/Sortirane.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace search {

Form2::Form2(app::Shop& shop, Sortirane& procedures, QWidget* parent) : QWidget(parent), procedures_(procedures)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Сортиране"));
    setFixedSize(app::px(4200), app::px(2400));
    Combo1 = app::placed(new QComboBox(this), QStringLiteral("Combo1"), app::twipsRect(240, 240, 3720, 345));
    Combo1->addItems({QStringLiteral("Цена"), QStringLiteral("Име")});
    Combo1->setPlaceholderText(QStringLiteral("Сортиране по:"));
    Combo1->setCurrentIndex(-1);
    Option1[0] = app::placed(new QRadioButton(QStringLiteral("&възходящо"), this), QStringLiteral("Option1(0)"),
                             app::twipsRect(360, 840, 1680, 375));
    Option1[1] = app::placed(new QRadioButton(QStringLiteral("&низходящо"), this), QStringLiteral("Option1(1)"),
                             app::twipsRect(2280, 840, 1680, 375));
    Command1 = app::placed(new QPushButton(QStringLiteral("&Потвърди"), this), QStringLiteral("Command1"),
                           app::twipsRect(240, 1560, 1680, 495));
    Command2 = app::placed(new QPushButton(QStringLiteral("&Откажи"), this), QStringLiteral("Command2"),
                           app::twipsRect(2280, 1560, 1680, 495));
    app::useDialogKeys(this, Command1);
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { confirm(); }); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    Option1[0]->setChecked(true);
    shop.windows.declare(2, this);
    shop.windows.closeFor(app::Closer::SortDialog);
}

void Form2::confirm()
{
    const int criterion = Combo1->currentIndex();
    if (criterion < 0) {
        app::warning(QStringLiteral("Не сте избрали критерий"));
        return;
    }
    const bool up = Option1[0]->isChecked();
    if (criterion == Sortirane::ByPrice)
        up ? procedures_.SortiraiPoCena1() : procedures_.SortiraiPoCena2();
    else
        up ? procedures_.SortiraiPoIme1() : procedures_.SortiraiPoIme2();
    close();
}

void Form2::closeEvent(QCloseEvent* event)
{
    event->accept();
    procedures_.dialogClosed();
}

} // namespace search
