#include "reports/ReportWidgets.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/ProgramFolder.h"
#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "reports/DateField.h"
#include "reports/ReportData.h"
#include "store/DataWorkbook.h"
#include "store/Money.h"
#include "store/StoreError.h"
#include "store/window/PrintPreview.h"
#include "store/xls/XlsError.h"

#include <QDir>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>

namespace reports {

namespace {

constexpr int kHeadingHeight = 20;

} // namespace

const std::vector<ReportColumn>& soldColumns()
{
    static const std::vector<ReportColumn> columns{{kSoldHeadings[0], 0.16, false}, {kSoldHeadings[1], 0.40, false},
                                                   {kSoldHeadings[2], 0.09, true}, {kSoldHeadings[3], 0.13, true},
                                                   {kSoldHeadings[4], 0.22, false}};
    return columns;
}

const std::vector<ReportColumn>& purchasedColumns()
{
    static const std::vector<ReportColumn> columns{{kPurchasedHeadings[0], 0.18, false},
                                                   {kPurchasedHeadings[1], 0.52, false},
                                                   {kPurchasedHeadings[2], 0.12, true},
                                                   {kPurchasedHeadings[3], 0.18, true}};
    return columns;
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    return app::placed(new QLabel(text, parent), name, geometry);
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    return app::placed(new QPushButton(text, parent), name, geometry);
}

DateField* datePicker(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    return app::placed(new DateField(QDate::currentDate(), caption, parent), name, geometry);
}

void frameReportWindow(QWidget* window, app::Shop& shop, int formNumber, const QString& title, const QSize& size,
                       app::Closer closer)
{
    window->setObjectName(QStringLiteral("Form%1").arg(formNumber));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    window->setFixedSize(size);
    shop.windows.declare(formNumber, window);
    shop.windows.closeFor(closer);
}

std::tuple<QLabel*, DateField*, QLabel*, DateField*> periodFields(QWidget* parent, const QString& fromCaptionName,
                                                                  const QString& toCaptionName, int fromTop, int toTop)
{
    QLabel* fromCaption = caption(parent, fromCaptionName, QStringLiteral("от дата"), QRect(12, fromTop, 60, 24));
    DateField* from = datePicker(parent, QStringLiteral("DTPicker1"), fromCaption->text(), QRect(75, fromTop, 150, 26));
    QLabel* toCaption = caption(parent, toCaptionName, QStringLiteral("до дата"), QRect(12, toTop, 60, 24));
    DateField* to = datePicker(parent, QStringLiteral("DTPicker2"), toCaption->text(), QRect(75, toTop, 150, 26));
    return {fromCaption, from, toCaption, to};
}

std::tuple<QLabel*, QLineEdit*, QLabel*> totalField(QWidget* parent, app::Shop& shop, const QString& text,
                                                    const QRect& captionPlace, const QRect& amountPlace,
                                                    const QRect& signPlace)
{
    auto* amount = app::placed(new QLineEdit(parent), QStringLiteral("Text1"), amountPlace);
    amount->setReadOnly(true);
    amount->setAlignment(Qt::AlignRight);
    return {caption(parent, QStringLiteral("Label8"), text, captionPlace), amount,
            caption(parent, QStringLiteral("Label10"), store::currencySign(shop.currency()), signPlace)};
}

std::optional<Period> typedPeriod(DateField* from, DateField* to)
{
    for (DateField* field : {from, to}) {
        if (const QString problem = field->problem(); !problem.isEmpty()) {
            app::warning(problem);
            field->setFocus();
            field->selectAll();
            return std::nullopt;
        }
    }
    return Period{from->date(), to->date()};
}

QString periodText(const QString& from, const QString& to)
{
    return QStringLiteral("Период: от %1 до %2").arg(from, to);
}

QString periodText(const QDate& from, const QDate& to)
{
    return periodText(store::formatShopDate(from), store::formatShopDate(to));
}

ReportModel::ReportModel(const std::vector<ReportColumn>& columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns)
{
}

void ReportModel::setRows(std::vector<QStringList> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= rows_.size() || size_t(index.column()) >= columns_.size()) return {};
    if (role == Qt::DisplayRole) return rows_[size_t(index.row())].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((columns_[size_t(index.column())].alignRight ? Qt::AlignRight : Qt::AlignLeft)
                                   | Qt::AlignVCenter);
    return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || size_t(section) >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return columns_[size_t(section)].heading;
}

