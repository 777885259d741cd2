#pragma once

#include "store/Collation.h"
#include "store/formula/Formula.h"

#include <map>
#include <ostream>
#include <utility>

// Readable failure messages for the types formula tests compare.
static inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace store {
static inline void PrintTo(const Value& value, std::ostream* out)
{
    static const char* const kinds[] = {"empty", "number", "text", "boolean", "error"};
    *out << kinds[int(value.kind())] << ' ' << value.toText().toStdString();
}
} // namespace store

namespace formula_test {

// Between scripts text goes in the system's order: Linux's collation puts Cyrillic first, as the
// Bulgarian alphabet book does; Windows puts Latin first, as the spreadsheet does there.
inline bool latinBeforeCyrillic()
{
    return store::bulgarianCollator().compare(QStringLiteral("Z"), QStringLiteral("а")) < 0;
}

// A sheet for formula tests: a few cells, with a count of how many were read.
class FakeCells : public store::FormulaCells {
public:
    void set(int row, int col, const store::Value& value)
    {
        cells_[{row, col}] = value;
        lastRow_ = std::max(lastRow_, row);
        lastColumn_ = std::max(lastColumn_, col);
    }

    store::Value valueAt(int row, int col) const override
    {
        ++reads_;
        const auto it = cells_.find({row, col});
        return it == cells_.end() ? store::Value() : it->second;
    }
    int lastRow() const override { return lastRow_; }
    int lastColumn() const override { return lastColumn_; }

    int reads() const { return reads_; }

private:
    std::map<std::pair<int, int>, store::Value> cells_;
    int lastRow_ = 0;
    int lastColumn_ = 0;
    mutable int reads_ = 0;
};

} // namespace formula_test
