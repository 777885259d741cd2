#include "sales/Koshnica.h"

#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

namespace sales {

namespace col = store::layout::article;

namespace {

double numberIn(const store::Worksheet& sheet, int row, int column)
{
    return sheet.value(row, column).toNumber().value_or(0);
}

void addTo(store::Worksheet& sheet, int row, int column, double amount, store::CellChanges* changes)
{
    const store::Value value(numberIn(sheet, row, column) + amount);
    if (changes)
        changes->write(sheet, row, column, value);
    else
        sheet.setValue(row, column, value);
}

} // namespace

void takeFromStock(store::Worksheet& article, int row, int count, store::CellChanges* changes)
{
    addTo(article, row, col::kStock, -count, changes);
    addTo(article, row, col::kSold, count, changes);
}

bool Koshnica::add(store::Worksheet& article, int articlePosition, int row, int count)
{
    if (isFull()) return false;
    takeFromStock(article, row, count);
    at(++count_) = BasketLine{article.Name(), article.value(row, col::kName).toText(), count,
                              numberIn(article, row, col::kPrice), numberIn(article, row, col::kPurchasePrice), row,
                              articlePosition};
    return true;
}

int Koshnica::lineHolding(const QString& sheet, int row) const
{
    for (int n = 1; n <= count_; ++n)
        if (lineOf(n, sheet) && line(n).row == row) return n;
    return 0;
}

void Koshnica::raiseLine(store::Workbook& danni, int i, int count)
{
    takeFromStock(danni.sheets(line(i).sheet), line(i).row, count);
    at(i).count += count;
}

void Koshnica::restoreStock(store::Workbook& danni, int line, store::CellChanges* changes)
{
    const BasketLine& l = this->line(line);
    takeFromStock(danni.sheets(l.sheet), l.row, -l.count, changes);
}

double Koshnica::total() const
{
    double sum = 0;
    for (int i = 1; i <= count_; ++i) sum += line(i).sum();
    return sum;
}

// The place the line leaves is taken by the next; the last place keeps its values beyond the
// counter until an add writes over it.
bool Koshnica::removeLine(store::Workbook& danni, int i)
{
    if (i < 1 || i > count_) return false;
    restoreStock(danni, i);
    for (int n = i; n < count_; ++n) at(n) = line(n + 1);
    --count_;
    return true;
}

void Koshnica::IzchistiMasivite()
{
    lines_.fill({});
    count_ = 0;
}

void Koshnica::returnAllToStock(store::Workbook& danni)
{
    for (int n = count_; n >= 1; --n) restoreStock(danni, n);
    IzchistiMasivite();
}

void Koshnica::writeWithoutHeldChanges(store::Workbook& danni, const std::function<void()>& write)
{
    if (selling_ || count_ == 0) {
        write();
        return;
    }
    store::CellChanges handedBack;
    for (int n = count_; n >= 1; --n) restoreStock(danni, n, &handedBack);
    try {
        write();
    } catch (...) {
        handedBack.undo();
        throw;
    }
    handedBack.undo();
}

bool Koshnica::lineOf(int line, const QString& sheet) const
{
    return this->line(line).sheet.compare(sheet, Qt::CaseInsensitive) == 0;
}

bool Koshnica::holdsSheet(const QString& sheet) const
{
    for (int n = 1; n <= count_; ++n)
        if (lineOf(n, sheet)) return true;
    return false;
}

bool Koshnica::holdsRow(const QString& sheet, int row) const
{
    return lineHolding(sheet, row) > 0;
}

void Koshnica::rowsMoved(const QString& sheet, const std::function<int(int)>& newRow)
{
    for (int n = 1; n <= count_; ++n)
        if (lineOf(n, sheet)) at(n).row = newRow(line(n).row);
}

} // namespace sales
