#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "drawingwindow/SpatialIndex.h"

namespace kalvex::drawing {
namespace {

// The index held against a plain list of every item's bounds: a query must visit every item
// whose bounds meet the area, each once, and none that was removed.
class IndexAgainstList {
public:
    void reset(const QRectF& extents, std::size_t count) {
        index.reset(extents, count);
        bounds.clear();
    }
    void insert(std::uint32_t item, const QRectF& r) {
        index.insert(item, r);
        bounds[item] = r;
    }
    void remove(std::uint32_t item) {
        index.remove(item);
        bounds.erase(item);
    }
    std::multiset<std::uint32_t> visited(const QRectF& area) const {
        std::multiset<std::uint32_t> seen;
        index.query(area, [&](std::uint32_t item) { seen.insert(item); });
        return seen;
    }
    void expectQueryFindsAll(const QRectF& area) const {
        const std::multiset<std::uint32_t> seen = visited(area);
        for (std::uint32_t item : seen)
            ASSERT_EQ(seen.count(item), 1u) << "item " << item << " visited twice";
        for (const auto& [item, r] : bounds) {
            if (r.intersects(area)) {
                ASSERT_EQ(seen.count(item), 1u) << "item " << item << " missed";
            }
        }
        for (std::uint32_t item : seen)
            ASSERT_TRUE(bounds.contains(item)) << "removed item " << item << " visited";
    }

    SpatialIndex index;
    std::map<std::uint32_t, QRectF> bounds;
};

QRectF randomRect(std::mt19937& random, double span) {
    std::uniform_real_distribution<double> at(-0.2 * span, 1.2 * span);
    std::exponential_distribution<double> size(20.0 / span);
    switch (random() % 8) {
    case 0: // a point
        return QRectF(at(random), at(random), 1e-9, 1e-9);
    case 1: // a long thin line
        return QRectF(at(random), at(random), span * 0.8, 1e-9);
    case 2: // larger than everything
        return QRectF(-span, -span, 3 * span, 3 * span);
    default:
        return QRectF(at(random), at(random), size(random) + 1e-9, size(random) + 1e-9);
    }
}

TEST(SpatialIndexTest, RandomInsertsMovesAndRemovesAgreeWithAPlainList) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        IndexAgainstList test;
        const double span = std::pow(10.0, static_cast<double>(round % 7) - 2);
        const std::uint32_t count = 50 + random() % 400;
        test.reset(QRectF(0, 0, span, span * (0.01 + (random() % 100) / 10.0)), count);
        for (std::uint32_t item = 0; item < count; ++item)
            test.insert(item, randomRect(random, span));
        for (int step = 0; step < 300; ++step) {
            const std::uint32_t item = random() % (count + 20); // some beyond the first count
            if (random() % 3 == 0)
                test.remove(item);
            else
                test.insert(item, randomRect(random, span));
            if (step % 10 == 0)
                test.expectQueryFindsAll(randomRect(random, span));
        }
        test.expectQueryFindsAll(QRectF(-10 * span, -10 * span, 20 * span, 20 * span));
    }
}

// An item lives in the cell of its centre but may be as large as that cell, so it sticks out by
// up to half a cell on every side. Items of every level's size, centred near their cell's edges
// and corners, must be found by queries touching them just inside each of their edges.
TEST(SpatialIndexTest, ItemsAsLargeAsTheirCellAreFoundAtTheirEdges) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    IndexAgainstList test;
    const double side = 1024;
    test.reset(QRectF(0, 0, side, side), 32768); // 64 x 64 cells of 16 units at the finest level
    std::vector<QRectF> items;
    for (double cell = 16; cell <= side; cell *= 2) {
        for (int i = 0; i < 24; ++i) {
            // each coordinate of the centre within a fiftieth of a cell of a cell's edge
            const auto nearAnEdge = [&] {
                const double corner = std::floor(unit(random) * side / cell) * cell;
                const double offset = (unit(random) < 0.5 ? 0.01 : 0.99) * cell;
                return std::clamp(corner + offset + (unit(random) - 0.5) * 0.02 * cell, 0.0, side);
            };
            const double width = cell * (0.6 + 0.4 * unit(random));
            const double height = cell * (i % 3 == 0 ? 1e-9 : 0.6 + 0.4 * unit(random));
            const QPointF centre(nearAnEdge(), nearAnEdge());
            items.emplace_back(centre.x() - width / 2, centre.y() - height / 2, width, height);
            test.insert(static_cast<std::uint32_t>(items.size() - 1), items.back());
        }
    }
    const double touch = 1e-6;
    for (const QRectF& r : items) {
        const double inX = std::min(touch, r.width() / 4), inY = std::min(touch, r.height() / 4);
        for (const double x : {r.left() + inX, r.center().x(), r.right() - 2 * inX}) {
            for (const double y : {r.top() + inY, r.center().y(), r.bottom() - 2 * inY}) {
                test.expectQueryFindsAll(QRectF(x, y, inX, std::max(inY, 1e-12)));
                if (::testing::Test::HasFatalFailure())
                    return;
            }
        }
    }
}

