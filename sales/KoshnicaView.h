#pragma once

#include "store/Money.h"

#include <QFrame>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace sales {

class Koshnica;

// The basket as the shop keeper sees it beside the sale panel: one row per line (name, count,
// price, line sum), the total, and "Върни реда", which hands the chosen line back to stock
// (the Delete key does the same in the list).
class KoshnicaView : public QFrame {
    Q_OBJECT
public:
    explicit KoshnicaView(QWidget* parent = nullptr);

    // Shows the basket's lines and total in the shop's currency; no line is chosen afterwards.
    void showBasket(const Koshnica& basket, store::Currency currency);

    QLabel* title;
    QTreeWidget* koshnicaList;
    QLabel* koshnicaTotal;
    QPushButton* vyrniReda;   // "Върни реда"

signals:
    // The shop keeper wants basket line i (1 to the number of lines) taken back.
    void lineReturned(int line);

private:
    void returnChosenLine();
};

} // namespace sales
