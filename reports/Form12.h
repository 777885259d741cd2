#pragma once

#include "reports/PrintedReport.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
class Shop;
}

namespace reports {

class ChartView;
class DateField;
class ReportOutput;

// "Справка за печалба": what the sales between two picked dates earned over their purchase prices.
class Form12 : public QWidget {
    Q_OBJECT
public:
    explicit Form12(app::Shop& shop, QWidget* parent = nullptr);

    // The profit between the two picked dates.
    void report();

    QLabel* Label1;          // "от дата"
    DateField* DTPicker1;
    QLabel* Label2;          // "до дата"
    DateField* DTPicker2;
    QPushButton* Command1;   // "Справка"
    QLabel* Label8;          // "Печалба"
    QLineEdit* Text1;
    QLabel* Label10;         // "лв." or "€"
    ChartView* Chart1;       // the profit of the period per day, week or month
    ChartView* Chart2;       // the ten goods of the largest profit

    QPushButton* Command2;   // print
    QPushButton* Command3;   // PDF

private:
    std::optional<PrintedReport> printed() const;

    app::Shop& shop_;
    ReportOutput* output_;
    QString period_;   // of the profit shown; empty while none is
};

} // namespace reports
