#include "sales/Form16.h"

#include "common/Controls.h"
#include "common/Desktop.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"
#include "store/InvoiceLayout.h"
#include "store/Workbook.h"
#include "store/window/PrintPreview.h"
#include "store/window/SheetPrint.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>

namespace sales {

namespace {

constexpr int kFormNumber = 16;
const QString kDuplicateStamp = QStringLiteral("ДУБЛИКАТ");

QList<QStandardItem*> line(const IssuedDocument& d)
{
    const QString recipient = d.recipient.company.isEmpty() ? d.recipient.companyId : d.recipient.company;
    QList<QStandardItem*> items;
    for (const QString& text : {d.number, kindName(d.kind), store::formatShopDate(d.date), recipient,
                                store::moneyWithSign(d.sum, d.currency)}) {
        auto* item = new QStandardItem(text);
        item->setEditable(false);
        items << item;
    }
    items.last()->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return items;
}

} // namespace

Form16::Form16(app::Shop& shop, QWidget* parent) : QWidget(parent), shop_(shop), model_(new QStandardItemModel(this))
{
    using app::twipsRect;
    setObjectName(QStringLiteral("Form16"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Издадени фактури"));
    setFixedSize(app::px(9600), app::px(5280));
    List1 = app::placed(new QTreeView(this), QStringLiteral("List1"), twipsRect(240, 240, 9120, 4080));
    List1->setModel(model_);
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Command1 = app::placed(new QPushButton(QStringLiteral("&Отвори"), this), QStringLiteral("Command1"),
                           twipsRect(240, 4500, 1800, 495));
    Command2 = app::placed(new QPushButton(QStringLiteral("&Дубликат"), this), QStringLiteral("Command2"),
                           twipsRect(2160, 4500, 1800, 495));
    Command3 = app::placed(new QPushButton(QStringLiteral("&Затвори"), this), QStringLiteral("Command3"),
                           twipsRect(7560, 4500, 1800, 495));
    connect(Command1, &QPushButton::clicked, this, &Form16::otvori);
    connect(Command2, &QPushButton::clicked, this, [this] { app::guarded([this] { dublikat(); }); });
    connect(Command3, &QPushButton::clicked, this, &QWidget::close);
    connect(List1, &QTreeView::doubleClicked, this, &Form16::otvori);
    (new app::WindowKeys(this))->enterPresses(Command1);
    shop.windows.declare(kFormNumber, this);
}

Form16::~Form16() = default;

void Form16::load()
{
    model_->clear();
    model_->setHorizontalHeaderLabels({QStringLiteral("Номер"), QStringLiteral("Вид"), QStringLiteral("Дата"),
                                       QStringLiteral("Получател"), QStringLiteral("Сума")});
    documents_.clear();
    app::guarded([this] { documents_ = InvoiceRegister(shop_.folder()).documents(); });
    std::reverse(documents_.begin(), documents_.end());
    for (const IssuedDocument& d : documents_) model_->appendRow(line(d));
    for (int column = 0; column < model_->columnCount(); ++column) List1->resizeColumnToContents(column);
}

const IssuedDocument* Form16::chosen() const
{
    const QModelIndex current = List1->currentIndex();
    if (current.isValid()) return &documents_[size_t(current.row())];
    app::warning(documents_.empty() ? QStringLiteral("Още няма издадени фактури.")
                                    : QStringLiteral("Изберете документ от списъка."));
    return nullptr;
}

void Form16::otvori()
{
    const IssuedDocument* d = chosen();
    if (!d) return;
    const QString problem = app::openDocument(InvoiceRegister(shop_.folder()).pdfPath(*d));
    if (!problem.isEmpty()) app::warning(problem);
}

void Form16::dublikat()
{
    const IssuedDocument* d = chosen();
    if (!d) return;
    const QString path = InvoiceRegister(shop_.folder()).formPath(*d);
    if (!QFileInfo(path).isFile()) {
        app::warning(app::missingFile(path));
        return;
    }
    const std::shared_ptr<const store::Workbook> form = store::Workbook::open(path);
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        store::window::setUpA4(*printer_);
    }
    const QString title = QStringLiteral("%1 № %2 – %3").arg(kindName(d->kind), d->number, kDuplicateStamp);
    printer_->setDocName(title);
    store::window::openPrintPreview(this, *printer_, title, [form](QPrinter& printer) {
        if (!store::window::printSheet(form->sheets(store::layout::invoice::kSheet), printer, kDuplicateStamp))
            app::warning(QStringLiteral("Дубликатът не може да бъде отпечатан."));
    });
}

void openIssuedDocuments(app::Shop& shop)
{
    auto* window = qobject_cast<Form16*>(shop.windows.window(kFormNumber));
    if (!window) window = new Form16(shop);
    window->load();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace sales
