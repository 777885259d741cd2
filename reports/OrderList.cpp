#include "reports/OrderList.h"

#include "ledgers/YearWorkbooks.h"
#include "store/DataWorkbook.h"
#include "store/Money.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>

namespace reports {

namespace {

namespace col = store::layout::article;
namespace sales = store::layout::index::sales;
using store::layout::index::kFirstListRow;

// Pieces sold in the last 30 and the last 90 days.
struct Sold {
    double in30 = 0;
    double in90 = 0;
    Sold& operator+=(const Sold& other)
    {
        in30 += other.in30;
        in90 += other.in90;
        return *this;
    }
};

// The sales of the last 90 days, by article and name where the row names its article, and by
// name alone where it does not.
struct RecentSales {
    QHash<QString, QHash<QString, Sold>> byArticle;
    QHash<QString, Sold> byNameOnly;

    Sold of(const QString& article, const QString& name) const
    {
        Sold sold = byArticle.value(article).value(name);
        return sold += byNameOnly.value(name);
    }
};

RecentSales recentSales(const store::DataWorkbook& data, const QDate& today)
{
    RecentSales result;
    const QDate first90 = today.addDays(1 - kLongPeriod);
    const QDate first30 = today.addDays(1 - kShortPeriod);
    const ledgers::LedgerHistory history(data, store::layout::index::kSalesLedger);
    QString lastDateText;
    std::optional<QDate> lastDate;
    for (const ledgers::LedgerPart& part : history.parts()) {
        for (int row = kFirstListRow; row <= part.lastRow; ++row) {
            // The rows of a day share their date's text: it is read once.
            const QString dateText = part.sheet->value(row, sales::kDate).toText();
            if (dateText != lastDateText) {
                lastDateText = dateText;
                lastDate = store::parseShopDate(dateText);
            }
            if (!lastDate || *lastDate < first90 || *lastDate > today) continue;
            const double count = part.sheet->value(row, sales::kCount).toNumber().value_or(0);
            const Sold sold{*lastDate >= first30 ? count : 0, count};
            const QString name = part.sheet->value(row, sales::kName).toText();
            const QString article = part.sheet->value(row, sales::kArticle).toText();
            if (article.isEmpty())
                result.byNameOnly[name] += sold;
            else
                result.byArticle[article][name] += sold;
        }
    }
    return result;
}

// The rate of sales: pieces over days, the last 30 days' or the last 90 days' when the 30 had no
// sales. Kept as the two numbers so that whole figures stay whole.
struct Rate {
    double pieces;
    int days;
};

Rate rateOf(const Sold& sold)
{
    if (sold.in30 > 0) return {sold.in30, kShortPeriod};
    return {std::max(sold.in90, 0.0), kLongPeriod};
}

OrderLine lineOf(const store::Worksheet& article, int row, const RecentSales& recent)
{
    OrderLine line;
    line.article = article.Name();
    line.name = article.value(row, col::kName).toText();
    line.stock = std::max(article.value(row, col::kStock).toNumber().value_or(0), 0.0);
    if (const store::Value minimum = article.value(row, col::kMinimumStock); minimum.isNumber())
        line.minimum = minimum.number();
    line.atMinimum = store::atMinimumStock(article, row);
    const Sold sold = recent.of(line.article, line.name);
    line.sold30 = sold.in30;
    line.sold90 = sold.in90;
    const Rate rate = rateOf(sold);
    if (rate.pieces > 0) line.daysLeft = int(std::min(std::floor(line.stock * rate.days / rate.pieces), 1e9));
    const double wanted = std::max(rate.pieces * kDaysToCover / rate.days, line.minimum.value_or(0));
    line.proposal = int(std::max(std::ceil(wanted - line.stock), 0.0));
    return line;
}

bool toOrder(const OrderLine& line)
{
    return line.atMinimum || (line.daysLeft && *line.daysLeft < kDaysToCover);
}

QString countText(double count)
{
    return store::numberToText(count);
}

} // namespace

std::vector<OrderLine> orderList(const store::DataWorkbook& data, const QDate& today)
{
    const RecentSales recent = recentSales(data, today);
    std::vector<OrderLine> lines;
    for (const store::Worksheet* article : data.articleSheets()) {
        const int n = data.goodsCount(*article);
        for (int record = 1; record <= n; ++record)
            if (OrderLine line = lineOf(*article, col::recordRow(record), recent); toOrder(line)) lines.push_back(std::move(line));
    }
    const auto key = [](const OrderLine& line) {
        return std::pair(!line.atMinimum, line.daysLeft.value_or(std::numeric_limits<int>::max()));
    };
    std::stable_sort(lines.begin(), lines.end(), [&key](const OrderLine& a, const OrderLine& b) { return key(a) < key(b); });
    return lines;
}

std::vector<ReportColumn> orderColumns()
{
    // On a page across: figures under headings that break between their words.
    return {{QStringLiteral("Артикул"), 0.13, false},        {QStringLiteral("Стока"), 0.2, false},
            {QStringLiteral("Наличност"), 0.12, true},      {QStringLiteral("Минимум"), 0.1, true},
            {QStringLiteral("Продадени 30 дни"), 0.12, true}, {QStringLiteral("Продадени 90 дни"), 0.12, true},
            {QStringLiteral("Дни до края"), 0.1, true},     {QStringLiteral("За поръчка"), 0.11, true}};
}

QStringList orderRow(const OrderLine& line)
{
    return {line.article,
            line.name,
            countText(line.stock),
            line.minimum ? countText(*line.minimum) : QString(),
            countText(line.sold30),
            countText(line.sold90),
            line.daysLeft ? QString::number(*line.daysLeft) : QString(),
            QString::number(line.proposal)};
}

std::unique_ptr<store::Workbook> orderWorkbook(const std::vector<OrderLine>& lines)
{
    auto workbook = std::make_unique<store::Workbook>();
    store::Worksheet& sheet = workbook->sheets(1);
    sheet.setName(QStringLiteral("За поръчка"));
    const std::vector<ReportColumn> columns = orderColumns();
    for (size_t c = 0; c < columns.size(); ++c) sheet.setValue(1, int(c) + 1, store::Value(columns[c].heading));
    int row = 2;
    for (const OrderLine& line : lines) {
        const auto number = [](const std::optional<double>& value) { return value ? store::Value(*value) : store::Value(); };
        const std::vector<store::Value> cells{store::Value(line.article), store::Value(line.name), store::Value(line.stock),
                                              number(line.minimum), store::Value(line.sold30), store::Value(line.sold90),
                                              line.daysLeft ? store::Value(*line.daysLeft) : store::Value(),
                                              store::Value(line.proposal)};
        for (size_t c = 0; c < cells.size(); ++c) sheet.setValue(row, int(c) + 1, cells[c]);
        ++row;
    }
    return workbook;
}

} // namespace reports
