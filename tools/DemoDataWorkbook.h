#pragma once

#include "DemoCatalogue.h"

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace store { class Workbook; }
namespace sales { class Koshnica; }

namespace demo {

// One basket line of a demo sale: goods `goods` of article `article` (positions in the catalogue).
struct SaleLine {
    int article;
    int goods;
    int count;
};

struct Sale {
    QDate date;
    std::vector<SaleLine> lines;
    bool invoice;
};

// The sales that sell exactly what the catalogue says was sold, as baskets of one to three lines
// spread from `first` to `last` in time order; every third sale gets an invoice. The same
// catalogue and dates give the same sales.
std::vector<Sale> planSales(const std::vector<Article>& catalogue, const QDate& first, const QDate& last);

// Told of each sale with an invoice once it is recorded: its basket, its day and the invoice's
// ten-digit number.
using InvoiceIssued = std::function<void(const sales::Koshnica& basket, const QDate& day, const QString& number)>;

// The data workbook of the demo shop, grown the way the program grows it: the articles added, the
// goods delivered about four months before `today`, the sales of planSales recorded up to `today`,
// and a last review of every goods record after the sales, all through the catalogue's own
// operations. Each goods picture must already lie in its article's folder under picturesDir.
// Throws store::Error.
std::unique_ptr<store::Workbook> buildDemoDataWorkbook(const std::vector<Article>& catalogue,
                                                       const QString& picturesDir, const QDate& today,
                                                       const InvoiceIssued& invoiceIssued = {});

} // namespace demo
