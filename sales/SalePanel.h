#pragma once

#include "sales/Koshnica.h"

#include <QElapsedTimer>
#include <QObject>

class QComboBox;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;

namespace app {
class ClickLabel;
struct MainState;
class Shop;
} // namespace app

namespace showcase {
class ArticleGoods;
class ArticleList;
} // namespace showcase

namespace sales {

class Form6;
class KoshnicaView;
struct InvoiceData;

// The main window's controls the sale panel works with.
struct SaleControls {
    showcase::ArticleList* articles;   // the article list and its choice
    QListView* List2;          // goods list
    showcase::ArticleGoods* goods;   // the goods listed and the pick
    QComboBox* Combo1;         // quantity box
    app::ClickLabel* Image8;   // add to the basket
    app::ClickLabel* Image9;   // take the last line back
    QLineEdit* Text4;          // the number of basket lines
    QPushButton* Command1;     // "Продажба"
    QPushButton* Command9;     // "Документ"
    QRadioButton* Option1;     // invoice "да"
    KoshnicaView* koshnica;    // the basket's lines beside the panel
};

// The sale panel of the main window: the basket, "Продажба", "Документ", and what the document
// dialogs do with the basket. While it lives, the basket is the shop's row keeper.
class SalePanel : public QObject {
    Q_OBJECT
public:
    SalePanel(app::Shop& shop, app::MainState& state, const SaleControls& controls, QObject* parent = nullptr);
    ~SalePanel() override;

    const Koshnica& basket() const { return basket_; }

    // Image8: the goods chosen in the goods list, as many as chosen in the quantity box.
    void addToBasket();
    // A scanned code's goods, at row of the article sheet: one piece into the basket, onto the line
    // that holds them when there is one; picked in the goods list.
    void addScannedPiece(const QString& sheet, int row);
    // Image9: the last line goes back into stock.
    void undoLast();
    // "Върни реда": basket line i (1 to the number of lines) goes back into stock.
    void returnLine(int i);
    // "Продажба".
    void sell();
    // "Документ": the document choice dialog.
    void chooseDocument();
    // The invoice data dialog, opened or brought forward.
    Form6& openInvoiceDialog();

    // The invoice data dialog's buttons. True when the sale was recorded (the dialog may close).
    bool showInvoice(const InvoiceData& data);
    bool declineInvoice();

    // The main window closes: the basket goes back to stock.
    void programEnds();

signals:
    // The stock taken back shows: the showcase is to show the article chosen from its first page.
    void showcaseOutOfDate();
    // A passing word to the shop keeper.
    void status(const QString& text);
    // Stock went into or came out of the basket: the goods and stock lists are to be read again
    // ("Налични").
    void stockOutOfDate();

private:
    void connectControls();
    void addShortcuts();
    void showBasket();
    // Goods added to a full basket: the invoice dialog when "да" is chosen, else the warning.
    void basketFull();
    // The basket took goods of the article shown: the lists show the stock left, the goods picked.
    void basketTook(int position);
    void reselectAfterUndo();
    // The sale was recorded: the shop keeper is told what it was.
    void saleDone(const QString& told);
    // The second click of a double click on "Продажба" finds the basket just sold and empty.
    bool justSold() const;

    app::Shop& shop_;
    app::MainState& state_;
    SaleControls c_;
    Koshnica basket_;
    QElapsedTimer sinceSale_;
};

} // namespace sales
