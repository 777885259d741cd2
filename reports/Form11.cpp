#include "reports/Form11.h"

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
#include <QListView>
#include <QPushButton>

namespace reports {

namespace {

const QString kTitle = QStringLiteral("Справка за закупени стоки");

} // namespace

Form11::Form11(app::Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop)
{
    setObjectName(QStringLiteral("Form11"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitle);
    setFixedSize(640, 520);
    Label1 = caption(this, QStringLiteral("Label1"), QStringLiteral("от дата"), QRect(12, 14, 60, 24));
    DTPicker1 = datePicker(this, QStringLiteral("DTPicker1"), Label1->text(), QRect(75, 14, 150, 26));
    Label2 = caption(this, QStringLiteral("Label2"), QStringLiteral("до дата"), QRect(12, 50, 60, 24));
    DTPicker2 = datePicker(this, QStringLiteral("DTPicker2"), Label2->text(), QRect(75, 50, 150, 26));
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("&Справка за закупени стоки"),
                      QRect(250, 48, 220, 30));
    lists_ = new LinkedLists(this, purchasedColumns(), QRect(10, 92, 620, 370), 3);
    List1 = lists_->list(0);
    List2 = lists_->list(1);
    List3 = lists_->list(2);
    List4 = lists_->list(3);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("&Печат..."), QRect(10, 477, 100, 30));
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("&Запис в PDF..."), QRect(118, 477, 130, 30));
    Label8 = caption(this, QStringLiteral("Label8"), QStringLiteral("Обща сума"), QRect(350, 480, 80, 24));
    Text1 = app::placed(new QLineEdit(this), QStringLiteral("Text1"), QRect(440, 478, 140, 26));
    Text1->setReadOnly(true);
    Text1->setAlignment(Qt::AlignRight);
    Label10 = caption(this, QStringLiteral("Label10"), store::currencySign(shop_.currency()), QRect(590, 480, 40, 24));
    output_ = new ReportOutput(this, shop_, [this] { return printed(); });
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { report(); }); });
    connect(Command2, &QPushButton::clicked, output_, &ReportOutput::print);
    connect(Command3, &QPushButton::clicked, output_, &ReportOutput::exportPdf);
    auto* keys = new app::WindowKeys(this);
    keys->enterPresses(Command1);
    keys->keyPresses(Command2, QKeySequence::Print, QStringLiteral("Печат на справката"));
    shop_.windows.declare(11, this);
    shop_.windows.closeFor(app::Closer::PurchaseReport);
}

void Form11::report()
{
    const std::optional<Period> period = typedPeriod(DTPicker1, DTPicker2);
    if (!period) return;
    PeriodListing result = purchasedInPeriod(shop_.data(), period->from, period->to);
    if (const QString refusal = periodRefusal(result.outcome, QStringLiteral("закупени")); !refusal.isEmpty()) {
        emptyReport();
        app::warning(refusal);
        return;
    }
    lists_->model().setRows(std::move(result.listing.rows));
    Text1->setText(store::formatMoney(result.listing.sum));
    period_ = periodText(period->from, period->to);
}

void Form11::emptyReport()
{
    lists_->model().clear();
    Text1->clear();
    period_.clear();
}

std::optional<PrintedReport> Form11::printed() const
{
    if (period_.isEmpty()) return std::nullopt;
    return PrintedReport{kTitle, period_, purchasedColumns(), lists_->model().rows(),
                         QStringLiteral("Обща сума: %1 %2").arg(Text1->text(), store::currencySign(shop_.currency()))};
}

} // namespace reports
