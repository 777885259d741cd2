#include "reports/Form12.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "reports/ChartView.h"
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
const QString kOverTime = QStringLiteral("Печалба");
const QString kTopBy = QStringLiteral("печалба");

} // namespace

Form12::Form12(app::Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop)
{
    frameReportWindow(this, shop_, 12, kTitle, QSize(840, 480), app::Closer::ProfitReport);
    std::tie(Label1, DTPicker1, Label2, DTPicker2) = 
        periodFields(this, QStringLiteral("Label1"), QStringLiteral("Label2"), 14, 50);
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("&Справка"), QRect(250, 48, 130, 30));
    std::tie(Label8, Text1, Label10) = totalField(this, shop_, QStringLiteral("Печалба"), QRect(12, 100, 60, 24),
                                        QRect(75, 98, 150, 26), QRect(232, 100, 40, 24));
    Chart1 = new ChartView(this, QStringLiteral("Chart1"), QRect(12, 195, 405, 275), overTimePicture({}, kOverTime));
    Chart2 = new ChartView(this, QStringLiteral("Chart2"), QRect(425, 195, 405, 275), topGoodsPicture({}, kTopBy));
    output_ = new ReportOutput(this, shop_, [this] { return printed(); });
    auto* keys = new app::WindowKeys(this);
    std::tie(Command2, Command3) = 
        output_->buttons(*keys, QStringLiteral("Command2"), QStringLiteral("Command3"), QPoint(12, 155));
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { report(); }); });
    keys->enterPresses(Command1);
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
    const Chart chart = profitChart(shop_.data(), period->from, period->to);
    Chart1->setPicture(overTimePicture(chart, kOverTime));
    Chart2->setPicture(topGoodsPicture(chart, kTopBy));
    period_ = periodText(period->from, period->to);
}

std::optional<PrintedReport> Form12::printed() const
{
    if (period_.isEmpty()) return std::nullopt;
    return PrintedReport{kTitle, period_, {}, {},
                         QStringLiteral("Печалба: %1 %2").arg(Text1->text(), store::currencySign(shop_.currency())),
                         {Chart1->picture(), Chart2->picture()}};
}

} // namespace reports
