#pragma once

#include "store/Money.h"
#include "store/Value.h"
#include "store/Workbook.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace store {

// Where the shop keeps what in Danni.xls. Every part of the program names cells through these.
namespace layout {

struct CellPos {
    int row;
    int col;
};

inline const QString kIndexSheet = QStringLiteral("List");

// The index sheet "List".
namespace index {
inline constexpr CellPos kSheetCount{1, 4};       // D1: sheets in the workbook, this one included
inline constexpr CellPos kLastInvoice{1, 11};     // K1: number of the last invoice issued
inline constexpr CellPos kSalesRows{1, 18};       // R1: rows in the sales ledger
inline constexpr CellPos kPurchaseRows{1, 25};    // Y1: rows in the purchase ledger
inline constexpr CellPos kAdminName{2, 53};       // BA2
inline constexpr CellPos kAdminPassword{2, 54};   // BB2
// The shop's currency, kept apart from the administrator's cells and far right of the ledgers:
// "EUR" once the shop has gone over to the euro; empty (every shop before that) means leva.
inline constexpr CellPos kCurrency{2, 56};        // BD2
// At the change to the euro: the rows each ledger held, which keep their amounts in leva.
inline constexpr CellPos kLevaSalesRows{2, 57};     // BE2
inline constexpr CellPos kLevaPurchaseRows{2, 58};  // BF2
// The rows each ledger has moved out to the year workbooks so far (0 or empty until the first
// roll-over): row r of the ledger is line r - 1 + this of the shop's whole history.
inline constexpr CellPos kMovedSalesRows{2, 59};     // BG2
inline constexpr CellPos kMovedPurchaseRows{2, 60};  // BH2
inline const QString kEuroCode = QStringLiteral("EUR");
inline constexpr int kArticleNameColumn = 2;      // B: article names as added, from row 2
inline constexpr int kFirstListRow = 2;           // first row of the name list and both ledgers
inline constexpr int kMostSheets = 65534;         // D1 at most: each sheet's name has a row in B

// Sales ledger, columns L to S: one row per basket line or return.
namespace sales {
inline constexpr int kDate = 12;          // L
inline constexpr int kName = 13;          // M
inline constexpr int kCount = 14;         // N: negative on a return
inline constexpr int kPrice = 15;         // O
inline constexpr int kInvoice = 16;       // P: the invoice, on a return its credit note
inline constexpr int kPurchasePrice = 17; // Q
// A return only: the line of the sale it takes back (see kMovedSalesRows), and why.
inline constexpr int kReturnOf = 18;      // R, from row 2 (R1 is the counter)
inline constexpr int kReturnReason = 19;  // S
// The article sheet of the goods sold, on rows written since it was kept (older rows: empty).
// Past the purchase ledger, as the columns between are taken.
inline constexpr int kArticle = 24;       // X
} // namespace sales

// Purchase ledger, columns T to W: one row per goods record added.
namespace purchases {
inline constexpr int kDate = 20;   // T
inline constexpr int kName = 21;   // U
inline constexpr int kCount = 22;  // V
inline constexpr int kPrice = 23;  // W
} // namespace purchases

// A ledger: its counter, the count of its rows kept in leva at the change to the euro, the count
// of its rows moved out to the year workbooks, its columns (rows 2 … n + 1 hold something in
// firstColumn … lastColumn, the rows after them nothing; extraColumn, when not 0, belongs to
// each row as well) and those of each row's date, count and price.
struct Ledger {
    CellPos rowCount;
    CellPos levaRowCount;
    CellPos movedRowCount;
    int firstColumn;
    int lastColumn;
    int extraColumn;
    int date;
    int count;
    int price;
    const char* name;   // as the shop keeper is told of it
};
inline constexpr Ledger kSalesLedger{kSalesRows,   kLevaSalesRows,       kMovedSalesRows, sales::kDate,
                                     sales::kReturnReason, sales::kArticle, sales::kDate, sales::kCount,
                                     sales::kPrice, "дневника на продажбите"};
inline constexpr Ledger kPurchaseLedger{kPurchaseRows,    kLevaPurchaseRows, kMovedPurchaseRows, purchases::kDate,
                                        purchases::kPrice, 0,                 purchases::kDate,   purchases::kCount,
                                        purchases::kPrice, "дневника на покупките"};

// K1 becomes a ten-digit invoice number.
inline constexpr qint64 kLastInvoiceNumber = 9'999'999'999;
} // namespace index

// An article sheet: goods record k lies in row k + 1.
namespace article {
inline constexpr int kName = 2;            // B
inline constexpr int kPrice = 3;           // C: selling price
inline constexpr int kStock = 4;           // D: count in stock
inline constexpr int kStockValue = 5;      // E
inline constexpr int kAvailability = 6;    // F
inline constexpr int kMaker = 7;           // G
inline constexpr int kDescription = 8;     // H
inline constexpr int kPromotion = 9;       // I: 1 or 0
inline constexpr int kPicture = 10;        // J: picture file name
inline constexpr int kPurchasePrice = 11;  // K
inline constexpr int kMarkup = 12;         // L: percentage over the purchase price
inline constexpr int kLastSortedColumn = 18;  // R: sorting moves columns A to R
inline constexpr int kSold = 21;           // U: count sold through the basket
// Kept since the shop orders by them; empty on records from before (and where none is set).
inline constexpr int kMinimumStock = 22;   // V: "минимално количество"
inline constexpr int kBarcode = 23;        // W: EAN-13, EAN-8, UPC-A or the shop's own code, as text
inline constexpr int kLastRecordColumn = kBarcode;   // a record's cells end here
inline constexpr CellPos kCountFormulaCell{1, 20};  // T1
inline const QString kCountFormulaR1C1 = QStringLiteral("=COUNTIF(R[1]C[-18]:R[9999]C[-18],\"<>\")");
inline constexpr int kMaxRecords = 9999;
inline const QString kAvailable = QStringLiteral("Налично");
inline const QString kNotAvailable = QStringLiteral("Не е налично");

inline constexpr int recordRow(int record) { return record + 1; }
} // namespace article

inline const QString kFreshAdminName = QStringLiteral("admin");
inline const QString kFreshAdminPassword = QStringLiteral("8642");

} // namespace layout

