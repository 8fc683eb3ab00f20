#pragma once

#include <QRectF>
#include <cstdint>
#include <vector>

namespace kalvex::drawing {

// Items by their bounds, so that painting and picking visit only what lies near the area
// concerned. A pyramid of grids over the extents: the coarsest level is one cell, each finer
// level has twice the cells per side, down to a few items per cell. An item lives in one cell
// only: of the finest level whose cells are at least as large as the item, the cell holding
// its centre. A query widens its area by half a cell on each level (loose cells), so adding and
// removing an item costs the same however large it is and however many items share its spot.
// Items beyond the extents the index was made for (or with bounds that are no numbers) go to
// a list that every query looks through; the owner resets the index when that list grows.
class SpatialIndex {
public:
    void reset(const QRectF& extents, std::size_t itemCount);
    void insert(std::uint32_t item, const QRectF& bounds);
    // Many items at once, as inserted one by one in the order of their numbers, with each
    // cell's room made once: place() each item (not yet in the index), then fill() once.
    void place(std::uint32_t item, const QRectF& bounds);
    void fill();
    void remove(std::uint32_t item);
    bool contains(std::uint32_t item) const;
    // Calls visit once for every item whose bounds may meet the area, and for no item whose
    // cell lies farther than half a cell from it; the caller tests the bounds themselves.
    template <typename Visit> void query(const QRectF& area, Visit&& visit) const {
        for (const std::vector<std::uint32_t>* cell : cellsMeeting(area))
            for (std::uint32_t item : *cell)
                visit(item);
    }
    std::size_t outsideCount() const { return m_cells.empty() ? 0 : m_cells.back().size(); }

private:
    struct Level {
        int columns = 1;
        int rows = 1;
        double cellWidth = 1.0;
        double cellHeight = 1.0;
        std::size_t firstCell = 0;
    };
    struct Location {
        std::uint32_t cell = kNowhere;
        std::uint32_t slot = 0;
    };
    static constexpr std::uint32_t kNowhere = UINT32_MAX;
    static constexpr std::uint32_t kPlaced = UINT32_MAX; // the slot of an item not filled in yet

    std::uint32_t cellFor(const QRectF& bounds) const;
    std::uint32_t outsideCell() const { return static_cast<std::uint32_t>(m_cells.size() - 1); }
    using CellList = std::vector<const std::vector<std::uint32_t>*>;
    CellList cellsMeeting(const QRectF& area) const;
    void addCellsMeeting(const Level& level, const QRectF& area, CellList& cells) const;

    QRectF m_extents;
    std::vector<Level> m_levels;                     // coarsest first
    std::vector<std::vector<std::uint32_t>> m_cells; // every level's cells, then the outside list
    std::vector<Location> m_locations;               // by item
    bool m_placing = false;                          // items placed are waiting for fill()
};

} // namespace kalvex::drawing
