#include "sales/Returns.h"

#include "sales/Koshnica.h"
#include "sales/SaleError.h"
#include "sales/SalesLedger.h"
#include "store/CellChanges.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace sales {

namespace {

namespace index = store::layout::index;
namespace ledger = store::layout::index::sales;
namespace col = store::layout::article;

// A whole number of pieces in the cell; nothing when it holds anything else.
std::optional<int> piecesIn(const store::Worksheet& sheet, int row, int column)
{
    const auto number = sheet.value(row, column).toNumber();
    if (!number || !std::isfinite(*number) || std::abs(*number) > 1e9 || *number != std::trunc(*number))
        return std::nullopt;
    return int(*number);
}

int lastLedgerRow(const store::DataWorkbook& data)
{
    return std::min(index::kFirstListRow + data.counter(index::kSalesRows) - 1, store::kMaxRows);
}

qint64 movedLines(const store::DataWorkbook& data)
{
    return data.counter(index::kMovedSalesRows);
}

qint64 lineOf(const store::DataWorkbook& data, int row)
{
    return row - 1 + movedLines(data);
}

// The pieces the return rows of the ledger have taken back, by the line of their sale.
std::map<qint64, int> returnedByLine(const store::DataWorkbook& data)
{
    const store::Worksheet& sheet = data.indexSheet();
    std::map<qint64, int> returned;
    for (int row = index::kFirstListRow; row <= lastLedgerRow(data); ++row) {
        const auto count = piecesIn(sheet, row, ledger::kCount);
        const auto line = sheet.value(row, ledger::kReturnOf).toNumber();
        if (count && *count < 0 && line) returned[qint64(*line)] -= *count;
    }
    return returned;
}

// The sale in the row as the return list shows it; nothing when the row holds no sale.
std::optional<ReturnableSale> saleIn(const store::DataWorkbook& data, int row, const std::map<qint64, int>& returned)
{
    const store::Worksheet& sheet = data.indexSheet();
    const auto sold = piecesIn(sheet, row, ledger::kCount);
    if (row < index::kFirstListRow || row > lastLedgerRow(data) || !sold || *sold <= 0) return std::nullopt;
    ReturnableSale sale;
    sale.row = row;
    sale.line = lineOf(data, row);
    sale.date = sheet.value(row, ledger::kDate).toText();
    sale.name = sheet.value(row, ledger::kName).toText();
    sale.sold = *sold;
    const auto back = returned.find(sale.line);
    sale.returnable = sale.sold - (back == returned.end() ? 0 : back->second);
    sale.price = sheet.value(row, ledger::kPrice).toNumber().value_or(0);
    sale.invoice = sheet.value(row, ledger::kInvoice).toText();
    return sale;
}

// A price of a sale row as the return repeats it: a leva row's price in euro in a euro shop.
store::Value returnedPrice(const store::DataWorkbook& data, int row, int column)
{
    const store::Value stored = data.indexSheet().value(row, column);
    const auto number = stored.toNumber();
    const bool levaRow = row - index::kFirstListRow < data.levaRows(index::kSalesLedger);
    if (!number || !levaRow || data.currency() != store::Currency::Euro) return stored;
    return store::Value(store::levaPriceToEuro(*number));
}

// The goods record of that name among the article's records; 0 when none.
int recordNamed(const store::DataWorkbook& data, const store::Worksheet& article, const QString& name)
{
    const int records = data.goodsCount(article);
    for (int record = 1; record <= records; ++record)
        if (article.value(col::recordRow(record), col::kName).toText() == name) return col::recordRow(record);
    return 0;
}

struct Record {
    store::Worksheet* article = nullptr;
    int row = 0;
};

// The one record of that name in any article; none when there is none or more than one.
Record onlyRecordNamed(const store::DataWorkbook& data, const QString& name)
{
    Record found;
    int matches = 0;
    for (int i = 1; i <= data.workbook().sheetCount(); ++i) {
        store::Worksheet& sheet = data.workbook().sheets(i);
        if (sheet.Name() == store::layout::kIndexSheet) continue;
        if (const int row = recordNamed(data, sheet, name)) {
            found = {&sheet, row};
            ++matches;
        }
    }
    return matches == 1 ? found : Record{};
}

// The goods back in stock; why not when they cannot be.
QString putBack(const store::DataWorkbook& data, const QString& articleName, const QString& name, int count,
                store::CellChanges& changes)
{
    Record record;
    if (articleName.isEmpty()) {
        record = onlyRecordNamed(data, name);
        if (!record.article) return errorMessage(SaleError::ReturnedGoodsUnknown, {name});
    } else {
        record.article = data.workbook().findSheet(articleName);
        if (!record.article || record.article->Name() == store::layout::kIndexSheet)
            return errorMessage(SaleError::ReturnedArticleGone, {name, articleName});
        record.row = recordNamed(data, *record.article, name);
        if (record.row == 0) return errorMessage(SaleError::ReturnedGoodsGone, {name, articleName});
    }
    takeFromStock(*record.article, record.row, -count, &changes);
    return {};
}

void checkCount(const ReturnableSale& sale, int count)
{
    if (count < 1) throw store::Error(SaleError::NoReturnCount);
    if (count > sale.returnable)
        throw store::Error(SaleError::ReturnTooMany, {sale.name, QString::number(std::max(sale.returnable, 0))});
}

} // namespace

