#pragma once

#include "store/DataWorkbook.h"
#include "store/Money.h"

#include <QString>
#include <memory>
#include <vector>

namespace store {
class Workbook;
class Worksheet;
} // namespace store

// The ledgers' older years, kept beside the data workbook in Dnevnici/Danni-YYYY.xls: each laid
// out like the data workbook's index sheet (the same ledger columns and counters, the currency
// and leva rows, and in BG2/BH2 the line before its first row), so that a ledger reads alike
// wherever its rows lie.
namespace ledgers {

using store::layout::index::Ledger;

// The folder of the year workbooks of the shop whose data workbook this is; empty for a workbook
// without a file.
QString yearFolderOf(const store::Workbook& danni);
QString yearWorkbookPath(const QString& yearFolder, int year);
// The years whose workbooks lie in the folder, oldest first.
std::vector<int> yearsIn(const QString& yearFolder);

// A year workbook without rows, counting in the currency given.
std::unique_ptr<store::Workbook> createYearWorkbook(store::Currency currency);

// One workbook's part of a ledger: rows 2 … lastRow of its index sheet, the first levaRows of
// them in leva.
struct LedgerPart {
    const store::Worksheet* sheet;
    int lastRow;
    int levaRows;

    store::Currency rowCurrency(int row) const
    {
        return row - store::layout::index::kFirstListRow < levaRows ? store::Currency::Leva : store::Currency::Euro;
    }
};

// A ledger over the shop's whole history, in the order its rows were written: the year
// workbooks' rows, oldest year first, then the data workbook's. A year workbook's rows past the
// lines the data workbook counts as moved out are not read: a move whose last save failed, or a
// data workbook put back from the archive, left them there, and the data workbook holds them.
// Throws store::Error when a year workbook cannot be read.
class LedgerHistory {
public:
    LedgerHistory(const store::DataWorkbook& data, const Ledger& ledger);

    const std::vector<LedgerPart>& parts() const { return parts_; }
    // The shop's currency, in which the reports show every amount.
    store::Currency currency() const { return currency_; }

private:
    std::vector<std::unique_ptr<store::Workbook>> years_;
    std::vector<LedgerPart> parts_;
    store::Currency currency_;
};

// The rows a ledger of this workbook counts, 2 … n + 1: n as its counter gives it, within what a
// sheet can hold.
int countedRows(const store::DataWorkbook& data, const Ledger& ledger);

} // namespace ledgers
