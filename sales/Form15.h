#pragma once

#include "sales/Faktura.h"
#include "sales/Returns.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTreeView;

namespace app {
class Shop;
}

namespace sales {

// "Връщане на стока": the recent sales with goods still to return, newest first; an invoice
// number typed in Text1 keeps that invoice's rows and chooses them all. "Върни" records, for the
// chosen reason, the chosen count of the one chosen sale, or all that is left of each of several
// chosen sales, as one return, with one credit note shown for invoiced sales.
class Form15 : public QWidget {
    Q_OBJECT
public:
    explicit Form15(app::Shop& shop, QWidget* parent = nullptr);

    // The sales listed, as List1 shows them.
    const std::vector<ReturnableSale>& listed() const { return listed_; }

    QLabel* Label1;  QLineEdit* Text1;    // "Фактура №"
    QTreeView* List1;                     // the sales
    QLabel* Label2;  QComboBox* Combo1;   // "Брой": 1 … still returnable; "всички" for several sales
    QLabel* Label3;  QComboBox* Combo2;   // "Причина"
    QPushButton* Command1;                // "Върни"
    QPushButton* Command2;                // "Затвори"

signals:
    // Goods went back into stock: the goods and stock lists are to be read again.
    void stockOutOfDate();
    // What was recorded, for the status bar.
    void status(const QString& text);

private:
    void buildControls();
    // Lists the returnable sales again, those of the invoice in Text1 when it holds one.
    void listSales();
    // The listed sales chosen in List1, in the ledger's order (as their invoice lists them).
    std::vector<ReturnableSale> chosen() const;
    void saleChosen();
    void varni();

    app::Shop& shop_;
    QStandardItemModel* model_;
    std::vector<ReturnableSale> listed_;
};

} // namespace sales