double ReturnDone::amount() const
{
    return store::roundToCent(count * price);
}

std::vector<ReturnableSale> returnableSales(const store::DataWorkbook& data)
{
    const auto returned = returnedByLine(data);
    std::vector<ReturnableSale> sales;
    for (int row = lastLedgerRow(data); row >= index::kFirstListRow; --row)
        if (const auto sale = saleIn(data, row, returned); sale && sale->returnable > 0) sales.push_back(*sale);
    return sales;
}

std::vector<ReturnableSale> salesOnInvoice(const std::vector<ReturnableSale>& sales, const QString& number)
{
    bool ok = false;
    const qint64 wanted = number.trimmed().toLongLong(&ok);
    std::vector<ReturnableSale> found;
    if (!ok || wanted <= 0) return found;
    for (const ReturnableSale& sale : sales)
        if (sale.invoice.trimmed().toLongLong() == wanted) found.push_back(sale);
    return found;
}

ReturnDone VarniStoka(const store::DataWorkbook& data, int saleRow, int count, const QString& reason,
                      const std::function<QDate()>& today)
{
    const auto sale = saleIn(data, saleRow, returnedByLine(data));
    if (!sale) throw store::Error(SaleError::NotASale, {QString::number(saleRow)});
    checkCount(*sale, count);

    // All the return takes from its sale is read before a full ledger moves its oldest rows out.
    store::Worksheet& sheet = data.indexSheet();
    const store::Value name = sheet.value(saleRow, ledger::kName);
    const store::Value price = returnedPrice(data, saleRow, ledger::kPrice);
    const store::Value purchasePrice = returnedPrice(data, saleRow, ledger::kPurchasePrice);
    const QString article = sheet.value(saleRow, ledger::kArticle).toText();

    ReturnDone done;
    done.moved = ledgers::makeRoom(data, index::kSalesLedger, 1, today());
    const int row = data.nextLedgerRow(index::kSalesLedger, 1);
    if (row > store::kMaxRows) throw store::Error(SaleError::ReturnLedgerFull, {QString::number(store::kMaxRows - 1)});
    done.row = row;
    done.name = sale->name;
    done.count = count;
    done.reason = reason;
    done.date = store::formatShopDate(today());
    if (!sale->invoice.isEmpty()) {
        done.creditNote = NomerNaFaktura(data);
        done.invoice = sale->invoice.rightJustified(kInvoiceNumberLength, QLatin1Char('0'));
        done.invoiceDate = sale->date;
    }
    done.price = price.toNumber().value_or(0);

    store::CellChanges changes;
    const auto write = [&](int column, const store::Value& value) { changes.write(sheet, row, column, value); };
    write(ledger::kDate, store::Value(done.date));
    write(ledger::kName, name);
    write(ledger::kCount, store::Value(-count));
    write(ledger::kPrice, price);
    if (!done.creditNote.isEmpty()) write(ledger::kInvoice, store::Value(done.creditNote));
    write(ledger::kPurchasePrice, purchasePrice);
    write(ledger::kReturnOf, store::Value(double(sale->line)));
    write(ledger::kReturnReason, store::Value(reason));
    if (!article.isEmpty()) write(ledger::kArticle, store::Value(article));
    const auto setCounter = [&](store::layout::CellPos pos, double value) {
        changes.write(sheet, pos.row, pos.col, store::Value(value));
    };
    if (!done.creditNote.isEmpty()) setCounter(index::kLastInvoice, double(done.creditNote.toLongLong()));
    setCounter(index::kSalesRows, row - 1);
    done.stockProblem = putBack(data, article, sale->name, count, changes);
    try {
        data.workbook().Save();
    } catch (const store::Error& e) {
        changes.undo();
        throw store::Error(SaleError::ReturnNotSaved, {e.message()});
    }
    return done;
}

QString returnRecordedText(const ReturnDone& done, store::Currency currency)
{
    QString text = QStringLiteral("Върнати %1 бр. „%2“, %3").arg(done.count).arg(done.name, store::moneyWithSign(done.amount(), currency));
    if (!done.creditNote.isEmpty()) text += QStringLiteral(", кредитно известие № ") + done.creditNote;
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    if (!done.stockProblem.isEmpty()) text += QLatin1Char(' ') + done.stockProblem;
    return text;
}

} // namespace sales
