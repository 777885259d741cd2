#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace store {
class DataWorkbook;
}

// What the three reports read from the ledgers over the shop's whole history (the index sheet and
// the year workbooks its oldest rows moved to), apart from any window: ledger rows in, listed
// rows and sums out.
namespace reports {

inline const QString kNoSales = QStringLiteral("Няма продадена стока");
inline const QString kNoInvoice = QStringLiteral("Няма фактура");
inline constexpr int kInvoiceDigits = 10;

// The columns of the two listing reports, in the order the lists stand.
inline const QStringList kSoldHeadings{QStringLiteral("Дата"), QStringLiteral("Име"), QStringLiteral("Брой"),
                                       QStringLiteral("Цена"), QStringLiteral("Фактура")};
inline const QStringList kPurchasedHeadings{QStringLiteral("Дата"), QStringLiteral("Име"), QStringLiteral("Брой"),
                                            QStringLiteral("Цена")};

// How a chart groups the days of its period: each day; Monday to Sunday when the period is over
// 62 days; calendar months when it is over a year. A bucket at either end of the period holds
// only its days within it.
enum class ChartStep { Day, Week, Month };
ChartStep chartStep(const QDate& from, const QDate& to);

// One bar of a chart: what it stands for ("7. 03.", "март 2011", a goods name) and its amount in
// the shop's currency.
struct ChartBar {
    QString label;
    double amount = 0;
};

inline constexpr int kTopGoods = 10;

// The figures of a report's chart, summed from the very rows its list or total is made of: the
// amounts of the period bucket by bucket, empty buckets included, and the goods of the largest
// amounts, at most kTopGoods of them, largest first.
struct Chart {
    ChartStep step = ChartStep::Day;
    std::vector<ChartBar> overTime;
    std::vector<ChartBar> topGoods;
};

// Rows as a report lists them (one text per column) and the sum of count × price over them; the
// sold goods' listings carry their chart of count × price, the purchases none.
struct Listing {
    std::vector<QStringList> rows;
    double sum = 0;
    Chart chart;
};

// How a report over a period of picked dates came out.
enum class Outcome {
    Done,           // computed; possibly nothing in the period (between two ledger days)
    Reversed,       // the to-date lies before the from-date
    OutsidePeriod,  // the period lies wholly before the first or after the last ledger day (the
                    // listings say so of an empty ledger too: it has no day at all)
    EmptyLedger,    // the profit report over a ledger without rows
};

struct PeriodListing {
    Outcome outcome = Outcome::Done;
    Listing listing;
};

inline const QString kReversedDates = QStringLiteral("Моля въведете датите коректно");

// Why a listing over picked dates shows nothing, as the shop keeper is told; empty when it is
// to be shown. `goods` names what the ledger holds: "продадени" or "закупени".
QString periodRefusal(Outcome outcome, const QString& goods);

struct Profit {
    Outcome outcome = Outcome::Done;
    double profit = 0;
};

// The from-date list: the sale dates in ledger order, a date repeated on consecutive rows once;
// "Няма продадена стока" alone when there is none. Rows whose date cannot be read are left out.
QStringList saleDates(const store::DataWorkbook& data);

// The sold goods from the first row dated `fromEntry` to the last row dated `toEntry`, as the
// date lists give them. Nothing when either matches no row of the ledger or the last comes first.
// Its chart runs from the earliest to the latest date among the rows.
Listing soldBetweenEntries(const store::DataWorkbook& data, const QString& fromEntry, const QString& toEntry);

// The sold goods of the days from..to, both included.
PeriodListing soldInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to);

// The goods bought in on the days from..to, both included.
PeriodListing purchasedInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to);

// (selling price − purchase price) × count over the sales of the days from..to.
Profit profitInPeriod(const store::DataWorkbook& data, const QDate& from, const QDate& to);
// The chart of that profit: the very sales profitInPeriod adds up, by bucket and goods. Nothing
// when the to-date lies before the from-date.
Chart profitChart(const store::DataWorkbook& data, const QDate& from, const QDate& to);

// An invoice number as listed: "Няма фактура" for none, otherwise padded with "0" to ten characters.
QString invoiceText(const QString& stored);

} // namespace reports
