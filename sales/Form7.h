#pragma once

#include <QWidget>

class QLabel;
class QRadioButton;

namespace app {
class Shop;
}

namespace sales {

class SalePanel;

// "Избор на документ": the invoice or the warehouse receipt. Both choices are cleared whenever
// the dialog opens; picking one acts at once and closes the dialog.
class Form7 : public QWidget {
    Q_OBJECT
public:
    Form7(app::Shop& shop, SalePanel& panel, QWidget* parent = nullptr);

    // Opening: the other secondary windows close, both choices are cleared, the dialog shows.
    void load();

    QLabel* Label1;
    QRadioButton* Option1;   // "Фактура"
    QRadioButton* Option2;   // "Складова/Стокова Разписка"

private:
    void chooseInvoice();
    void chooseReceipt();

    app::Shop& shop_;
    SalePanel& panel_;
};

} // namespace sales
