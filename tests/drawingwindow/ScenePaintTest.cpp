#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <random>

#include "drawing/DxfTestSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/BlockPictures.h"
#include "drawingwindow/SceneHitTest.h"
#include "drawingwindow/ScenePainter.h"
#include "kit/DrawingBuilder.h"

namespace kalvex::drawing {
namespace {

using test::Pairs;

const QColor kBackground(33, 40, 48);

// A block of lines, a circle and a text, and references to it: `placements` holds x, y, X
// scale, Y scale and turn of each.
std::shared_ptr<Drawing> referencesDrawing(const std::vector<std::array<double, 5>>& placements) {
    Pairs pairs = {{"0", "SECTION"}, {"2", "HEADER"},  {"9", "$ACADVER"}, {"1", "AC1027"},
                   {"0", "ENDSEC"},  {"0", "SECTION"}, {"2", "BLOCKS"},   {"0", "BLOCK"},
                   {"8", "0"},       {"2", "VALVE"},   {"70", "0"},       {"10", "1"},
                   {"20", "1"}};
    auto line = [&](double x0, double y0, double x1, double y1) {
        pairs.insert(pairs.end(), {{"0", "LINE"},
                                   {"8", "0"},
                                   {"62", "3"},
                                   {"10", std::to_string(x0)},
                                   {"20", std::to_string(y0)},
                                   {"11", std::to_string(x1)},
                                   {"21", std::to_string(y1)}});
    };
    line(0, 0, 12, 0);
    line(12, 0, 12, 6);
    line(0, 6, 12, 0);
    pairs.insert(pairs.end(), {{"0", "CIRCLE"},
                               {"8", "0"},
                               {"10", "6"},
                               {"20", "3"},
                               {"40", "2"},
                               {"0", "TEXT"},
                               {"8", "0"},
                               {"10", "1"},
                               {"20", "7"},
                               {"40", "1.5"},
                               {"1", "V1"},
                               {"0", "ENDBLK"},
                               {"8", "0"},
                               {"0", "ENDSEC"},
                               {"0", "SECTION"},
                               {"2", "ENTITIES"}});
    for (const auto& [x, y, sx, sy, turn] : placements)
        pairs.insert(pairs.end(), {{"0", "INSERT"},
                                   {"8", "0"},
                                   {"2", "VALVE"},
                                   {"10", std::to_string(x)},
                                   {"20", std::to_string(y)},
                                   {"41", std::to_string(sx)},
                                   {"42", std::to_string(sy)},
                                   {"50", std::to_string(turn)}});
    pairs.insert(pairs.end(), {{"0", "ENDSEC"}, {"0", "EOF"}});
    return parseDxf(test::dxfOf(pairs), "references.dxf");
}

QImage paintScene(const Scene& scene, const ViewTransform& view, BlockPictures* pictures) {
    QImage image(view.size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    const std::unordered_set<RecordId> none;
    ScenePainter scenePainter(painter, view, none);
    scenePainter.setBlockPictures(pictures);
    scenePainter.paint(scene, view.visibleArea());
    return image;
}

// The share of ink pixels of one picture that have ink within `reach` pixels in the other.
double inkFoundIn(const QImage& from, const QImage& in, int reach) {
    int ink = 0, found = 0;
    for (int y = 0; y < from.height(); ++y) {
        for (int x = 0; x < from.width(); ++x) {
            if (from.pixelColor(x, y) == kBackground)
                continue;
            ++ink;
            bool near = false;
            for (int dy = -reach; dy <= reach && !near; ++dy)
                for (int dx = -reach; dx <= reach && !near; ++dx)
                    near = in.valid(x + dx, y + dy) && in.pixelColor(x + dx, y + dy) != kBackground;
            found += near ? 1 : 0;
        }
    }
    return ink == 0 ? 1.0 : static_cast<double>(found) / ink;
}

// References turned, scaled and mirrored at random, drawn from pictures of their blocks and
// drawn shape by shape: the two agree to within a pixel at every zoom pictures are used at.
TEST(BlockPicturesTest, ReferencesDrawnFromPicturesMatchThemDrawnShapeByShape) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> at(0, 400), scale(0.5, 2.0), turn(0, 360);
    std::vector<std::array<double, 5>> placements;
    for (int i = 0; i < 40; ++i) {
        const double sx = scale(random) * (i % 5 == 0 ? -1 : 1);
        placements.push_back({at(random), at(random), sx, i % 3 == 0 ? sx : scale(random),
                              i % 2 == 0 ? 0.0 : turn(random)});
    }
    const auto drawing = referencesDrawing(placements);
    const Scene scene(*drawing);
    for (double pixelsPerUnit : {0.8, 2.0, 5.0}) {
        const ViewTransform view{{200, 200}, pixelsPerUnit, QSize(500, 400)};
        BlockPictures pictures;
        const QImage fromPictures = paintScene(scene, view, &pictures);
        const QImage byShapes = paintScene(scene, view, nullptr);
        EXPECT_GT(pictures.pictureCount(), 0u);
        EXPECT_GT(inkFoundIn(fromPictures, byShapes, 1), 0.99) << pixelsPerUnit;
        EXPECT_GT(inkFoundIn(byShapes, fromPictures, 1), 0.99) << pixelsPerUnit;
    }
}

TEST(BlockPicturesTest, ReferencesThatDifferOnlyInWhereTheyStandShareAPicture) {
    std::vector<std::array<double, 5>> placements;
    for (int i = 0; i < 50; ++i)
        placements.push_back({i * 20.0, 0, 1, 1, i % 2 == 0 ? 0.0 : 90.0});
    const auto drawing = referencesDrawing(placements);
    const Scene scene(*drawing);
    BlockPictures pictures;
    paintScene(scene, ViewTransform{{500, 0}, 1.0, QSize(1100, 100)}, &pictures);
    EXPECT_EQ(pictures.pictureCount(), 2u);
}

// Far out, a reference is a filled box where its block lies, and a whole drawing smaller than
// a pixel or two a dot: neither vanishes.
TEST(LevelOfDetailTest, SmallReferencesAreBoxesAndTinyOnesDots) {
    const auto drawing = referencesDrawing({{0, 0, 1, 1, 0}, {100, 0, 1, 1, 0}});
    const Scene scene(*drawing);
    const SceneEntry& entry = scene.entry(1);
    const QRectF block = entry.bounds;
    ASSERT_TRUE(entry.block);
    EXPECT_EQ(detailOf(*entry.block, 0.3), Detail::Box);
    EXPECT_EQ(detailOf(*entry.block, 2.0), Detail::Full);
    EXPECT_EQ(detailOf(entry, 0.05), Detail::Dot);
    const ViewTransform boxes{{50, 3}, 0.3, QSize(60, 20)};
    const QImage image = paintScene(scene, boxes, nullptr);
    const QPointF centre = boxes.toScreen(block.center());
    EXPECT_NE(image.pixelColor(centre.toPoint()), kBackground);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixelColor(x, y) != kBackground ? 1 : 0;
    EXPECT_LE(ink, 2 * std::ceil(block.width() * 0.3 + 2) * std::ceil(block.height() * 0.3 + 2));
    const ViewTransform dots{{50, 3}, 0.05, QSize(20, 20)};
    const QImage far = paintScene(scene, dots, nullptr);
    EXPECT_NE(far.pixelColor(dots.toScreen(block.center()).toPoint()), kBackground);
}

// A reference is picked by its block's shapes where the reference puts them.
TEST(LevelOfDetailTest, AReferenceIsPickedWhereItsBlockIsPlaced) {
    const auto drawing = referencesDrawing({{100, 50, 2, 1, 90}});
    const Scene scene(*drawing);
    const SceneEntry& entry = scene.entry(0);
    ASSERT_TRUE(entry.block);
    const QPointF onBottomLine = entry.block->map.map(QPointF(7, 0));
    // (7, 0) less the base point (1, 1), scaled by 2 and 1, turned a quarter, moved to (100, 50).
    EXPECT_NEAR(onBottomLine.x(), 101, 1e-9);
    EXPECT_NEAR(onBottomLine.y(), 62, 1e-9);
    EXPECT_NEAR(distanceTo(entry, onBottomLine), 0.0, 1e-6);
    EXPECT_GT(distanceTo(entry, onBottomLine + QPointF(5, 0)), 4.0); // below the block
    EXPECT_TRUE(touches(entry, QRectF(onBottomLine - QPointF(0.1, 0.1), QSizeF(0.2, 0.2))));
    EXPECT_TRUE(liesInside(entry, entry.bounds.adjusted(-1, -1, 1, 1)));
}

// Texts seen from afar are dots in their entity's colour: faded on a locked layer, in the
// highlight colour when picked, and none is left out or drawn where it is not.
TEST(LevelOfDetailTest, DotsTakeTheirEntitysColourFadedWhenLockedAndHighlightedWhenPicked) {
    DrawingBuilder b;
    b.layer("OLD", LayerState::Locked);
    b.text({.text = "plain", .insertion = {0, 0, 0}});
    b.text({.text = "locked", .insertion = {400, 0, 0}, .layer = "OLD"});
    b.text({.text = "picked", .insertion = {800, 0, 0}});
    const auto drawing = b.drawing();
    const Scene scene(*drawing);
    const ViewTransform view{scene.extents().center(), 0.05, QSize(60, 20)};
    ASSERT_EQ(detailOf(scene.entry(0), view.scale), Detail::Dot);
    const std::unordered_set<RecordId> picked{scene.entry(2).id};
    QImage image(view.size, QImage::Format_RGB32);
    image.fill(kBackground);
    {
        QPainter painter(&image);
        ScenePainter(painter, view, picked).paint(scene, view.visibleArea());
    }
    auto dotOf = [&](std::uint32_t index) {
        return image.pixelColor(view.toScreen(scene.entry(index).bounds.center()).toPoint());
    };
    const QColor plain = dotOf(0), locked = dotOf(1), highlighted = dotOf(2);
    EXPECT_NE(plain, kBackground);
    EXPECT_NE(locked, kBackground);
    EXPECT_NE(locked, plain);
    EXPECT_LT(locked.lightness(), plain.lightness()); // light ink faded towards the dark ground
    EXPECT_NE(highlighted, plain);
    EXPECT_NE(highlighted, kBackground);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixelColor(x, y) != kBackground ? 1 : 0;
    EXPECT_EQ(ink, 3);
}

} // namespace
} // namespace kalvex::drawing
