#include "reports/Form17.h"

#include "common/Messages.h"
#include "common/ProgramFolder.h"
#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "reports/ReportWidgets.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <tuple>

namespace reports {

namespace {

const QString kTitle = QStringLiteral("За поръчка");

} // namespace

Form17::Form17(app::Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop)
{
    // As wide as the main window, so that centred over it the window stays on the screen.
    frameReportWindow(this, shop_, 17, kTitle, QSize(790, 520), app::Closer::OrderReport);
    model_ = new ReportModel(orderColumns(), this);
    List1 = new QTableView(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(10, 10, 770, 452);
    List1->setModel(model_);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    List1->setWordWrap(false);
    List1->verticalHeader()->hide();
    List1->verticalHeader()->setDefaultSectionSize(List1->fontMetrics().height() + 6);
    // The names take what the figures' headings leave.
    List1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    List1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    output_ = new ReportOutput(this, shop_, [this] { return printed(); });
    auto* keys = new app::WindowKeys(this);
    std::tie(Command1, Command2) =
        output_->buttons(*keys, QStringLiteral("Command1"), QStringLiteral("Command2"), QPoint(10, 477));
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("Запиши като .&xls..."), QRect(256, 477, 160, 30));
    connect(Command3, &QPushButton::clicked, this, [this] { app::guarded([this] { askXlsFile(); }); });
}

void Form17::refresh()
{
    day_ = QDate::currentDate();
    lines_ = orderList(shop_.data(), day_);
    std::vector<QStringList> rows;
    rows.reserve(lines_.size());
    for (const OrderLine& line : lines_) rows.push_back(orderRow(line));
    model_->setRows(std::move(rows));
}

std::optional<PrintedReport> Form17::printed() const
{
    return PrintedReport{kTitle, QStringLiteral("Към %1").arg(store::formatShopDate(day_)), orderColumns(),
                         model_->rows(), QStringLiteral("Стоки за поръчка: %1").arg(lines_.size()), {},
                         QPageLayout::Landscape};
}

void Form17::askXlsFile()
{
    auto* dialog = new QFileDialog(this, QStringLiteral("Запис на списъка за поръчка"),
                                   app::inFolder(shop_.folder(), kTitle + QStringLiteral(".xls")),
                                   QStringLiteral("Excel 97-2003 (*.xls)"));
    dialog->setObjectName(QStringLiteral("XlsDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("xls"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        app::guarded([this, path] { saveXls(path); });
    });
    dialog->open();
}

void Form17::saveXls(const QString& path) const
{
    orderWorkbook(lines_)->SaveAs(path);
}

} // namespace reports
