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

BasketLine Koshnica::line(int i) const
{
    const auto n = size_t(i);
    return BasketLine{KoshnicaTekst[n][0], KoshnicaTekst[n][1],   KoshnicaCelo[n][1], KoshnicaChislo[n][1],
                      KoshnicaChislo[n][0], KoshnicaCelo[n][2], KoshnicaCelo[n][0]};
}

bool Koshnica::add(store::Worksheet& article, int articlePosition, int row, int count)
{
    if (isFull()) return false;
    takeFromStock(article, row, count);
    const auto n = size_t(++lines_);
    KoshnicaTekst[n][1] = article.value(row, col::kName).toText();
    KoshnicaCelo[n][1] = qint16(count);
    KoshnicaChislo[n][1] = numberIn(article, row, col::kPrice);
    setRow(int(n), row);
    KoshnicaTekst[n][0] = article.Name();
    KoshnicaCelo[n][0] = qint16(articlePosition);
    KoshnicaChislo[n][0] = numberIn(article, row, col::kPurchasePrice);
    return true;
}

void Koshnica::restoreStock(store::Workbook& danni, int line, store::CellChanges* changes)
{
    const auto n = size_t(line);
    takeFromStock(danni.sheets(KoshnicaTekst[n][0]), KoshnicaCelo[n][2], -KoshnicaCelo[n][1], changes);
}

double Koshnica::total() const
{
    double sum = 0;
    for (int i = 1; i <= lines_; ++i) sum += line(i).sum();
    return sum;
}

// The place the line leaves is taken by the next; the last place keeps its values beyond the
// counter until an add writes over it.
bool Koshnica::removeLine(store::Workbook& danni, int i)
{
    if (i < 1 || i > lines_) return false;
    restoreStock(danni, i);
    for (auto n = size_t(i); n < size_t(lines_); ++n) {
        KoshnicaTekst[n] = KoshnicaTekst[n + 1];
        KoshnicaCelo[n] = KoshnicaCelo[n + 1];
        KoshnicaChislo[n] = KoshnicaChislo[n + 1];
    }
    --lines_;
    return true;
}

void Koshnica::IzchistiMasivite()
{
    for (size_t n = 1; n <= kBasketLines; ++n) {
        KoshnicaTekst[n] = {};
        KoshnicaCelo[n] = {};
        KoshnicaChislo[n] = {};
    }
    lines_ = 0;
}

void Koshnica::returnAllToStock(store::Workbook& danni)
{
    for (int n = lines_; n >= 1; --n) restoreStock(danni, n);
    IzchistiMasivite();
}

void Koshnica::writeWithoutHeldChanges(store::Workbook& danni, const std::function<void()>& write)
{
    if (selling_ || lines_ == 0) {
        write();
        return;
    }
    store::CellChanges handedBack;
    for (int n = lines_; n >= 1; --n) restoreStock(danni, n, &handedBack);
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
    return KoshnicaTekst[size_t(line)][0].compare(sheet, Qt::CaseInsensitive) == 0;
}

bool Koshnica::holdsSheet(const QString& sheet) const
{
    for (int n = 1; n <= lines_; ++n)
        if (lineOf(n, sheet)) return true;
    return false;
}

bool Koshnica::holdsRow(const QString& sheet, int row) const
{
    for (int n = 1; n <= lines_; ++n)
        if (lineOf(n, sheet) && KoshnicaCelo[size_t(n)][2] == row) return true;
    return false;
}

void Koshnica::rowsMoved(const QString& sheet, const std::function<int(int)>& newRow)
{
    for (int n = 1; n <= lines_; ++n)
        if (lineOf(n, sheet)) setRow(n, newRow(KoshnicaCelo[size_t(n)][2]));
}

void Koshnica::setRow(int line, int row)
{
    const auto n = size_t(line);
    KoshnicaTekst[n][2] = QString::number(row);
    KoshnicaCelo[n][2] = qint16(row);
    KoshnicaChislo[n][2] = row;
}

} // namespace sales
