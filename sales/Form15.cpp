#include "sales/Form15.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"
#include "sales/DialogFields.h"
#include "sales/Sale.h"
#include "sales/SaleError.h"
#include "store/StoreError.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>

namespace sales {

namespace {

constexpr int kFormNumber = 15;
const QString kNoSaleChosen = QStringLiteral("Не сте избрали продажба");
const QString kAllLeft = QStringLiteral("всички");
const QStringList kHeadings{QStringLiteral("Дата"),     QStringLiteral("Име"),  QStringLiteral("Продадени"),
                            QStringLiteral("За връщане"), QStringLiteral("Цена"), QStringLiteral("Фактура")};

QList<QStandardItem*> saleItems(const ReturnableSale& sale)
{
    QList<QStandardItem*> items;
    for (const QString& text : {sale.date, sale.name, QString::number(sale.sold), QString::number(sale.returnable),
                                store::formatMoney(sale.price), sale.invoice}) {
        auto* item = new QStandardItem(text);
        item->setEditable(false);
        items << item;
    }
    return items;
}

// A return the shop keeper asked wrongly, as against one the spreadsheet could not record.
bool isRefusal(const store::Error& e)
{
    const auto kind = e.kind<SaleError>();
    return kind == SaleError::NotASale || kind == SaleError::NoReturnCount || kind == SaleError::ReturnTooMany ||
           kind == SaleError::ReturnInvoicesDiffer;
}

bool anyStockProblem(const ReturnDone& done)
{
    return std::any_of(done.lines.begin(), done.lines.end(),
                       [](const ReturnedLine& line) { return !line.stockProblem.isEmpty(); });
}

} // namespace

using namespace fields;
using app::twipsRect;

Form15::Form15(app::Shop& shop, QWidget* parent)
    : QWidget(parent), shop_(shop), model_(new QStandardItemModel(this))
{
    setObjectName(QStringLiteral("Form15"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Връщане на стока"));
    setFixedSize(app::px(9600), app::px(6300));
    buildControls();
    connect(Text1, &QLineEdit::textChanged, this, [this] { app::guarded([this] { listSales(); }); });
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Form15::saleChosen);
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { varni(); }); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    app::useDialogKeys(this, Command1);
    shop_.windows.declare(kFormNumber, this);
    shop_.windows.closeFor(app::Closer::ReturnWindow);
    listSales();
}

void Form15::buildControls()
{
    Label1 = caption(this, 1, QStringLiteral("Фактура №"), twipsRect(240, 240, 1200, 315));
    Text1 = textBox(this, 1, twipsRect(1440, 240, 2160, 315));
    List1 = app::placed(new QTreeView(this), QStringLiteral("List1"), twipsRect(240, 720, 9120, 3960));
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setModel(model_);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Label2 = caption(this, 2, QStringLiteral("Брой"), twipsRect(240, 4920, 720, 315));
    Combo1 = app::placed(new QComboBox(this), QStringLiteral("Combo1"), twipsRect(960, 4920, 1080, 315));
    Label3 = caption(this, 3, QStringLiteral("Причина"), twipsRect(2400, 4920, 960, 315));
    Combo2 = app::placed(new QComboBox(this), QStringLiteral("Combo2"), twipsRect(3360, 4920, 3600, 315));
    Combo2->addItems(kReturnReasons);
    Command1 = app::placed(new QPushButton(QStringLiteral("&Върни"), this), QStringLiteral("Command1"),
                           twipsRect(5760, 5520, 1680, 480));
    Command2 = app::placed(new QPushButton(QStringLiteral("&Затвори"), this), QStringLiteral("Command2"),
                           twipsRect(7680, 5520, 1680, 480));
}

void Form15::listSales()
{
    const std::vector<ReturnableSale> all = returnableSales(shop_.data());
    const bool oneInvoice = !Text1->text().trimmed().isEmpty();
    listed_ = oneInvoice ? salesOnInvoice(all, Text1->text()) : all;
    model_->clear();
    model_->setHorizontalHeaderLabels(kHeadings);
    for (const ReturnableSale& sale : listed_) model_->appendRow(saleItems(sale));
    for (int column = 0; column < kHeadings.size(); ++column) List1->resizeColumnToContents(column);
    if (oneInvoice) List1->selectAll();
    saleChosen();
}

std::vector<ReturnableSale> Form15::chosen() const
{
    std::vector<ReturnableSale> sales;
    for (const QModelIndex& row : List1->selectionModel()->selectedRows())
        if (size_t(row.row()) < listed_.size()) sales.push_back(listed_[size_t(row.row())]);
    std::sort(sales.begin(), sales.end(), [](const ReturnableSale& a, const ReturnableSale& b) { return a.row < b.row; });
    return sales;
}

// The count box offers 1 to what the one chosen sale still has to return; several chosen sales
// return all they have left.
void Form15::saleChosen()
{
    Combo1->clear();
    const std::vector<ReturnableSale> sales = chosen();
    Combo1->setEnabled(sales.size() <= 1);
    if (sales.size() > 1) Combo1->addItem(kAllLeft);
    if (sales.size() == 1)
        for (int count = 1; count <= sales[0].returnable; ++count) Combo1->addItem(QString::number(count));
    Combo1->setCurrentIndex(0);
}

void Form15::varni()
{
    const std::vector<ReturnableSale> sales = chosen();
    if (sales.empty()) {
        app::warning(kNoSaleChosen);
        return;
    }
    std::vector<ReturnLine> lines;
    for (const ReturnableSale& sale : sales)
        lines.push_back({sale.row, sales.size() == 1 ? Combo1->currentText().toInt() : sale.returnable});
    ReturnIssued issued;
    try {
        issued = returnSale(shop_, lines, Combo2->currentText());
    } catch (const store::Error& e) {
        if (!isRefusal(e)) throw;
        app::warning(e.message());
        return;
    }
    listSales();
    emit stockOutOfDate();
    const QString told = returnRecordedText(issued.done, shop_.currency());
    emit status(told);
    if (anyStockProblem(issued.done)) app::warning(told);
}

} // namespace sales
