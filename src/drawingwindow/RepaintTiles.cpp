#include "drawingwindow/RepaintTiles.h"

#include <algorithm>
#include <map>
#include <utility>

namespace kalvex::drawing {

void RepaintTiles::resize(QSize size) {
    m_size = size;
    m_columns = std::max(0, (size.width() + kTile - 1) / kTile);
    m_rows = std::max(0, (size.height() + kTile - 1) / kTile);
    m_tiles.assign(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows), 0);
    m_marked = 0;
}

void RepaintTiles::mark(const QRect& pixels) {
    const QRect r = pixels.intersected(QRect(QPoint(0, 0), m_size));
    if (r.isEmpty())
        return;
    for (int y = r.top() / kTile; y <= r.bottom() / kTile; ++y) {
        for (int x = r.left() / kTile; x <= r.right() / kTile; ++x) {
            std::uint8_t& tile = m_tiles[static_cast<std::size_t>(y) * m_columns + x];
            m_marked += tile == 0 ? 1 : 0;
            tile = 1;
        }
    }
}

void RepaintTiles::clear() {
    std::fill(m_tiles.begin(), m_tiles.end(), 0);
    m_marked = 0;
}

std::vector<QRect> RepaintTiles::rects() const {
    std::vector<QRect> result;
    // The rectangle still open below each run of columns of the row above.
    std::map<std::pair<int, int>, std::size_t> open;
    for (int y = 0; y < m_rows && m_marked > 0; ++y) {
        std::map<std::pair<int, int>, std::size_t> next;
        for (int x = 0; x < m_columns; ++x) {
            if (!m_tiles[static_cast<std::size_t>(y) * m_columns + x])
                continue;
            int end = x;
            while (end + 1 < m_columns &&
                   m_tiles[static_cast<std::size_t>(y) * m_columns + end + 1])
                ++end;
            const auto run = std::make_pair(x, end);
            const auto above = open.find(run);
            if (above != open.end()) {
                result[above->second].setBottom((y + 1) * kTile - 1);
                next[run] = above->second;
            } else {
                next[run] = result.size();
                result.emplace_back(QPoint(x * kTile, y * kTile),
                                    QPoint((end + 1) * kTile - 1, (y + 1) * kTile - 1));
            }
            x = end;
        }
        open = std::move(next);
    }
    const QRect picture(QPoint(0, 0), m_size);
    for (QRect& r : result)
        r = r.intersected(picture);
    return result;
}

QRegion RepaintTiles::region() const {
    QRegion region;
    for (const QRect& r : rects())
        region += r;
    return region;
}

} // namespace kalvex::drawing
