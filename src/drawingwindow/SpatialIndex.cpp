#include "drawingwindow/SpatialIndex.h"

#include <algorithm>
#include <cmath>

namespace kalvex::drawing {

namespace {

constexpr int kMaxCellsPerSide = 1024;
constexpr double kItemsPerCell = 8.0;

bool isFinite(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right()) &&
           std::isfinite(r.bottom());
}

// The cell of a coordinate along one side, clamped in floating point before the conversion so
// that coordinates far beyond the extents cannot overflow.
int cellAlong(double offset, double cellSize, int count) {
    const double at = std::floor(offset / cellSize);
    return static_cast<int>(std::clamp(at, -1.0, static_cast<double>(count)));
}

// A drawing whose items all lie on one line or at one point still gets cells of some size.
QRectF usableExtents(const QRectF& extents) {
    if (!isFinite(extents) || extents.isNull())
        return QRectF(0, 0, 1, 1);
    QRectF r = extents.normalized();
    const double side = std::max({r.width(), r.height(), 1e-9});
    if (r.width() <= 0)
        r.setWidth(side);
    if (r.height() <= 0)
        r.setHeight(side);
    return r;
}

} // namespace

void SpatialIndex::reset(const QRectF& extents, std::size_t itemCount) {
    m_extents = usableExtents(extents);
    const double cells = std::max(1.0, static_cast<double>(itemCount) / kItemsPerCell);
    const double aspect = m_extents.width() / m_extents.height();
    int columns = std::clamp(static_cast<int>(std::sqrt(cells * aspect)), 1, kMaxCellsPerSide);
    int rows = std::clamp(static_cast<int>(cells / columns), 1, kMaxCellsPerSide);
    std::vector<Level> finestFirst;
    double width = m_extents.width() / columns, height = m_extents.height() / rows;
    for (;;) {
        finestFirst.push_back({columns, rows, width, height, 0});
        if (columns == 1 && rows == 1)
            break;
        columns = (columns + 1) / 2;
        rows = (rows + 1) / 2;
        width *= 2;
        height *= 2;
    }
    m_levels.assign(finestFirst.rbegin(), finestFirst.rend());
    std::size_t cellCount = 0;
    for (Level& level : m_levels) {
        level.firstCell = cellCount;
        cellCount += static_cast<std::size_t>(level.columns) * static_cast<std::size_t>(level.rows);
    }
    m_cells.assign(cellCount + 1, {});
    m_locations.assign(itemCount, {});
}

std::uint32_t SpatialIndex::cellFor(const QRectF& bounds) const {
    const QPointF centre = bounds.center();
    const bool inside = isFinite(bounds) && centre.x() >= m_extents.left() &&
                        centre.x() <= m_extents.right() && centre.y() >= m_extents.top() &&
                        centre.y() <= m_extents.bottom();
    if (!inside)
        return outsideCell();
    const double width = std::abs(bounds.width()), height = std::abs(bounds.height());
    for (auto level = m_levels.rbegin(); level != m_levels.rend(); ++level) {
        if (level->cellWidth < width || level->cellHeight < height)
            continue;
        const int x =
            std::min(cellAlong(centre.x() - m_extents.left(), level->cellWidth, level->columns),
                     level->columns - 1);
        const int y =
            std::min(cellAlong(centre.y() - m_extents.top(), level->cellHeight, level->rows),
                     level->rows - 1);
        return static_cast<std::uint32_t>(level->firstCell +
                                          static_cast<std::size_t>(y) * level->columns + x);
    }
    return outsideCell();
}

void SpatialIndex::insert(std::uint32_t item, const QRectF& bounds) {
    if (m_cells.empty())
        reset(bounds, item + 1);
    if (item >= m_locations.size())
        m_locations.resize(item + 1);
    remove(item);
    const std::uint32_t cell = cellFor(bounds);
    m_locations[item] = {cell, static_cast<std::uint32_t>(m_cells[cell].size())};
    m_cells[cell].push_back(item);
}

void SpatialIndex::place(std::uint32_t item, const QRectF& bounds) {
    if (m_cells.empty())
        reset(bounds, item + 1);
    if (item >= m_locations.size())
        m_locations.resize(item + 1);
    m_locations[item] = {cellFor(bounds), kPlaced};
    m_placing = true;
}

void SpatialIndex::fill() {
    if (!m_placing)
        return;
    m_placing = false;
    std::vector<std::uint32_t> counts(m_cells.size(), 0);
    for (const Location& location : m_locations)
        if (location.cell != kNowhere && location.slot == kPlaced)
            ++counts[location.cell];
    for (std::size_t cell = 0; cell < m_cells.size(); ++cell)
        if (counts[cell] > 0)
            m_cells[cell].reserve(m_cells[cell].size() + counts[cell]);
    for (std::uint32_t item = 0; item < m_locations.size(); ++item) {
        Location& location = m_locations[item];
        if (location.cell == kNowhere || location.slot != kPlaced)
            continue;
        std::vector<std::uint32_t>& cell = m_cells[location.cell];
        location.slot = static_cast<std::uint32_t>(cell.size());
        cell.push_back(item);
    }
}

void SpatialIndex::remove(std::uint32_t item) {
    if (!contains(item))
        return;
    Location& location = m_locations[item];
    if (location.slot == kPlaced) {
        location = {};
        return;
    }
    std::vector<std::uint32_t>& cell = m_cells[location.cell];
    const std::uint32_t moved = cell.back();
    cell[location.slot] = moved;
    m_locations[moved].slot = location.slot;
    cell.pop_back();
    location = {};
}

bool SpatialIndex::contains(std::uint32_t item) const {
    return item < m_locations.size() && m_locations[item].cell != kNowhere;
}

void SpatialIndex::addCellsMeeting(const Level& level, const QRectF& area, CellList& cells) const {
    const double looseX = level.cellWidth / 2, looseY = level.cellHeight / 2;
    const int x0 = std::max(
        0, cellAlong(area.left() - m_extents.left() - looseX, level.cellWidth, level.columns));
    const int x1 = std::min(level.columns - 1, cellAlong(area.right() - m_extents.left() + looseX,
                                                         level.cellWidth, level.columns));
    const int y0 =
        std::max(0, cellAlong(area.top() - m_extents.top() - looseY, level.cellHeight, level.rows));
    const int y1 = std::min(level.rows - 1, cellAlong(area.bottom() - m_extents.top() + looseY,
                                                      level.cellHeight, level.rows));
    for (int y = y0; y <= y1; ++y) {
        const std::size_t row = level.firstCell + static_cast<std::size_t>(y) * level.columns;
        for (int x = x0; x <= x1; ++x)
            if (!m_cells[row + x].empty())
                cells.push_back(&m_cells[row + x]);
    }
}

// The cells a query looks through: on every level those within half a cell of the area (all
// of them for an area that is no number), and the list of items beyond the extents.
SpatialIndex::CellList SpatialIndex::cellsMeeting(const QRectF& area) const {
    CellList cells;
    if (m_cells.empty())
        return cells;
    const QRectF r = area.normalized();
    if (isFinite(r)) {
        for (const Level& level : m_levels)
            addCellsMeeting(level, r, cells);
    } else {
        for (std::size_t cell = 0; cell + 1 < m_cells.size(); ++cell)
            cells.push_back(&m_cells[cell]);
    }
    cells.push_back(&m_cells.back());
    return cells;
}

} // namespace kalvex::drawing
