#include "reports/Form9.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "reports/ChartView.h"
#include "reports/DateField.h"
#include "reports/ReportData.h"
#include "reports/ReportWidgets.h"
#include "store/Money.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>

namespace reports {

namespace {

const QString kTitle = QStringLiteral("Справка за продадени стоки");
const QString kOverTime = QStringLiteral("Продажби");
const QString kTopBy = QStringLiteral("сума");

} // namespace

Form9::Form9(app::Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop)
{
    frameReportWindow(this, shop_, 9, kTitle, QSize(1190, 560), app::Closer::SoldReport);
    output_ = new ReportOutput(this, shop_, [this] { return printed(); });
    auto* keys = new app::WindowKeys(this);
    buildChoiceByLists();
    buildChoiceByPickers();
    buildReportArea(*keys);
    connect(Combo1, &QComboBox::activated, this, [this](int index) { chooseFromDate(index); });
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { listDateReport(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { app::guarded([this] { pickerReport(); }); });
    // Enter runs the report of the frame that holds the focus, the calendar's outside both frames.
    keys->enterPresses(Command2);
    keys->enterPresses(Command1, Frame1);
}

void Form9::buildChoiceByLists()
{
    Frame1 = app::placed(new QGroupBox(QStringLiteral("По дните с продажби"), this), QStringLiteral("Frame1"),
                         QRect(10, 8, 365, 112));
    Label1 = caption(Frame1, QStringLiteral("Label1"), QStringLiteral("от дата"), QRect(12, 26, 60, 24));
    fromDates_ = new QStringListModel(this);
    Combo1 = app::placed(new QComboBox(Frame1), QStringLiteral("Combo1"), QRect(75, 26, 150, 26));
    Combo1->setModel(fromDates_);
    Label2 = caption(Frame1, QStringLiteral("Label2"), QStringLiteral("до дата"), QRect(12, 64, 60, 24));
    toDates_ = new QStringListModel(this);
    Combo2 = app::placed(new QComboBox(Frame1), QStringLiteral("Combo2"), QRect(75, 64, 150, 26));
    Combo2->setModel(toDates_);
    Label2->hide();
    Combo2->hide();
    Command1 = button(Frame1, QStringLiteral("Command1"), QStringLiteral("Сп&равка"), QRect(245, 64, 105, 28));
}

void Form9::buildChoiceByPickers()
{
    Frame2 = app::placed(new QGroupBox(QStringLiteral("По календара"), this), QStringLiteral("Frame2"),
                         QRect(385, 8, 365, 112));
    std::tie(Label9, DTPicker1, Label11, DTPicker2) = 
        periodFields(Frame2, QStringLiteral("Label9"), QStringLiteral("Label11"), 26, 64);
    Command2 = button(Frame2, QStringLiteral("Command2"), QStringLiteral("&Справка"), QRect(245, 64, 105, 28));
}

void Form9::buildReportArea(app::WindowKeys& keys)
{
    lists_ = new LinkedLists(this, soldColumns(), QRect(10, 130, 740, 370), 3);
    List1 = lists_->list(0);
    List2 = lists_->list(1);
    List3 = lists_->list(2);
    List4 = lists_->list(3);
    List5 = lists_->list(4);
    Chart1 = new ChartView(this, QStringLiteral("Chart1"), QRect(760, 130, 420, 170), overTimePicture({}, kOverTime));
    Chart2 = new ChartView(this, QStringLiteral("Chart2"), QRect(760, 310, 420, 240), topGoodsPicture({}, kTopBy));
    std::tie(Command3, Command4) = 
        output_->buttons(keys, QStringLiteral("Command3"), QStringLiteral("Command4"), QPoint(10, 515));
    std::tie(Label8, Text1, Label10) = totalField(this, shop_, QStringLiteral("Сума за периода"), QRect(440, 518, 120, 24),
                                        QRect(565, 516, 140, 26), QRect(712, 518, 40, 24));
}

void Form9::fillDates()
{
    fromDates_->setStringList(saleDates(shop_.data()));
    Combo1->setCurrentIndex(-1);
    Combo2->hide();
    Label2->hide();
}

void Form9::chooseFromDate(int index)
{
    if (index < 0) return;
    toDates_->setStringList(fromDates_->stringList().mid(index));
    Combo2->setCurrentIndex(-1);
    Label2->show();
    Combo2->show();
}

void Form9::listDateReport()
{
    if (Combo1->currentIndex() < 0 || Combo2->isHidden() || Combo2->currentIndex() < 0) {
        app::warning(QStringLiteral("Изберете от дата ... до дата ..."));
        return;
    }
    const QString from = Combo1->currentText();
    const QString to = Combo2->currentText();
    showListing(soldBetweenEntries(shop_.data(), from, to), periodText(from, to));
}

void Form9::pickerReport()
{
    const std::optional<Period> period = typedPeriod(DTPicker1, DTPicker2);
    if (!period) return;
    PeriodListing report = soldInPeriod(shop_.data(), period->from, period->to);
    if (const QString refusal = periodRefusal(report.outcome, QStringLiteral("продадени")); !refusal.isEmpty()) {
        emptyReport();
        app::warning(refusal);
        return;
    }
    showListing(std::move(report.listing), periodText(period->from, period->to));
}

void Form9::showListing(Listing listing, const QString& period)
{
    lists_->model().setRows(std::move(listing.rows));
    Text1->setText(store::formatMoney(listing.sum));
    showChart(listing.chart);
    period_ = period;
}

void Form9::showChart(const Chart& chart)
{
    Chart1->setPicture(overTimePicture(chart, kOverTime));
    Chart2->setPicture(topGoodsPicture(chart, kTopBy));
}

void Form9::emptyReport()
{
    lists_->model().clear();
    Text1->clear();
    showChart({});
    period_.clear();
}

std::optional<PrintedReport> Form9::printed() const
{
    if (period_.isEmpty()) return std::nullopt;
    return PrintedReport{kTitle, period_, soldColumns(), lists_->model().rows(),
                         QStringLiteral("Сума за периода: %1 %2").arg(Text1->text(), store::currencySign(shop_.currency())),
                         {Chart1->picture(), Chart2->picture()}};
}

} // namespace reports
