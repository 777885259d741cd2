#include "reports/Form12.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "reports/DateField.h"
#include "reports/ReportData.h"
#include "reports/ReportWidgets.h"
#include "store/Money.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace reports {

namespace {

const QString kTitle = QStringLiteral("Справка за печалба");

} // namespace

Form12::Form12(app::Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop)
{
    setObjectName(QStringLiteral("Form12"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitle);
    setFixedSize(400, 200);
    Label1 = caption(this, QStringLiteral("Label1"), QStringLiteral("от дата"), QRect(12, 14, 60, 24));
    DTPicker1 = datePicker(this, QStringLiteral("DTPicker1"), Label1->text(), QRect(75, 14, 150, 26));
    Label2 = caption(this, QStringLiteral("Label2"), QStringLiteral("до дата"), QRect(12, 50, 60, 24));
    DTPicker2 = datePicker(this, QStringLiteral("DTPicker2"), Label2->text(), QRect(75, 50, 150, 26));
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("&Справка"), QRect(250, 48, 130, 30));
    Label8 = caption(this, QStringLiteral("Label8"), QStringLiteral("Печалба"), QRect(12, 100, 60, 24));
    Text1 = app::placed(new QLineEdit(this), QStringLiteral("Text1"), QRect(75, 98, 150, 26));
    Text1->setReadOnly(true);
    Text1->setAlignment(Qt::AlignRight);
    Label10 = caption(this, QStringLiteral("Label10"), store::currencySign(shop_.currency()), QRect(232, 100, 40, 24));
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("&Печат..."), QRect(12, 155, 100, 30));
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("&Запис в PDF..."), QRect(120, 155, 130, 30));
    output_ = new ReportOutput(this, shop_, [this] { return printed(); });
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { report(); }); });
    connect(Command2, &QPushButton::clicked, output_, &ReportOutput::print);
    connect(Command3, &QPushButton::clicked, output_, &ReportOutput::exportPdf);
    auto* keys = new app::WindowKeys(this);
    keys->enterPresses(Command1);
    keys->keyPresses(Command2, QKeySequence::Print, QStringLiteral("Печат на справката"));
    shop_.windows.declare(12, this);
    shop_.windows.closeFor(app::Closer::ProfitReport);
}

void Form12::report()
{
    const std::optional<Period> period = typedPeriod(DTPicker1, DTPicker2);
    if (!period) return;
    const Profit result = profitInPeriod(shop_.data(), period->from, period->to);
    switch (result.outcome) {
    case Outcome::Reversed:
        app::warning(kReversedDates);
        return;
    case Outcome::EmptyLedger:
        app::warning(kNoSales);
        break;
    case Outcome::OutsidePeriod:
    case Outcome::Done:
        break;
    }
    Text1->setText(store::formatMoney(result.profit));
    period_ = periodText(period->from, period->to);
}

std::optional<PrintedReport> Form12::printed() const
{
    if (period_.isEmpty()) return std::nullopt;
    return PrintedReport{kTitle, period_, {}, {}, QStringLiteral("Печалба: %1 %2").arg(Text1->text(), store::currencySign(shop_.currency()))};
}

} // namespace reports
