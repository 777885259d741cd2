#pragma once

#include <QString>
#include <functional>

namespace store {

class Workbook;

// Someone who holds row numbers of article sheets between operations (the basket does: each of
// its lines names the row its goods came from). Operations that move or remove rows of an
// article sheet ask it first and tell it afterwards, so that no line ever points at other goods.
// What it changed in memory and has not yet made final (the stock of goods in the basket) stays
// out of every save.
class RowKeeper {
public:
    virtual ~RowKeeper() = default;

    // Some row of this article sheet is held: the article may not be deleted.
    virtual bool holdsSheet(const QString& sheet) const = 0;
    // This row of this article sheet is held: its record may not be deleted.
    virtual bool holdsRow(const QString& sheet, int row) const = 0;
    // The rows of the sheet have moved (a sort, or a row deleted above): newRow(oldRow) gives
    // where the record of each old row now lies.
    virtual void rowsMoved(const QString& sheet, const std::function<int(int)>& newRow) = 0;
    // Calls write, which saves the data workbook, with the cells as they would be without the
    // changes held, and puts the changes back afterwards, also when write throws.
    virtual void writeWithoutHeldChanges(Workbook& /*danni*/, const std::function<void()>& write) { write(); }
};

} // namespace store
