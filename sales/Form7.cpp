#include "sales/Form7.h"

#include "common/Controls.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"
#include "sales/Form6.h"
#include "sales/Form8.h"
#include "sales/SalePanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace sales {

using app::twipsRect;

Form7::Form7(app::Shop& shop, SalePanel& panel, QWidget* parent) : QWidget(parent), shop_(shop), panel_(panel)
{
    setObjectName(QStringLiteral("Form7"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Избор на документ"));
    setFixedSize(app::px(5760), app::px(1920));
    Label1 = app::placed(new QLabel(QStringLiteral("Моля изберете какъв документ желаете да получите:"), this),
                         QStringLiteral("Label1"), twipsRect(240, 240, 5280, 315));
    Option1 = app::placed(new QRadioButton(QStringLiteral("&Фактура"), this), QStringLiteral("Option1"),
                          twipsRect(480, 720, 4800, 315));
    Option2 = app::placed(new QRadioButton(QStringLiteral("&Складова/Стокова Разписка"), this),
                          QStringLiteral("Option2"), twipsRect(480, 1140, 4800, 315));
    connect(Option1, &QRadioButton::clicked, this, &Form7::chooseInvoice);
    connect(Option2, &QRadioButton::clicked, this, &Form7::chooseReceipt);
    app::useDialogKeys(this);
}

void Form7::load()
{
    shop_.windows.declare(7, this);
    shop_.windows.closeFor(app::Closer::DocumentChoice);
    // Radio buttons that exclude each other cannot both be cleared while they do.
    for (QRadioButton* option : {Option1, Option2}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    show();
    raise();
    activateWindow();
}

void Form7::chooseInvoice()
{
    Form6& invoice = panel_.openInvoiceDialog();
    invoice.Text3->setFocus();
    close();
}

void Form7::chooseReceipt()
{
    auto* receipt = qobject_cast<Form8*>(shop_.windows.window(8));
    if (!receipt) receipt = new Form8(shop_);
    receipt->show();
    receipt->raise();
    close();
}

} // namespace sales
