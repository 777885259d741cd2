#pragma once

#include "store/DataWorkbook.h"
#include "store/Value.h"

#include <QString>
#include <vector>

// Ledger rows written the way selling and adding goods write them, for the report tests.
namespace ledgers {

struct Sale {
    QString date;
    QString name;
    store::Value count;
    store::Value price;
    store::Value invoice = {};   // empty: no document
    store::Value cost = 0.0;     // purchase price
};

struct Purchase {
    QString date;
    QString name;
    store::Value count;
    store::Value price;
};

// Appends the rows after the R1 (Y1) rows already there and raises the counter.
void addSales(const store::DataWorkbook& data, const std::vector<Sale>& sales);
void addPurchases(const store::DataWorkbook& data, const std::vector<Purchase>& purchases);

} // namespace ledgers
