#pragma once

#include "reports/PrintedReport.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace app {
class Shop;
}

namespace reports {

class DateField;
class LinkedLists;
class ReportOutput;

// "Справка за закупени стоки": the goods bought in between two picked dates and what they cost.
class Form11 : public QWidget {
    Q_OBJECT
public:
    explicit Form11(app::Shop& shop, QWidget* parent = nullptr);

    // The report between the two picked dates.
    void report();

    QLabel* Label1;          // "от дата"
    DateField* DTPicker1;
    QLabel* Label2;          // "до дата"
    DateField* DTPicker2;
    QPushButton* Command1;   // "Справка за закупени стоки"

    QListView* List1;        // "Дата"
    QListView* List2;        // "Име"
    QListView* List3;        // "Брой"
    QListView* List4;        // "Цена"
    QLabel* Label8;          // "Обща сума"
    QLineEdit* Text1;
    QLabel* Label10;         // "лв." or "€"

    QPushButton* Command2;   // print
    QPushButton* Command3;   // PDF

private:
    void emptyReport();
    std::optional<PrintedReport> printed() const;

    app::Shop& shop_;
    LinkedLists* lists_;
    ReportOutput* output_;
    QString period_;   // of the report shown; empty while none is
};

} // namespace reports