LinkedLists::LinkedLists(QWidget* parent, const std::vector<ReportColumn>& columns, const QRect& area, int firstLabel)
    : QObject(parent), model_(new ReportModel(columns, this))
{
    double left = area.left();
    for (size_t i = 0; i < columns.size(); ++i) {
        const double width = area.width() * columns[i].width;
        const QRect heading(int(left), area.top(), int(width), kHeadingHeight);
        auto* label = new QLabel(columns[i].heading, parent);
        label->setObjectName(QStringLiteral("Label%1").arg(firstLabel + int(i)));
        label->setGeometry(heading.adjusted(4, 0, -4, 0));
        label->setAlignment((columns[i].alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        auto* list = new QListView(parent);
        list->setObjectName(QStringLiteral("List%1").arg(i + 1));
        list->setGeometry(int(left), area.top() + kHeadingHeight, int(width), area.height() - kHeadingHeight);
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (i + 1 < columns.size()) list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The lists move together: Tab stops at the first one only.
        if (i > 0) list->setFocusPolicy(Qt::ClickFocus);
        list->setModel(model_);
        list->setModelColumn(int(i));
        connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& current) { selectRow(current.row()); });
        connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, &LinkedLists::scrollAllTo);
        lists_.push_back(list);
        left += width;
    }
}

void LinkedLists::selectRow(int row)
{
    for (QListView* list : lists_) {
        const QModelIndex entry = model_->index(row, list->modelColumn());
        if (list->currentIndex() != entry)
            list->selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    }
}

void LinkedLists::scrollAllTo(int value)
{
    for (QListView* list : lists_) list->verticalScrollBar()->setValue(value);
}

ReportOutput::ReportOutput(QWidget* window, app::Shop& shop, Source current)
    : QObject(window), window_(window), shop_(shop), current_(std::move(current))
{
}

// The preview goes first: it prints on the printer this keeps.
ReportOutput::~ReportOutput()
{
    delete preview_;
}

std::optional<PrintedReport> ReportOutput::reportOrWarning() const
{
    auto report = current_();
    if (!report) app::warning(QStringLiteral("Няма справка за отпечатване. Изберете период и натиснете „Справка“."));
    return report;
}

void ReportOutput::print()
{
    const auto report = reportOrWarning();
    if (!report) return;
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
    }
    printer_->setDocName(report->title);
    printer_->setPageOrientation(report->orientation);
    preview_ = store::window::openPrintPreview(window_, *printer_, report->title, [report = *report](QPrinter& printer) {
        if (!paintReport(report, printer)) app::warning(QStringLiteral("Справката не може да бъде отпечатана."));
    });
}

void ReportOutput::exportPdf()
{
    const auto report = reportOrWarning();
    if (!report) return;
    const QString suggested = app::inFolder(shop_.folder(), report->title + QStringLiteral(".pdf"));
    auto* dialog = new QFileDialog(window_, QStringLiteral("Запис на справката като PDF"), suggested,
                                   QStringLiteral("PDF (*.pdf)"));
    dialog->setObjectName(QStringLiteral("PdfDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    connect(dialog, &QFileDialog::fileSelected, this, [report = *report](const QString& path) {
        if (!writePdf(report, path))
            app::warning(errorMessage(store::xls::XlsError::FileNotWritten, {QDir::toNativeSeparators(path)}));
    });
    dialog->open();
}

std::pair<QPushButton*, QPushButton*> ReportOutput::buttons(app::WindowKeys& keys, const QString& printName,
                                                            const QString& pdfName, const QPoint& topLeft)
{
    auto* printButton = button(window_, printName, QStringLiteral("&Печат..."), QRect(topLeft, QSize(100, 30)));
    auto* pdfButton = button(window_, pdfName, QStringLiteral("&Запис в PDF..."), QRect(topLeft + QPoint(108, 0), QSize(130, 30)));
    connect(printButton, &QPushButton::clicked, this, &ReportOutput::print);
    connect(pdfButton, &QPushButton::clicked, this, &ReportOutput::exportPdf);
    keys.keyPresses(printButton, QKeySequence::Print, QStringLiteral("Печат на справката"));
    return {printButton, pdfButton};
}

} // namespace reports
