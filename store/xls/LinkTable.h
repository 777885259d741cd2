#pragma once

#include "store/KeptRecords.h"
#include "store/xls/BiffRecords.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace store::xls {

// The workbook's link table as it is written: the SUPBOOK, EXTERNNAME, EXTERNSHEET and NAME
// records kept from the file, and a defined name for each function the engine does not know
// that a formula calls. Such a name is marked as a function and has no formula, as that of a
// function the workbook would define itself; a formula calls it by its place among the names.
// New names go after the kept ones, so kept formulas still point at the names they did. Formulas
// reaching other sheets go through EXTERNSHEET entries: the kept ones where they fit, new ones
// after them (with the SUPBOOK of the workbook itself where the file had none).
class LinkTable {
public:
    // kept: the records kept from the file, none when they are not written back; sheetCount:
    // all sheets the file will have, for the SUPBOOK of the workbook itself.
    LinkTable(const std::vector<KeptRecord>& kept, int sheetCount);

    // The place (from 1) of the function's name: a name of the whole workbook the file already
    // has by that name, or one added now.
    quint16 functionName(const QString& upperName);
    // The place (from 0) of the EXTERNSHEET entry for the workbook's own sheets firstTab..lastTab
    // (from 0): a kept one, or one added now.
    quint16 sheetEntry(int firstTab, int lastTab);

    void write(RecordWriter& out) const;

private:
    // An EXTERNSHEET entry: a SUPBOOK (from 0) and a span of its sheets.
    struct SheetEntry {
        quint16 book = 0;
        quint16 first = 0;
        quint16 last = 0;
        bool operator==(const SheetEntry&) const = default;
    };
    QByteArray keptData(size_t at) const;
    void readKeptEntries();
    void writeOwnBook(RecordWriter& out) const;
    void writeExternSheet(RecordWriter& out) const;
    void writeFunctionName(RecordWriter& out, const QString& name) const;

    const std::vector<KeptRecord>& kept_;
    int sheetCount_;
    QStringList keptNames_;   // the kept NAME records' names; empty for a built-in or sheet's name
    QStringList newNames_;
    std::vector<SheetEntry> keptEntries_;
    std::vector<SheetEntry> newEntries_;
    int keptBooks_ = 0;               // SUPBOOK records kept
    std::optional<quint16> ownBook_;  // the kept SUPBOOK of the workbook itself
    bool keptExternSheet_ = false;
};

} // namespace store::xls
