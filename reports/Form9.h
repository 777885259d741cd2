#pragma once

#include "reports/PrintedReport.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

namespace app {
class Shop;
class WindowKeys;
}

namespace reports {

class ChartView;
class DateField;
class LinkedLists;
class ReportOutput;
struct Chart;
struct Listing;

// "Справка за продадени стоки": the sales of a period, chosen either from the days on which
// something was sold or with two date pickers, each way with its own "Справка" button.
class Form9 : public QWidget {
    Q_OBJECT
public:
    explicit Form9(app::Shop& shop, QWidget* parent = nullptr);

    // "Справка продажби": the from-date list filled afresh from the sales ledger, the to-date
    // list hidden.
    void fillDates();
    // A pick in the from-date list: the to-date list holds the entries from it on.
    void chooseFromDate(int index);
    // The report between the two dates chosen in the lists.
    void listDateReport();
    // The report between the two picked dates.
    void pickerReport();

    QGroupBox* Frame1;       // the days with sales
    QLabel* Label1;          // "от дата"
    QComboBox* Combo1;
    QLabel* Label2;          // "до дата"
    QComboBox* Combo2;
    QPushButton* Command1;   // "Справка" for the list dates

    QGroupBox* Frame2;       // any two days
    QLabel* Label9;          // "от дата"
    DateField* DTPicker1;
    QLabel* Label11;         // "до дата"
    DateField* DTPicker2;
    QPushButton* Command2;   // "Справка" for the picked dates

    QListView* List1;        // "Дата"
    QListView* List2;        // "Име"
    QListView* List3;        // "Брой"
    QListView* List4;        // "Цена"
    QListView* List5;        // "Фактура"
    QLabel* Label8;          // "Сума за периода"
    QLineEdit* Text1;
    QLabel* Label10;         // "лв." or "€"
    ChartView* Chart1;       // the sums of the period per day, week or month
    ChartView* Chart2;       // the ten goods of the largest sums

    QPushButton* Command3;   // print
    QPushButton* Command4;   // PDF

private:
    void buildChoiceByLists();
    void buildChoiceByPickers();
    void buildReportArea(app::WindowKeys& keys);
    void showChart(const Chart& chart);
    void showListing(Listing listing, const QString& period);
    void emptyReport();
    std::optional<PrintedReport> printed() const;

    app::Shop& shop_;
    QStringListModel* fromDates_;
    QStringListModel* toDates_;
    LinkedLists* lists_;
    ReportOutput* output_;
    QString period_;   // of the report shown; empty while none is
};

} // namespace reports