// "6. 12. 2026": day without, month with a leading zero, as the ledgers store dates.
QString formatShopDate(const QDate& date);
// Reads a stored date back by day, month and year; nothing when it is not one.
std::optional<QDate> parseShopDate(const QString& text);
// A date as the shop keeper types it: day, month and year in this order, parted by dots, slashes
// or hyphens, with or without blanks and leading zeros: "15.11.2026", "15. 11. 2026", "7/12/2026",
// "07-12-2026". A two-digit year falls in this century ("15.11.26" is 15 November 2026).
// Nothing when the text names no day of the calendar ("31.02.2026", "15.13.2026", words, nothing).
std::optional<QDate> parseTypedDate(const QString& text);

// The currency of the shop whose data workbook holds this sheet (an article sheet or the index);
// leva for a workbook without the index sheet.
Currency currencyOf(const Worksheet& sheet);

// The stock (D) of the goods record in this row of an article sheet is at or below the minimum
// stock set for it (V); false when none is set.
bool atMinimumStock(const Worksheet& article, int row);

// The shop's data workbook seen through its layout.
class DataWorkbook {
public:
    explicit DataWorkbook(Workbook& workbook) : workbook_(workbook) {}

    // A workbook laid out for a shop with no articles yet, counting in the currency given.
    static std::unique_ptr<Workbook> createFresh(Application* application = nullptr,
                                                 Currency currency = Currency::Leva);

    Workbook& workbook() const { return workbook_; }
    Worksheet& indexSheet() const { return workbook_.sheets(layout::kIndexSheet); }

    Value cell(layout::CellPos pos) const { return indexSheet().value(pos.row, pos.col); }
    void setCell(layout::CellPos pos, const Value& value) const { indexSheet().setValue(pos.row, pos.col, value); }
    // An index counter (D1, K1, R1, Y1) as a listing reads it: a whole number from 0 up, 0 when it
    // does not read as one, never more than an int holds. Steps that write where a counter
    // points use the checked forms below.
    int counter(layout::CellPos pos) const;
    // The counter as a whole number from 0 to max; throws store::Error naming the cell and what
    // it holds when it is anything else.
    qint64 wholeCounter(layout::CellPos pos, qint64 max) const;
    // The first row after a ledger's counted rows, where `rows` new ones go. Throws store::Error
    // when the counter is no whole number or disagrees with the rows it counts: its last row
    // empty, or a row the new ones would take already filled. Nothing is written.
    int nextLedgerRow(const layout::index::Ledger& ledger, int rows) const;
    // D1 checked against the sheets there are; throws store::Error when they disagree.
    int checkedSheetCount() const;

    // The shop's currency: euro when the currency cell says so, leva otherwise.
    Currency currency() const;
    // The number of ledger rows before the first one in euro; every row in a leva shop.
    int levaRows(const layout::index::Ledger& ledger) const;

    // T1 of an article sheet: its number of goods records, never more than the sheet's rows
    // below the first hold nor than an article can have.
    int goodsCount(const Worksheet& article) const;
    // The article sheets in workbook order: every sheet of the first D1 but the index.
    std::vector<Worksheet*> articleSheets() const;
    // The row of a new goods record, after the T1 records; throws store::Error when the row
    // already holds a record (a name in B emptied by another program moves the count).
    int nextGoodsRow(const Worksheet& article) const;

private:
    Workbook& workbook_;
};

} // namespace store
