#pragma once

#include <QRectF>
#include <cstdint>
#include <functional>
#include <vector>

namespace kalvex::drawing {

// A uniform grid over the drawing's extents that lists, per cell, the items whose bounds
// touch it, so that painting and picking visit only what lies in the area concerned.
// Items outside the extents given at reset fall into the border cells.
class SpatialGrid {
public:
    void reset(const QRectF& extents, std::size_t itemCount);
    void insert(std::uint32_t item, const QRectF& bounds);
    void remove(std::uint32_t item, const QRectF& bounds);
    // Calls visit once for every item whose cell range meets the area.
    void query(const QRectF& area, const std::function<void(std::uint32_t)>& visit) const;

private:
    struct CellRange {
        int x0, y0, x1, y1;
    };
    CellRange cellsOf(const QRectF& bounds) const;
    static int cellIndex(double at, int count);

    QRectF m_extents;
    int m_columns = 1;
    int m_rows = 1;
    std::vector<std::vector<std::uint32_t>> m_cells;
    mutable std::vector<std::uint32_t> m_stamp;
    mutable std::uint32_t m_queryNumber = 0;
};

} // namespace kalvex::drawing
