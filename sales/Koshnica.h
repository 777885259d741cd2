#pragma once

#include "store/CellChanges.h"
#include "store/RowKeeper.h"

#include <QString>
#include <array>

namespace store {
class Workbook;
class Worksheet;
} // namespace store

namespace sales {

inline constexpr int kBasketLines = 10;

// One basket line as the sale and the invoice read it.
struct BasketLine {
    QString sheet;          // the article sheet the goods came from
    QString name;           // column B when the goods went into the basket
    int count = 0;
    double price = 0;       // column C: selling price
    double purchasePrice = 0;  // column K
    int row = 0;            // the goods' row in the article sheet
    int articlePosition = 0;   // the article's place in the article list then

    double sum() const { return count * price; }
};

// The basket: up to ten lines of goods taken out of stock, numbered 1 to 10. Putting goods in
// lowers their stock D and raises their sold count U in the article sheet at once; taking a line
// back restores both. Neither reaches the file until the goods are sold.
class Koshnica : public store::RowKeeper {
public:
    // The number of lines (the line counter).
    int lines() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    bool isFull() const { return count_ >= kBasketLines; }
    // Line i, 1 to lines(); a place after the last line holds what it last held, or nothing.
    const BasketLine& line(int i) const { return lines_[size_t(i - 1)]; }
    // What the lines come to at their selling prices.
    double total() const;

    // Takes count pieces of the goods at row of the article sheet out of stock and fills the next
    // line. A full basket takes nothing: false.
    bool add(store::Worksheet& article, int articlePosition, int row, int count);
    // The line that holds the goods at row of the article sheet; 0 when none does.
    int lineHolding(const QString& sheet, int row) const;
    // Takes count more pieces of line i's goods (1 to lines()) out of stock onto the line.
    void raiseLine(store::Workbook& danni, int i, int count);
    // Puts line i's goods (1 to lines()) back into stock and forgets the line; the lines after it
    // move up one. False when there is no such line.
    bool removeLine(store::Workbook& danni, int i);
    // removeLine of the last line; false when the basket is empty.
    bool undoLast(store::Workbook& danni) { return removeLine(danni, count_); }
    // Empties lines 1 to 10 and the line counter, after a recorded sale.
    void IzchistiMasivite();

    // At the end of the program: every line goes back into stock. No save is needed for it: the
    // file never counts goods in the basket as gone (see writeWithoutHeldChanges).
    void returnAllToStock(store::Workbook& danni);

    // While a sale of the basket is being saved, its goods are gone from stock for good.
    void markSelling(bool selling) { selling_ = selling; }

    // store::RowKeeper
    bool holdsSheet(const QString& sheet) const override;
    bool holdsRow(const QString& sheet, int row) const override;
    void rowsMoved(const QString& sheet, const std::function<int(int)>& newRow) override;
    // Every save writes the stock as if the basket's goods were back (unless they are being sold),
    // so that a program that dies with goods in the basket loses none of them.
    void writeWithoutHeldChanges(store::Workbook& danni, const std::function<void()>& write) override;

private:
    // Line's goods back into stock; through changes, when given, so that they can be taken again.
    void restoreStock(store::Workbook& danni, int line, store::CellChanges* changes = nullptr);
    BasketLine& at(int line) { return lines_[size_t(line - 1)]; }
    bool lineOf(int line, const QString& sheet) const;

    std::array<BasketLine, kBasketLines> lines_{};
    int count_ = 0;   // the line counter
    bool selling_ = false;
};

// The stock and the sold count of a goods row change together: D by -count, U by +count.
void takeFromStock(store::Worksheet& article, int row, int count, store::CellChanges* changes = nullptr);

} // namespace sales
