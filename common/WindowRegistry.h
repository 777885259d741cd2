#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

namespace app {

class WindowPlaces;

// Who closes other windows when it acts: the lists live here and nowhere else.
enum class Closer {
    Home,          // "Начало": Form2 to Form9
    About,         // the About window on load: Form2 to Form12
    Exit,          // the main window closing: Form2 to Form17
    SortDialog,    // the sort dialog on load: Form3 to Form13
    SearchDialog,  // the search dialog on load: Form2, Form4 to Form13
    InvoiceDialog,   // the invoice data dialog on load: Form2 to Form13 but itself (Form6)
    DocumentChoice,  // the document choice dialog on load: all but Form7
    ReceiptDialog,   // the receipt data dialog on load: all but Form8
    GoodsEditor,   // the goods editor on load: Form2, Form3, Form5 to Form13
    ArticleDialog, // the add-article window on load: Form2 to Form4, Form6 to Form13
    SoldReport,      // the sold goods report on load: Form2 to Form13 but itself (Form9)
    PurchaseReport,  // the purchased goods report on load: all but Form11
    ProfitReport,    // the profit report on load: all but Form12
    Archive,       // the archive window on load, and a copy put back: Form2 to Form13, Form15
    ReturnWindow,  // the return window on load: Form2 to Form13
    OrderReport,   // the order report on load: Form2 to Form13
};

// The secondary windows of the program by their number (Form2 ... Form17). A window declares
// itself when it is made; one that is gone is forgotten by itself.
class WindowRegistry {
public:
    // Declared windows open where the shop keeper last put them (WindowPlaces).
    explicit WindowRegistry(WindowPlaces& places) : places_(places) {}

    void declare(int formNumber, QWidget* window);
    // The window with that number, or null when none is loaded.
    QWidget* window(int formNumber) const;

    // The numbers a closer closes, in the order it closes them.
    static std::vector<int> closedBy(Closer closer);
    // Closes those of them that are loaded, in that order.
    void closeFor(Closer closer);

private:
    WindowPlaces& places_;
    std::map<int, QPointer<QWidget>> windows_;
};

} // namespace app
