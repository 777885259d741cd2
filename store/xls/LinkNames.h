#pragma once

#include "store/KeptRecords.h"
#include "store/formula/BiffFormulaText.h"

namespace store::xls {

// What formulas name through a workbook's link records (SUPBOOK, EXTERNNAME, EXTERNSHEET, NAME
// with their CONTINUE records, in file order), for showing them as text. `sheets` are the names
// of all the workbook's sheets in tab order. A record that cannot be read leaves its entry empty,
// and formulas that use it keep showing their value.
BiffWorkbookNames readLinkNames(const std::vector<KeptRecord>& links, std::vector<QString> sheets);

// Rows first..first+count-1 (1-based) of the sheet `sheet` were deleted: the definitions of the
// names `names` read from `links` follow, as formulas do, in both. A NAME record continued in
// CONTINUE records, which no writer makes for a definition of references, stays as it is.
void namesAfterDeletedRows(std::vector<KeptRecord>& links, BiffWorkbookNames& names, const QString& sheet,
                           int first, int count);

} // namespace store::xls
