#include "search/HitGrid.h"

#include <QSignalBlocker>

#include "widgets/StringGrid.h"

namespace kalvex {

namespace {

template <typename Hits> auto* hitAt(Hits& hits, const StringGrid& grid, int row) {
    const int tag = grid.object(0, row);
    const bool named = tag > 0 && static_cast<std::size_t>(tag) <= hits.size();
    return named ? &hits[static_cast<std::size_t>(tag - 1)] : nullptr;
}

} // namespace

Orvik2* hitOfRow(std::vector<Orvik2>& hits, const StringGrid& grid, int row) {
    return hitAt(hits, grid, row);
}

const Orvik2* hitOfRow(const std::vector<Orvik2>& hits, const StringGrid& grid, int row) {
    return hitAt(hits, grid, row);
}

bool isChangedRow(const Orvik2& hit, const StringGrid& grid, int row) {
    return grid.cell(0, row) != QString::fromStdString(hit.text);
}

// Filling is not an edit: the grid's signals stay quiet until it holds the new rows.
void fillHitGrid(StringGrid& grid, const std::vector<Orvik2>& hits) {
    const QSignalBlocker blocker(grid);
    const int rows = std::max<int>(1, static_cast<int>(hits.size()));
    grid.setRowCount(0);
    grid.setRowCount(rows);
    if (hits.empty())
        return;
    for (int row = 0; row < rows; ++row) {
        grid.setCell(0, row, QString::fromStdString(hits[static_cast<std::size_t>(row)].text));
        grid.setObject(0, row, row + 1);
    }
}

} // namespace kalvex
