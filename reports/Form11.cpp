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
    frameReportWindow(this, shop_, 11, kTitle, QSize(640, 520), app::Closer::PurchaseReport);
    std::tie(Label1, DTPicker1, Label2, DTPicker2) = 
        periodFields(this, QStringLiteral("Label1"), QStringLiteral("Label2"), 14, 50);
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("&Справка за закупени стоки"),
                      QRect(250, 48, 220, 30));
    lists_ = new LinkedLists(this, purchasedColumns(), QRect(10, 92, 620, 370), 3);
    List1 = lists_->list(0);
    List2 = lists_->list(1);
    List3 = lists_->list(2);
    List4 = lists_->list(3);
    output_ = new ReportOutput(this, shop_, [this] { return printed(); });
    auto* keys = new app::WindowKeys(this);
    std::tie(Command2, Command3) = 
        output_->buttons(*keys, QStringLiteral("Command2"), QStringLiteral("Command3"), QPoint(10, 477));
    std::tie(Label8, Text1, Label10) = totalField(this, shop_, QStringLiteral("Обща сума"), QRect(350, 480, 80, 24),
                                        QRect(440, 478, 140, 26), QRect(590, 480, 40, 24));
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { report(); }); });
    keys->enterPresses(Command1);
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
