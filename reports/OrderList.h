#pragma once

#include "reports/PrintedReport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace store {
class DataWorkbook;
class Workbook;
} // namespace store

// "За поръчка": the goods to order, over all articles, apart from any window.
namespace reports {

// The days of sales the rate is read over, and the days of stock an order is to cover.
inline constexpr int kShortPeriod = 30;
inline constexpr int kLongPeriod = 90;
inline constexpr int kDaysToCover = 30;

struct OrderLine {
    QString article;
    QString name;
    double stock = 0;
    std::optional<double> minimum;   // none when V is empty
    double sold30 = 0;               // sold in the last 30 days (today included), returns taken off
    double sold90 = 0;
    std::optional<int> daysLeft;     // none when nothing sold in 90 days
    int proposal = 0;                // pieces to order
    bool atMinimum = false;          // the stock is at or below the minimum
};

// Every goods record that is at or below its minimum stock, or whose stock runs out in fewer than
// 30 days at the rate it sold: the last 30 days' sales per day, or the last 90 days' when the 30
// had none. A sale counts for a goods record by article and name where the ledger row names its
// article, else by name alone. Days left are the whole days the stock lasts at that rate; the
// proposal covers 30 days at the rate and brings the stock at least up to the minimum, rounded up
// to whole pieces. Goods at or below their minimum come first, then by days left, fewest first
// (those without sales last); otherwise in article and record order.
std::vector<OrderLine> orderList(const store::DataWorkbook& data, const QDate& today);

// The columns of the list, as it is shown, printed and exported.
std::vector<ReportColumn> orderColumns();
// A line as its columns show it.
QStringList orderRow(const OrderLine& line);

// The list as a workbook the shop keeper can send: one sheet "За поръчка", a heading row, then
// one row per line, the numbers as numbers.
std::unique_ptr<store::Workbook> orderWorkbook(const std::vector<OrderLine>& lines);

} // namespace reports
