#pragma once

#include "store/DataWorkbook.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

// A ledger that fills moves its oldest rows out to the year workbooks (see YearWorkbooks.h).
namespace ledgers {

using store::layout::index::Ledger;

// What one move took out of a ledger.
struct RollOver {
    const Ledger* ledger = nullptr;
    int rows = 0;               // the ledger's first rows, moved
    QDate before;               // every row moved is dated before this day
    std::vector<int> years;     // the year workbooks that received them, oldest first
};

// What the shop keeper is told of it: which rows went to which files.
QString rollOverText(const RollOver& moved);

// Makes room for `rows` new rows of the ledger below row maxRows of the sheet. When they do not
// fit, the oldest whole years move out (every row dated before 1 January of the first year that
// frees enough, up to today's year), and when today's year alone fills the ledger, its oldest
// whole months (the month of today stays). Nothing when they fit already, or when not even that
// frees enough: then nothing is written and the caller refuses as it would without room.
// Throws store::Error, with every file and the workbook in memory as they were, when the ledger's
// counter disagrees with its rows or a step of the move fails.
std::optional<RollOver> makeRoom(const store::DataWorkbook& data, const Ledger& ledger, int rows, const QDate& today,
                                 int maxRows = store::kMaxRows);

// Moves every row dated before 1 January of `year` out, as the workbook tool does at the year's
// end; nothing when there is none. Throws store::Error as makeRoom does.
std::optional<RollOver> moveYearsBefore(const store::DataWorkbook& data, const Ledger& ledger, int year,
                                        int maxRows = store::kMaxRows);

} // namespace ledgers
