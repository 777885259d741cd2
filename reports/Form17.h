#pragma once

#include "reports/OrderList.h"

#include <QWidget>
#include <optional>

class QPushButton;
class QTableView;

namespace app {
class Shop;
}

namespace reports {

class ReportModel;
class ReportOutput;

// "За поръчка": the goods to order over all articles, as of today; printed, as PDF, or saved as a
// workbook for the supplier.
class Form17 : public QWidget {
    Q_OBJECT
public:
    explicit Form17(app::Shop& shop, QWidget* parent = nullptr);

    // The list computed afresh from the shop's data.
    void refresh();

    QTableView* List1;
    QPushButton* Command1;   // print
    QPushButton* Command2;   // PDF
    QPushButton* Command3;   // "Запиши като .xls"

private:
    std::optional<PrintedReport> printed() const;
    void askXlsFile();
    void saveXls(const QString& path) const;

    app::Shop& shop_;
    ReportModel* model_;
    ReportOutput* output_;
    std::vector<OrderLine> lines_;
    QDate day_;
};

} // namespace reports
