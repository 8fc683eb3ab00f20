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

// Filling is not an edit: the grid's signals stay quiet until it holds the new rows. No hits
// leave one empty row.
void fillHitGrid(StringGrid& grid, const std::vector<Orvik2>& hits) {
    const QSignalBlocker blocker(grid);
    const int rows = std::max<int>(1, static_cast<int>(hits.size()));
    grid.setRows(rows, 0, [&hits](int row) {
        if (hits.empty())
            return StringGrid::CellContent{};
        return StringGrid::CellContent{
            QString::fromStdString(hits[static_cast<std::size_t>(row)].text), row + 1};
    });
}

} // namespace kalvex
