#pragma once

#include "store/KeptRecords.h"
#include "store/xls/BiffRecords.h"

#include <QStringList>
#include <vector>

namespace store::xls {

// The workbook's link table as it is written: the SUPBOOK, EXTERNNAME, EXTERNSHEET and NAME
// records kept from the file, and a defined name for each function the engine does not know
// that a formula calls. Such a name is marked as a function and has no formula, as that of a
// function the workbook would define itself; a formula calls it by its place among the names.
// New names go after the kept ones, so kept formulas still point at the names they did.
class LinkTable {
public:
    // kept: the records kept from the file, none when they are not written back; sheetCount:
    // all sheets the file will have, for the SUPBOOK of the workbook itself.
    LinkTable(const std::vector<KeptRecord>& kept, int sheetCount);

    // The place (from 1) of the function's name: a name of the whole workbook the file already
    // has by that name, or one added now.
    quint16 functionName(const QString& upperName);

    void write(RecordWriter& out) const;

private:
    void writeFunctionName(RecordWriter& out, const QString& name) const;

    const std::vector<KeptRecord>& kept_;
    int sheetCount_;
    QStringList keptNames_;   // the kept NAME records' names; empty for a built-in or sheet's name
    QStringList newNames_;
};

} // namespace store::xls
