#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <vector>

namespace kalvex::drawing {

// The parts of a kept picture to paint again, as square pixel tiles: marking any number of
// areas costs a bit per tile, and the marked tiles are handed out merged into few rectangles.
class RepaintTiles {
public:
    static constexpr int kTile = 32; // pixels

    // A picture of another size: nothing marked.
    void resize(QSize size);
    // Marks the tiles the rectangle meets; what lies beyond the picture is left out.
    void mark(const QRect& pixels);
    bool isEmpty() const { return m_marked == 0; }
    // The marked tiles as rectangles clipped to the picture: runs of tiles along each row,
    // runs of the same columns in following rows joined.
    std::vector<QRect> rects() const;
    QRegion region() const;
    void clear();

private:
    QSize m_size;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::uint8_t> m_tiles;
    std::size_t m_marked = 0;
};

} // namespace kalvex::drawing
