#pragma once

#include "store/RowKeeper.h"

#include <QStringList>
#include <functional>
#include <set>
#include <utility>
#include <vector>

// A basket that holds the rows and sheets it is told to, and remembers what it was told of moves.
class FakeKeeper final : public store::RowKeeper {
public:
    bool holdsSheet(const QString& sheet) const override { return sheets.contains(sheet); }
    bool holdsRow(const QString& sheet, int row) const override { return rows.count({sheet, row}) > 0; }
    void rowsMoved(const QString& sheet, const std::function<int(int)>& newRow) override
    {
        moves.push_back({sheet, newRow});
    }

    QStringList sheets;
    std::set<std::pair<QString, int>> rows;
    std::vector<std::pair<QString, std::function<int(int)>>> moves;
};
