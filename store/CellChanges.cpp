#include "store/CellChanges.h"

#include "store/Worksheet.h"

namespace store {

void CellChanges::write(Worksheet& sheet, int row, int col, const Value& value)
{
    changes_.push_back(Change{&sheet, row, col, sheet.value(row, col)});
    sheet.setValue(row, col, value);
}

void CellChanges::undo()
{
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change)
        change->sheet->setValue(change->row, change->col, change->before);
    changes_.clear();
}

} // namespace store
