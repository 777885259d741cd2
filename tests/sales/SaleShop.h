#pragma once

#include "app/support/ShopFolder.h"

#include "store/DataWorkbook.h"
#include "store/Value.h"
#include "store/Workbook.h"

#include <QString>
#include <memory>

namespace store {
class Worksheet;
}

// A shop to sell from: two articles with purchase prices, and the demo's invoice form as
// Faktura.xls.
//   "Играчки": Топка 5.50 (10 in stock, bought at 3.00), Кукла 12.00 (3, 8.00), Мече 7.25 (0, 4.00)
//   "Книжки":  Приказки 4.40 (5, 2.50)
struct SaleShop {
    SaleShop();

    ShopFolder folder;
    static const QString kToys;
    static const QString kBooks;
};

// A shop opened from its file, as the program holds it.
struct OpenShop {
    SaleShop shop;
    std::unique_ptr<store::Workbook> danni = store::Workbook::open(shop.folder.file(QStringLiteral("Danni.xls")));
    store::Worksheet& toys = danni->sheets(SaleShop::kToys);
    store::Worksheet& books = danni->sheets(SaleShop::kBooks);
    store::DataWorkbook data{*danni};
};

// Goods record with a purchase price, as the goods editor writes one.
int addGoodsBought(ShopFolder& folder, store::Worksheet& article, const QString& name, double price, int stock,
                   double purchasePrice);

// One row of the sales ledger as stored.
struct LedgerRow {
    QString date;
    QString name;
    store::Value count;
    store::Value price;
    store::Value invoice;
    store::Value purchasePrice;
    bool operator==(const LedgerRow&) const = default;
};
LedgerRow ledgerRow(const store::Worksheet& index, int row);
LedgerRow expectedRow(const QString& name, int count, double price, const QString& invoice, double purchasePrice);
void PrintTo(const LedgerRow& row, std::ostream* os);

// Readable failure messages for Qt strings.
void PrintTo(const QString& text, std::ostream* os);
