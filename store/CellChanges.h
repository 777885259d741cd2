#pragma once

#include "store/Value.h"

#include <vector>

namespace store {

class Worksheet;

// Cells written with what they held before, so that the writes can be taken back exactly, last
// first (a step whose save failed, changes held out of a save).
class CellChanges {
public:
    void write(Worksheet& sheet, int row, int col, const Value& value);
    // Puts every cell back as it was and forgets the writes.
    void undo();

private:
    struct Change {
        Worksheet* sheet;
        int row;
        int col;
        Value before;
    };
    std::vector<Change> changes_;
};

} // namespace store
