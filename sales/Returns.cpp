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
    for (store::Worksheet* sheet : data.articleSheets()) {
        if (const int row = recordNamed(data, *sheet, name)) {
            found = {sheet, row};
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

// A line to return with all it takes from its sale, read before anything is written.
struct Taken {
    ReturnableSale sale;
    int count = 0;
    store::Value name;
    store::Value price;
    store::Value purchasePrice;
    QString article;
};

Taken taken(const store::DataWorkbook& data, const ReturnableSale& sale, int count)
{
    const store::Worksheet& sheet = data.indexSheet();
    return {sale, count, sheet.value(sale.row, ledger::kName), returnedPrice(data, sale.row, ledger::kPrice),
            returnedPrice(data, sale.row, ledger::kPurchasePrice), sheet.value(sale.row, ledger::kArticle).toText()};
}

// The lines checked, each with its sale; throws store::Error at the first that cannot be returned.
std::vector<Taken> checkedLines(const store::DataWorkbook& data, const std::vector<ReturnLine>& lines)
{
    if (lines.empty()) throw store::Error(SaleError::NoReturnCount);
    const auto returned = returnedByLine(data);
    std::map<int, int> asked;   // pieces by sale row, over all the lines
    std::vector<Taken> checked;
    for (const ReturnLine& line : lines) {
        const auto sale = saleIn(data, line.row, returned);
        if (!sale) throw store::Error(SaleError::NotASale, {QString::number(line.row)});
        if (line.count < 1) throw store::Error(SaleError::NoReturnCount);
        if ((asked[line.row] += line.count) > sale->returnable)
            throw store::Error(SaleError::ReturnTooMany, {sale->name, QString::number(std::max(sale->returnable, 0))});
        if (!checked.empty() && sale->invoice != checked.front().sale.invoice)
            throw store::Error(SaleError::ReturnInvoicesDiffer);
        checked.push_back(taken(data, *sale, line.count));
    }
    return checked;
}

// The return row of the line; its goods back in stock.
ReturnedLine writeReturn(const store::DataWorkbook& data, int row, const Taken& line, const ReturnDone& done,
                         store::CellChanges& changes)
{
    store::Worksheet& sheet = data.indexSheet();
    const auto write = [&](int column, const store::Value& value) { changes.write(sheet, row, column, value); };
    write(ledger::kDate, store::Value(done.date));
    write(ledger::kName, line.name);
    write(ledger::kCount, store::Value(-line.count));
    write(ledger::kPrice, line.price);
    if (!done.creditNote.isEmpty()) write(ledger::kInvoice, store::Value(done.creditNote));
    write(ledger::kPurchasePrice, line.purchasePrice);
    write(ledger::kReturnOf, store::Value(double(line.sale.line)));
    write(ledger::kReturnReason, store::Value(done.reason));
    if (!line.article.isEmpty()) write(ledger::kArticle, store::Value(line.article));
    return {row, line.sale.name, line.count, line.price.toNumber().value_or(0),
            putBack(data, line.article, line.sale.name, line.count, changes)};
}

} // namespace

double ReturnDone::amount() const
{
    double sum = 0;
    for (const ReturnedLine& line : lines) sum += store::roundToCent(line.count * line.price);
    return store::roundToCent(sum);
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

ReturnDone VarniStoka(const store::DataWorkbook& data, const std::vector<ReturnLine>& lines, const QString& reason,
                      const std::function<QDate()>& today)
{
    // All the return takes from its sales is read before a full ledger moves its oldest rows out.
    const std::vector<Taken> checked = checkedLines(data, lines);
    const int rows = int(checked.size());
    const ReturnableSale& first = checked.front().sale;

    ReturnDone done;
    done.moved = ledgers::makeRoom(data, index::kSalesLedger, rows, today());
    const int firstRow = data.nextLedgerRow(index::kSalesLedger, rows);
    const int lastRow = firstRow + rows - 1;
    if (lastRow > store::kMaxRows) throw store::Error(SaleError::ReturnLedgerFull, {QString::number(store::kMaxRows - 1)});
    done.reason = reason;
    done.date = store::formatShopDate(today());
    if (!first.invoice.isEmpty()) {
        done.creditNote = NomerNaFaktura(data);
        done.invoice = first.invoice.rightJustified(kInvoiceNumberLength, QLatin1Char('0'));
        done.invoiceDate = first.date;
    }

    store::CellChanges changes;
    for (int i = 0; i < rows; ++i) done.lines.push_back(writeReturn(data, firstRow + i, checked[size_t(i)], done, changes));
    store::Worksheet& sheet = data.indexSheet();
    const auto setCounter = [&](store::layout::CellPos pos, double value) {
        changes.write(sheet, pos.row, pos.col, store::Value(value));
    };
    if (!done.creditNote.isEmpty()) setCounter(index::kLastInvoice, double(done.creditNote.toLongLong()));
    setCounter(index::kSalesRows, lastRow - 1);
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
    const QString what = done.lines.size() == 1
                             ? QStringLiteral("%1 бр. „%2“").arg(done.lines[0].count).arg(done.lines[0].name)
                             : QStringLiteral("%1 реда").arg(done.lines.size());
    QString text = QStringLiteral("Върнати %1, %2").arg(what, store::moneyWithSign(done.amount(), currency));
    if (!done.creditNote.isEmpty()) text += QStringLiteral(", кредитно известие № ") + done.creditNote;
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    for (const ReturnedLine& line : done.lines)
        if (!line.stockProblem.isEmpty()) text += QLatin1Char(' ') + line.stockProblem;
    return text;
}

} // namespace sales
