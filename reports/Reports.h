#pragma once

namespace app {
class Shop;
}

// How the main window opens the reports.
namespace reports {

// "Справка продажби" / "продадени стоки": the sold goods report, its from-date list filled afresh
// from the sales ledger and its to-date list hidden.
void SpravkaProdajbi(app::Shop& shop);
// "закупени стоки": the purchased goods report.
void openPurchasedGoods(app::Shop& shop);
// "печалба": the profit report.
void openProfit(app::Shop& shop);
// "За поръчка": the goods to order, computed afresh each time it is opened.
void openOrderList(app::Shop& shop);

} // namespace reports
