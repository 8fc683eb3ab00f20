#include "drawing/view/SpatialGrid.h"

#include <algorithm>
#include <cmath>

namespace kalvex::drawing {

namespace {
constexpr int kMaxCellsPerSide = 512;
constexpr std::size_t kItemsPerCell = 8;
} // namespace

void SpatialGrid::reset(const QRectF& extents, std::size_t itemCount) {
    m_extents = extents.isValid() ? extents : QRectF(0, 0, 1, 1);
    const double cells = std::max<double>(1.0, static_cast<double>(itemCount) / kItemsPerCell);
    const double aspect = std::max(1e-6, m_extents.width()) / std::max(1e-6, m_extents.height());
    m_columns = std::clamp(static_cast<int>(std::sqrt(cells * aspect)), 1, kMaxCellsPerSide);
    m_rows = std::clamp(static_cast<int>(cells / m_columns), 1, kMaxCellsPerSide);
    m_cells.assign(static_cast<std::size_t>(m_columns * m_rows), {});
    m_stamp.assign(itemCount, 0);
    m_queryNumber = 0;
}

// Clamped before the conversion: an area far outside tiny extents is beyond any int.
int SpatialGrid::cellIndex(double at, int count) {
    if (!(at > 0))
        return 0;
    return static_cast<int>(std::min(std::floor(at), static_cast<double>(count - 1)));
}

SpatialGrid::CellRange SpatialGrid::cellsOf(const QRectF& b) const {
    auto column = [this](double x) {
        return cellIndex((x - m_extents.left()) / m_extents.width() * m_columns, m_columns);
    };
    auto row = [this](double y) {
        return cellIndex((y - m_extents.top()) / m_extents.height() * m_rows, m_rows);
    };
    return {column(b.left()), row(b.top()), column(b.right()), row(b.bottom())};
}

void SpatialGrid::insert(std::uint32_t item, const QRectF& bounds) {
    if (item >= m_stamp.size())
        m_stamp.resize(item + 1, 0);
    const CellRange r = cellsOf(bounds);
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            m_cells[static_cast<std::size_t>(y * m_columns + x)].push_back(item);
}

void SpatialGrid::remove(std::uint32_t item, const QRectF& bounds) {
    const CellRange r = cellsOf(bounds);
    for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
            auto& cell = m_cells[static_cast<std::size_t>(y * m_columns + x)];
            cell.erase(std::remove(cell.begin(), cell.end(), item), cell.end());
        }
    }
}

void SpatialGrid::query(const QRectF& area, const std::function<void(std::uint32_t)>& visit) const {
    if (++m_queryNumber == 0) {
        std::fill(m_stamp.begin(), m_stamp.end(), 0);
        m_queryNumber = 1;
    }
    const CellRange r = cellsOf(area);
    for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
            for (std::uint32_t item : m_cells[static_cast<std::size_t>(y * m_columns + x)]) {
                if (m_stamp[item] == m_queryNumber)
                    continue;
                m_stamp[item] = m_queryNumber;
                visit(item);
            }
        }
    }
}

} // namespace kalvex::drawing
