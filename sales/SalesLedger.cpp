#include "sales/SalesLedger.h"

#include "sales/Koshnica.h"
#include "sales/SaleError.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"

#include <QDate>

namespace sales {

namespace {

namespace index = store::layout::index;
namespace ledger = store::layout::index::sales;

void checkRoom(int base, int lines)
{
    const int lastRow = index::kFirstListRow + base + lines - 1;
    if (lastRow > store::kMaxRows)
        throw store::Error(SaleError::LedgerFull, {QString::number(store::kMaxRows - 1)});
}

void writeLine(store::Worksheet& index, int row, const QDate& date, const BasketLine& line, const QString& invoice)
{
    index.setValue(row, ledger::kDate, store::Value(store::formatShopDate(date)));
    index.setValue(row, ledger::kName, store::Value(line.name));
    index.setValue(row, ledger::kCount, store::Value(line.count));
    index.setValue(row, ledger::kPrice, store::Value(line.price));
    if (!invoice.isEmpty()) index.setValue(row, ledger::kInvoice, store::Value(invoice));
    index.setValue(row, ledger::kPurchasePrice, store::Value(line.purchasePrice));
    index.setValue(row, ledger::kArticle, store::Value(line.sheet));
}

// Takes back the rows and counters of a sale whose save failed.
void takeBack(const store::DataWorkbook& data, int firstRow, int lines, const store::Value& k1, const store::Value& r1)
{
    const index::Ledger& ledger = index::kSalesLedger;
    for (int row = firstRow; row < firstRow + lines; ++row) {
        for (int column = ledger.firstColumn; column <= ledger.lastColumn; ++column)
            data.indexSheet().setValue(row, column, store::Value());
        data.indexSheet().setValue(row, ledger.extraColumn, store::Value());
    }
    data.setCell(index::kLastInvoice, k1);
    data.setCell(index::kSalesRows, r1);
}

} // namespace

QString nextInvoiceNumber(const store::DataWorkbook& data)
{
    return QString::number(data.wholeCounter(index::kLastInvoice, index::kLastInvoiceNumber - 1) + 1);
}

QString NomerNaFaktura(const store::DataWorkbook& data)
{
    return nextInvoiceNumber(data).rightJustified(kInvoiceNumberLength, QLatin1Char('0'));
}

int writeSale(const store::DataWorkbook& data, const Koshnica& basket, bool withInvoice,
              const std::function<QDate()>& today)
{
    const int lines = basket.lines();
    const int firstRow = data.nextLedgerRow(index::kSalesLedger, lines);
    const int base = firstRow - index::kFirstListRow;
    checkRoom(base, lines);
    const QString invoice = withInvoice ? NomerNaFaktura(data) : QString();
    for (int i = 0; i < lines; ++i) writeLine(data.indexSheet(), firstRow + i, today(), basket.line(i + 1), invoice);
    if (withInvoice) data.setCell(index::kLastInvoice, store::Value(double(invoice.toLongLong())));
    data.setCell(index::kSalesRows, store::Value(base + lines));
    return firstRow;
}

std::optional<ledgers::RollOver> ProdajbiDobavi(const store::DataWorkbook& data, Koshnica& basket, bool withInvoice)
{
    // Before the basket's goods count as sold: this save writes them as still on the shelf.
    std::optional<ledgers::RollOver> moved =
        ledgers::makeRoom(data, index::kSalesLedger, basket.lines(), QDate::currentDate());
    // The sale makes the basket's taking from stock final: this save writes it.
    struct Selling {
        explicit Selling(Koshnica& basket) : basket(basket) { basket.markSelling(true); }
        ~Selling() { basket.markSelling(false); }
        Koshnica& basket;
    } selling(basket);
    const store::Value k1 = data.cell(index::kLastInvoice);
    const store::Value r1 = data.cell(index::kSalesRows);
    const int firstRow = writeSale(data, basket, withInvoice);
    try {
        data.workbook().Save();
    } catch (const store::Error& e) {
        takeBack(data, firstRow, basket.lines(), k1, r1);
        throw store::Error(SaleError::NotSaved, {e.message()});
    }
    return moved;
}

} // namespace sales
