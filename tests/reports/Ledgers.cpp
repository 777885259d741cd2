#include "Ledgers.h"

#include "store/Worksheet.h"

namespace ledgers {

namespace idx = store::layout::index;

void addSales(const store::DataWorkbook& data, const std::vector<Sale>& sales)
{
    const int before = data.counter(idx::kSalesRows);
    store::Worksheet& sheet = data.indexSheet();
    int row = idx::kFirstListRow + before;
    for (const Sale& s : sales) {
        sheet.setValue(row, idx::sales::kDate, store::Value(s.date));
        sheet.setValue(row, idx::sales::kName, store::Value(s.name));
        sheet.setValue(row, idx::sales::kCount, s.count);
        sheet.setValue(row, idx::sales::kPrice, s.price);
        sheet.setValue(row, idx::sales::kInvoice, s.invoice);
        sheet.setValue(row, idx::sales::kPurchasePrice, s.cost);
        ++row;
    }
    data.setCell(idx::kSalesRows, store::Value(before + int(sales.size())));
}

void addPurchases(const store::DataWorkbook& data, const std::vector<Purchase>& purchases)
{
    const int before = data.counter(idx::kPurchaseRows);
    store::Worksheet& sheet = data.indexSheet();
    int row = idx::kFirstListRow + before;
    for (const Purchase& p : purchases) {
        sheet.setValue(row, idx::purchases::kDate, store::Value(p.date));
        sheet.setValue(row, idx::purchases::kName, store::Value(p.name));
        sheet.setValue(row, idx::purchases::kCount, p.count);
        sheet.setValue(row, idx::purchases::kPrice, p.price);
        ++row;
    }
    data.setCell(idx::kPurchaseRows, store::Value(before + int(purchases.size())));
}

} // namespace ledgers
