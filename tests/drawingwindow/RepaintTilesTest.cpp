#include <gtest/gtest.h>

#include <random>

#include "drawingwindow/RepaintTiles.h"

namespace kalvex::drawing {
namespace {

constexpr int kTile = RepaintTiles::kTile;

// The rectangles handed out, held against a plain bitmap of marked tiles: together they cover
// exactly the marked tiles within the picture, and none overlaps another.
TEST(RepaintTilesTest, RectanglesCoverExactlyTheMarkedTiles) {
    std::mt19937 random(5);
    for (int round = 0; round < 20; ++round) {
        const QSize size(1 + random() % 700, 1 + random() % 500);
        RepaintTiles tiles;
        tiles.resize(size);
        std::vector<std::vector<bool>> marked(size.height(), std::vector<bool>(size.width()));
        for (int k = 0; k < 1 + round % 12; ++k) {
            const QRect r(static_cast<int>(random() % 900) - 100,
                          static_cast<int>(random() % 700) - 100, random() % 200, random() % 200);
            tiles.mark(r);
            const QRect clipped = r.intersected(QRect(QPoint(0, 0), size));
            for (int y = clipped.top() / kTile * kTile; !clipped.isEmpty() && y <= clipped.bottom();
                 y += kTile)
                for (int x = clipped.left() / kTile * kTile; x <= clipped.right(); x += kTile)
                    for (int py = y; py < std::min(y + kTile, size.height()); ++py)
                        for (int px = x; px < std::min(x + kTile, size.width()); ++px)
                            marked[py][px] = true;
        }
        std::vector<std::vector<int>> painted(size.height(), std::vector<int>(size.width()));
        for (const QRect& r : tiles.rects()) {
            ASSERT_TRUE(QRect(QPoint(0, 0), size).contains(r));
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ++painted[y][x];
        }
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(painted[y][x], marked[y][x] ? 1 : 0) << x << "," << y;
    }
}

TEST(RepaintTilesTest, NeighbouringTilesJoinIntoOneRectangle) {
    RepaintTiles tiles;
    tiles.resize(QSize(10 * kTile, 10 * kTile));
    EXPECT_TRUE(tiles.isEmpty());
    tiles.mark(QRect(kTile + 5, kTile + 5, 2 * kTile, 3 * kTile)); // 3 x 4 tiles
    ASSERT_EQ(tiles.rects().size(), 1u);
    EXPECT_EQ(tiles.rects()[0], QRect(kTile, kTile, 3 * kTile, 4 * kTile));
    tiles.clear();
    EXPECT_TRUE(tiles.isEmpty());
    EXPECT_TRUE(tiles.rects().empty());
}

} // namespace
} // namespace kalvex::drawing
