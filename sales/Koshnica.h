#pragma once

#include "store/CellChanges.h"
#include "store/RowKeeper.h"

#include <QString>
#include <QtGlobal>
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

// The basket: up to ten lines of goods taken out of stock. Line i (1 to 10) is held in three
// parallel tables; line 0 is never filled. Field 0: the article sheet, its place in the article
// list, the purchase price; field 1: the name, the count, the selling price; field 2: the row.
// Putting goods in lowers their stock D and raises their sold count U in the article sheet at
// once; taking a line back restores both. Neither reaches the file until the goods are sold.
class Koshnica : public store::RowKeeper {
public:
    std::array<std::array<QString, 3>, kBasketLines + 1> KoshnicaTekst{};
    std::array<std::array<qint16, 3>, kBasketLines + 1> KoshnicaCelo{};
    std::array<std::array<double, 3>, kBasketLines + 1> KoshnicaChislo{};

    // The number of lines (the line counter).
    int lines() const { return lines_; }
    bool isEmpty() const { return lines_ == 0; }
    bool isFull() const { return lines_ >= kBasketLines; }
    BasketLine line(int i) const;   // 1 to lines()
    // What the lines come to at their selling prices.
    double total() const;

    // Takes count pieces of the goods at row of the article sheet out of stock and fills the next
    // line. A full basket takes nothing: false.
    bool add(store::Worksheet& article, int articlePosition, int row, int count);
    // Puts line i's goods (1 to lines()) back into stock and forgets the line; the lines after it
    // move up one. False when there is no such line.
    bool removeLine(store::Workbook& danni, int i);
    // removeLine of the last line; false when the basket is empty.
    bool undoLast(store::Workbook& danni) { return removeLine(danni, lines_); }
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
    bool lineOf(int line, const QString& sheet) const;
    void setRow(int line, int row);

    int lines_ = 0;
    bool selling_ = false;
};

// The stock and the sold count of a goods row change together: D by -count, U by +count.
void takeFromStock(store::Worksheet& article, int row, int count, store::CellChanges* changes = nullptr);

} // namespace sales
