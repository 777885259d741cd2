#pragma once

#include "sales/InvoiceRegister.h"

#include <QWidget>
#include <memory>
#include <vector>

class QPrinter;
class QPushButton;
class QStandardItemModel;
class QTreeView;

namespace app {
class Shop;
}

namespace sales {

// "Издадени фактури": the invoices and credit notes issued, newest first, with number, kind,
// date, recipient and sum. "Отвори" (Enter, a double click) opens the chosen document's PDF with
// the desktop's program; "Дубликат" prints its kept form, marked "ДУБЛИКАТ", from a print preview.
class Form16 : public QWidget {
    Q_OBJECT
public:
    explicit Form16(app::Shop& shop, QWidget* parent = nullptr);
    ~Form16() override;

    // Lists the register as it stands now.
    void load();

    QTreeView* List1;
    QPushButton* Command1;   // "Отвори"
    QPushButton* Command2;   // "Дубликат"
    QPushButton* Command3;   // "Затвори"

private:
    // The document chosen in the list; null after telling the shop keeper to choose one.
    const IssuedDocument* chosen() const;
    void otvori();
    void dublikat();

    app::Shop& shop_;
    QStandardItemModel* model_;
    std::vector<IssuedDocument> documents_;   // newest first, as listed
    std::unique_ptr<QPrinter> printer_;
};

// The window opened or brought forward, listing the register as it stands.
void openIssuedDocuments(app::Shop& shop);

} // namespace sales
