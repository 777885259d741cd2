#include "SaleShop.h"

#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "tools/InvoiceForm.h"

#include <QDate>
#include <ostream>

namespace col = store::layout::article;
namespace ledger = store::layout::index::sales;

const QString SaleShop::kToys = QStringLiteral("Играчки");
const QString SaleShop::kBooks = QStringLiteral("Книжки");

int addGoodsBought(ShopFolder& folder, store::Worksheet& article, const QString& name, double price, int stock,
                   double purchasePrice)
{
    const int row = folder.addGoods(article, {name, price, stock});
    article.setValue(row, col::kPurchasePrice, store::Value(purchasePrice));
    return row;
}

SaleShop::SaleShop()
{
    store::Worksheet& toys = folder.addArticle(kToys);
    addGoodsBought(folder, toys, QStringLiteral("Топка"), 5.5, 10, 3.0);
    addGoodsBought(folder, toys, QStringLiteral("Кукла"), 12.0, 3, 8.0);
    addGoodsBought(folder, toys, QStringLiteral("Мече"), 7.25, 0, 4.0);
    store::Worksheet& books = folder.addArticle(kBooks);
    addGoodsBought(folder, books, QStringLiteral("Приказки"), 4.4, 5, 2.5);
    folder.save();
    demo::makeInvoiceForm()->SaveAs(folder.file(QStringLiteral("Faktura.xls")));
}

LedgerRow ledgerRow(const store::Worksheet& index, int row)
{
    return {index.value(row, ledger::kDate).toText(),  index.value(row, ledger::kName).toText(),
            index.value(row, ledger::kCount),          index.value(row, ledger::kPrice),
            index.value(row, ledger::kInvoice),        index.value(row, ledger::kPurchasePrice)};
}

LedgerRow expectedRow(const QString& name, int count, double price, const QString& invoice, double purchasePrice)
{
    return {store::formatShopDate(QDate::currentDate()), name, store::Value(count), store::Value(price),
            invoice.isEmpty() ? store::Value() : store::Value(invoice), store::Value(purchasePrice)};
}

void PrintTo(const LedgerRow& row, std::ostream* os)
{
    *os << qPrintable(QStringLiteral("{%1 | %2 | %3 | %4 | %5 | %6}")
                          .arg(row.date, row.name, row.count.toText(), row.price.toText(), row.invoice.toText(),
                               row.purchasePrice.toText()));
}

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
