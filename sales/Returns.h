#pragma once

#include "ledgers/RollOver.h"
#include "store/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace store {
class DataWorkbook;
}

// Goods taken back after a sale, without any window: the sales that can still be returned, and
// the return as ledger rows of its own. A recorded sale is never changed.
namespace sales {

// Why goods come back, as the return row keeps it.
inline const QStringList kReturnReasons{QStringLiteral("грешка на оператора"),
                                        QStringLiteral("връщане или рекламация"),
                                        QStringLiteral("намаляване на данъчната основа")};

// A sale row of the current sales ledger with goods still to be returned.
struct ReturnableSale {
    int row = 0;          // its row in the index sheet
    qint64 line = 0;      // its line in the shop's whole ledger history
    QString date;
    QString name;
    int sold = 0;
    int returnable = 0;   // sold less what returns have taken back so far
    double price = 0;     // as stored, in the currency of the row
    QString invoice;      // as stored; empty without an invoice
};

// The sale rows (count above 0) with something left to return, newest first.
std::vector<ReturnableSale> returnableSales(const store::DataWorkbook& data);

// Those of the sales on the invoice numbered `number`, typed with or without its leading zeros;
// none when it reads as no number.
std::vector<ReturnableSale> salesOnInvoice(const std::vector<ReturnableSale>& sales, const QString& number);

// A sale to take back: `count` pieces of the sale in ledger row `row`.
struct ReturnLine {
    int row = 0;
    int count = 0;
};

// A ledger row a recorded return wrote.
struct ReturnedLine {
    int row = 0;             // the return's ledger row
    QString name;
    int count = 0;           // pieces taken back
    double price = 0;        // per piece, in the shop's currency
    QString stockProblem;    // why the goods could not go back in stock; empty when they did
};

// What a recorded return wrote.
struct ReturnDone {
    std::vector<ReturnedLine> lines;   // in the order asked
    QString reason;
    QString creditNote;      // its number; empty when the sales had no invoice
    QString invoice;         // the sales' invoice number, ten digits; empty without
    QString invoiceDate;     // the sales' date
    QString date;            // the return's date
    std::optional<ledgers::RollOver> moved;   // the oldest rows a full ledger moved out first

    double amount() const;   // what the shop pays back: each line's count × price to the cent, summed
};

// "Върни": the lines come back for reason, in one step. Every line must name a sale, a count of
// 1 or more, and no more than the sale has still to return (a sale named twice: its counts
// together); several lines must all be of the same invoice, or all without one. One new ledger row
// per line after the R1 rows: the date today() gives, the sale's name, -count, its selling and
// purchase prices (a leva sale in a euro shop converted to euro once), the credit note number when
// the sales were invoiced (K1 + 1 once for all the lines, K1 raised), the sale's line, the reason
// and its article; R1 + the lines; a full ledger first moves its oldest rows out to the year
// workbooks. Each line's goods go back in stock (D + count, U - count) in the record of that name
// in the sale's article, or, for older rows without one, the only record of that name in the shop;
// when there is none the money side is still recorded and the line's stockProblem tells why. Then
// the data workbook is saved once.
// Throws store::Error with nothing changed when a line breaks the rules above (no lines at all:
// no count), the ledger is full or the save fails.
ReturnDone VarniStoka(const store::DataWorkbook& data, const std::vector<ReturnLine>& lines, const QString& reason,
                      const std::function<QDate()>& today = &QDate::currentDate);

// What the shop keeper is told of a return: "Върнати 2 бр. „Кукла Ани“, 25,00 €, кредитно
// известие № 0000000013." for one line, "Върнати 3 реда, 25,00 €, …" for several, the stock
// problems after it.
QString returnRecordedText(const ReturnDone& done, store::Currency currency);

} // namespace sales
