#include "sales/Form6.h"

#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "common/Messages.h"
#include "sales/CompanyId.h"
#include "sales/DialogFields.h"
#include "sales/SalePanel.h"
#include "sales/SalesLedger.h"

#include <QCompleter>
#include <QDate>
#include <QPushButton>
#include <QRadioButton>

namespace sales {

using namespace fields;
using app::twipsRect;

Form6::Form6(app::Shop& shop, SalePanel& panel, QWidget* parent) : QWidget(parent), shop_(shop), panel_(panel)
{
    setObjectName(QStringLiteral("Form6"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Данни за Фактура"));
    setFixedSize(app::px(7800), app::px(6360));
    buildHeader();
    buildRecipient();
    buildPayment();
    buildDelivery();
    buildGoods();
    Command1 = app::placed(new QPushButton(QStringLiteral("&Покажи фактурата"), this), QStringLiteral("Command1"),
                           twipsRect(3480, 5700, 2400, 480));
    Command2 = app::placed(new QPushButton(QStringLiteral("&Отказ"), this), QStringLiteral("Command2"),
                           twipsRect(6000, 5700, 1560, 480));
    connect(Command1, &QPushButton::clicked, this, &Form6::pokajiFakturata);
    connect(Command2, &QPushButton::clicked, this, &Form6::otkaz);
    // Escape closes as the close box does: nothing is recorded, unlike "Отказ".
    app::useDialogKeys(this, Command1);
    load();
}

void Form6::buildHeader()
{
    Label1 = caption(this, 1, QStringLiteral("Фактура   №"), twipsRect(240, 240, 1320, 315));
    Text1 = textBox(this, 1, twipsRect(1560, 240, 1920, 315));
    Label2 = caption(this, 2, QStringLiteral("Дата"), twipsRect(4080, 240, 600, 315));
    Text2 = textBox(this, 2, twipsRect(4680, 240, 1560, 315));
}

void Form6::buildRecipient()
{
    Frame1 = frame(this, 1, QStringLiteral("Получател"), twipsRect(120, 720, 7560, 1500));
    Label3 = caption(Frame1, 3, QStringLiteral("ЕИК"), twipsRect(120, 330, 960, 315));
    Text3 = textBox(Frame1, 3, twipsRect(1080, 330, 2280, 315));
    Label4 = caption(Frame1, 4, QStringLiteral("ИН по ЗДДС"), twipsRect(3540, 330, 1140, 315));
    Text4 = textBox(Frame1, 4, twipsRect(4800, 330, 2520, 315));
    Label5 = caption(Frame1, 5, QStringLiteral("ФИРМА"), twipsRect(120, 720, 960, 315));
    Text5 = textBox(Frame1, 5, twipsRect(1080, 720, 6240, 315));
    Label6 = caption(Frame1, 6, QStringLiteral("АДРЕС"), twipsRect(120, 1080, 960, 315));
    Text6 = textBox(Frame1, 6, twipsRect(1080, 1080, 6240, 315));
}

void Form6::buildPayment()
{
    Frame2 = frame(this, 2, QStringLiteral("Плащане"), twipsRect(120, 2340, 3720, 1920));
    const auto option = [this](int number, const QString& text, int top) {
        return app::placed(new QRadioButton(text, Frame2), QStringLiteral("Option%1").arg(number),
                           twipsRect(120, top, 3480, 315));
    };
    Option1 = option(1, QStringLiteral("в брой"), 330);
    Option2 = option(2, QStringLiteral("с платежно нареждане"), 690);
    Option3 = option(3, QStringLiteral("с насрещно прихващане"), 1050);
    Label7 = caption(Frame2, 7, QStringLiteral("срок"), twipsRect(120, 1440, 600, 315));
    Text7 = textBox(Frame2, 7, twipsRect(720, 1440, 2760, 315));
}

void Form6::buildDelivery()
{
    Frame3 = frame(this, 3, QStringLiteral("Доставка"), twipsRect(3960, 2340, 3720, 1140));
    Label8 = caption(Frame3, 8, QStringLiteral("дата"), twipsRect(120, 330, 720, 315));
    Text8 = textBox(Frame3, 8, twipsRect(840, 330, 2640, 315));
    Label9 = caption(Frame3, 9, QStringLiteral("място"), twipsRect(120, 720, 720, 315));
    Text9 = textBox(Frame3, 9, twipsRect(840, 720, 2640, 315));
    Label10 = caption(this, 10, QStringLiteral("основание за 0% ДДС:"), twipsRect(3960, 3600, 3720, 285));
    Text10 = textBox(this, 10, twipsRect(3960, 3900, 3720, 315));
}

void Form6::buildGoods()
{
    Frame4 = frame(this, 4, QStringLiteral("Стока"), twipsRect(120, 4380, 7560, 1140));
    Label11 = caption(Frame4, 11, QStringLiteral("мярка"), twipsRect(1980, 300, 1200, 285));
    Label12 = caption(Frame4, 12, QStringLiteral("количество"), twipsRect(3780, 300, 1500, 285));
    Label13 = caption(Frame4, 13, QStringLiteral("ед. цена"), twipsRect(5580, 300, 1500, 285));
    Text11 = textBox(Frame4, 11, twipsRect(120, 630, 1740, 315));
    Text12 = textBox(Frame4, 12, twipsRect(1980, 630, 1680, 315));
    Text13 = textBox(Frame4, 13, twipsRect(3780, 630, 1680, 315));
    Text14 = textBox(Frame4, 14, twipsRect(5580, 630, 1800, 315));
}

void Form6::load()
{
    Text1->setText(nextInvoiceNumber(shop_.data()));
    Text2->setText(store::formatShopDate(QDate::currentDate()));
    shop_.windows.declare(6, this);
    shop_.windows.closeFor(app::Closer::InvoiceDialog);
    offerRecipients();
}

void Form6::offerRecipients()
{
    app::guarded([this] { recipients_ = InvoiceRegister(shop_.folder()).recipients(); });
    QStringList ids;
    QStringList companies;
    for (const Recipient& r : recipients_) {
        if (!r.companyId.isEmpty()) ids << r.companyId;
        if (!r.company.isEmpty()) companies << r.company;
    }
    connect(recipientCompleter(Text3, ids, Qt::MatchStartsWith), qOverload<const QString&>(&QCompleter::activated),
            this, [this](const QString& chosen) { fillRecipient(chosen, &Recipient::companyId); });
    connect(recipientCompleter(Text5, companies, Qt::MatchContains), qOverload<const QString&>(&QCompleter::activated),
            this, [this](const QString& chosen) { fillRecipient(chosen, &Recipient::company); });
}

QCompleter* Form6::recipientCompleter(QLineEdit* field, const QStringList& offered, Qt::MatchFlags match)
{
    auto* completer = new QCompleter(offered, field);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(match);
    field->setCompleter(completer);
    return completer;
}

void Form6::fillRecipient(const QString& chosen, QString Recipient::*field)
{
    for (const Recipient& r : recipients_) {
        if (r.*field != chosen) continue;
        Text3->setText(r.companyId);
        Text4->setText(r.vatNumber);
        Text5->setText(r.company);
        Text6->setText(r.address);
        return;
    }
}

InvoiceData Form6::invoiceData() const
{
    InvoiceData d;
    d.number = Text1->text();
    d.date = Text2->text();
    d.companyId = Text3->text();
    d.vatNumber = Text4->text();
    d.company = Text5->text();
    d.address = Text6->text();
    if (Option1->isChecked())
        d.payment = InvoiceData::Payment::Cash;
    else if (Option2->isChecked())
        d.payment = InvoiceData::Payment::Transfer;
    else if (Option3->isChecked())
        d.payment = InvoiceData::Payment::SetOff;
    d.term = Text7->text();
    d.deliveryDate = Text8->text();
    d.deliveryPlace = Text9->text();
    d.zeroVatBasis = Text10->text();
    return d;
}

void Form6::pokajiFakturata()
{
    const QString problem = recipientIdProblem(Text3->text(), Text4->text());
    if (!problem.isEmpty()) {
        app::warning(problem);
        return;
    }
    if (panel_.showInvoice(invoiceData())) close();
}

void Form6::otkaz()
{
    if (panel_.declineInvoice()) close();
}

} // namespace sales
