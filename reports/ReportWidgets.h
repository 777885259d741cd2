#pragma once

#include "common/WindowRegistry.h"
#include "reports/PrintedReport.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

class QLabel;
class QListView;
class QPrintPreviewDialog;
class QPrinter;
class QLineEdit;
class QPushButton;
class QWidget;

namespace app {
class Shop;
class WindowKeys;
} // namespace app

// Pieces the three report windows share.
namespace reports {

class DateField;

// The columns of the two listing reports: headings, widths, alignment.
const std::vector<ReportColumn>& soldColumns();
const std::vector<ReportColumn>& purchasedColumns();

// A caption and a button of a report window, named and placed.
QLabel* caption(QWidget* parent, const QString& name, const QString& text, const QRect& geometry);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& geometry);

// A date field starting at today's date; `caption` is what the messages about it call it.
DateField* datePicker(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);

// A report window's frame: FormN, its title and fixed size, gone once closed; the shop's window
// list knows it, and the windows that its opening closes are closed.
void frameReportWindow(QWidget* window, app::Shop& shop, int formNumber, const QString& title, const QSize& size,
                       app::Closer closer);

// The period asked for: "от дата" and "до дата" one under the other, each caption at x 12 with its
// date field (DTPicker1, DTPicker2) at x 75. Caption, field, caption, field.
std::tuple<QLabel*, DateField*, QLabel*, DateField*> periodFields(QWidget* parent, const QString& fromCaptionName,
                                                                  const QString& toCaptionName, int fromTop, int toTop);

// The report's total: its caption (Label8), the amount shown read-only to the right (Text1) and the
// shop's currency sign (Label10).
std::tuple<QLabel*, QLineEdit*, QLabel*> totalField(QWidget* parent, app::Shop& shop, const QString& text,
                                                    const QRect& captionPlace, const QRect& amountPlace,
                                                    const QRect& signPlace);

// The period typed into the two fields. Nothing when either holds no date: the shop keeper is told
// which text is wrong and the focus goes to its field.
struct Period {
    QDate from;
    QDate to;
};
std::optional<Period> typedPeriod(DateField* from, DateField* to);

// "Период: от 1. 03. 2011 до 31. 03. 2011"
QString periodText(const QString& from, const QString& to);
QString periodText(const QDate& from, const QDate& to);

// The rows of a report, one column per list.
class ReportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportModel(const std::vector<ReportColumn>& columns, QObject* parent = nullptr);

    void setRows(std::vector<QStringList> rows);
    void clear() { setRows({}); }
    const std::vector<QStringList>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The columns' headings, for a table view.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<ReportColumn> columns_;
    std::vector<QStringList> rows_;
};

// Lists side by side, one per column of a report, each under its heading: a click in any of them
// selects the same position in all, and scrolling one scrolls the others to the same top entry.
// Tab reaches the first list only.
// The lists are named List1, List2, ...; the headings Label<firstLabel>, Label<firstLabel + 1>, ...
class LinkedLists : public QObject {
    Q_OBJECT
public:
    LinkedLists(QWidget* parent, const std::vector<ReportColumn>& columns, const QRect& area, int firstLabel);

    ReportModel& model() const { return *model_; }
    QListView* list(int i) const { return lists_[size_t(i)]; }
    int count() const { return int(lists_.size()); }

private:
    void selectRow(int row);
    void scrollAllTo(int value);

    ReportModel* model_;
    std::vector<QListView*> lists_;
};

// Print and PDF for a report window: the report comes from `current`, nothing when no report is shown.
class ReportOutput : public QObject {
    Q_OBJECT
public:
    using Source = std::function<std::optional<PrintedReport>()>;
    ReportOutput(QWidget* window, app::Shop& shop, Source current);
    ~ReportOutput() override;

    // The print preview, from which the shop keeper prints.
    void print();
    // A file dialog for the PDF file, then the report written to it.
    void exportPdf();
    // "Печат..." and "Запис в PDF..." side by side from topLeft, named as given, pressing print
    // and exportPdf; the print key presses the first.
    std::pair<QPushButton*, QPushButton*> buttons(app::WindowKeys& keys, const QString& printName, const QString& pdfName,
                                                  const QPoint& topLeft);

private:
    std::optional<PrintedReport> reportOrWarning() const;

    QWidget* window_;
    app::Shop& shop_;
    Source current_;
    std::unique_ptr<QPrinter> printer_;
    QPointer<QPrintPreviewDialog> preview_;
};

} // namespace reports