TEST(SpatialIndexTest, ManyItemsAtOneSpotAreFoundThereOnlyAndLeaveOneByOne) {
    IndexAgainstList test;
    const QRectF spot(5, 5, 1e-9, 1e-9);
    test.reset(spot, 20000);
    for (std::uint32_t item = 0; item < 20000; ++item)
        test.insert(item, spot);
    EXPECT_EQ(test.visited(QRectF(4, 4, 2, 2)).size(), 20000u);
    EXPECT_TRUE(test.visited(QRectF(6, 6, 1, 1)).empty());
    for (std::uint32_t item = 0; item < 20000; item += 2)
        test.remove(item);
    test.expectQueryFindsAll(QRectF(4, 4, 2, 2));
    EXPECT_EQ(test.visited(QRectF(4, 4, 2, 2)).size(), 10000u);
    EXPECT_FALSE(test.index.contains(0));
    EXPECT_TRUE(test.index.contains(1));
}

// Small items spread over the extents: a query of a small area sees about the items near it,
// not all of them, even beside large items that span the whole drawing.
TEST(SpatialIndexTest, AQueryVisitsOnlyItemsNearItsArea) {
    SpatialIndex index;
    index.reset(QRectF(0, 0, 1000, 1000), 10002);
    for (std::uint32_t item = 0; item < 10000; ++item)
        index.insert(item, QRectF(item % 100 * 10.0, item / 100 * 10.0, 2, 2));
    index.insert(10000, QRectF(0, 0, 1000, 1000));
    index.insert(10001, QRectF(0, 500, 1000, 1e-9));
    std::set<std::uint32_t> seen;
    index.query(QRectF(500, 500, 5, 5), [&](std::uint32_t item) { seen.insert(item); });
    EXPECT_TRUE(seen.contains(5050));
    EXPECT_TRUE(seen.contains(10000));
    EXPECT_TRUE(seen.contains(10001));
    EXPECT_LT(seen.size(), 200u);
    EXPECT_EQ(index.outsideCount(), 0u);
}

TEST(SpatialIndexTest, ItemsBeyondTheExtentsOrWithoutNumbersAreStillFound) {
    IndexAgainstList test;
    test.reset(QRectF(0, 0, 10, 10), 4);
    test.insert(0, QRectF(1e6, 1e6, 1, 1));       // far outside
    test.insert(1, QRectF(-1e300, -1e300, 1, 1)); // too far for any cell number
    const double nan = std::numeric_limits<double>::quiet_NaN();
    test.insert(2, QRectF(nan, 0, 1, 1));
    test.insert(3, QRectF(2, 2, 1, 1));
    EXPECT_EQ(test.index.outsideCount(), 3u);
    test.expectQueryFindsAll(QRectF(1e6, 1e6, 2, 2));
    test.expectQueryFindsAll(QRectF(-1e300, -1e300, 10, 10));
    test.expectQueryFindsAll(QRectF(0, 0, 1e308, 1e308));
    test.remove(0);
    EXPECT_EQ(test.index.outsideCount(), 2u);
    test.expectQueryFindsAll(QRectF(0, 0, 10, 10));
}

TEST(SpatialIndexTest, ExtentsOfALineOrAPointStillMakeCells) {
    for (const QRectF& extents :
         {QRectF(0, 0, 100, 0), QRectF(0, 0, 0, 100), QRectF(3, 3, 0, 0), QRectF()}) {
        IndexAgainstList test;
        test.reset(extents, 100);
        for (std::uint32_t item = 0; item < 100; ++item)
            test.insert(item, QRectF(item, 0, 1e-9, 1e-9));
        test.expectQueryFindsAll(QRectF(10, -1, 5, 2));
        test.expectQueryFindsAll(QRectF(-1, -1, 200, 2));
    }
}

// Items placed and filled in at once are visited as items inserted one by one are, in the
// same order; a placed item removed before the filling stays out, and the index then takes
// insertions and removals as ever.
TEST(SpatialIndexFill, PlacedItemsAreFoundInTheOrderInsertedOnesAre) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> at(0, 1000), size(0, 60);
    std::vector<QRectF> bounds;
    for (int i = 0; i < 3000; ++i)
        bounds.emplace_back(at(random), at(random), size(random), size(random));
    const QRectF extents(0, 0, 1060, 1060);
    SpatialIndex inserted, filled;
    inserted.reset(extents, bounds.size());
    filled.reset(extents, bounds.size());
    for (std::uint32_t i = 0; i < bounds.size(); ++i) {
        if (i % 7 != 3)
            inserted.insert(i, bounds[i]);
        filled.place(i, bounds[i]);
    }
    for (std::uint32_t i = 3; i < bounds.size(); i += 7)
        filled.remove(i);
    filled.fill();
    const auto order = [](const SpatialIndex& index, const QRectF& area) {
        std::vector<std::uint32_t> items;
        index.query(area, [&](std::uint32_t item) { items.push_back(item); });
        return items;
    };
    for (int k = 0; k < 50; ++k) {
        const QRectF area(at(random), at(random), size(random) * 3, size(random) * 3);
        ASSERT_EQ(order(filled, area), order(inserted, area));
    }
    EXPECT_FALSE(filled.contains(3));
    filled.insert(3, bounds[3]);
    filled.remove(10);
    inserted.insert(3, bounds[3]);
    inserted.remove(10);
    EXPECT_EQ(order(filled, extents), order(inserted, extents));
}

} // namespace
} // namespace kalvex::drawing
