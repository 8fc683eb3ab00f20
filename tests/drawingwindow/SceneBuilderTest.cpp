#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "drawingwindow/AciColors.h"

namespace kalvex::drawing {
namespace {

using namespace test;

std::size_t countKind(const SceneEntry& entry, ShapeKind kind) {
    std::size_t count = 0;
    for (const SceneShape& shape : entry.shapes)
        count += shape.kind == kind ? 1 : 0;
    return count;
}

bool near(QPointF a, QPointF b, double tolerance = 1e-6) {
    return std::abs(a.x() - b.x()) < tolerance && std::abs(a.y() - b.y()) < tolerance;
}

// A block holding a line and inserts of itself: the block is drawn once at each reference
// and never inside itself, and the builder names it as referring to itself.
TEST(SceneBlocks, ABlockThatInsertsItselfIsNotExpandedInsideItself) {
    Pairs self = lineOf(0, 0, 10, 0);
    for (int i = 0; i < 12; ++i)
        self = joined({self, insertOf("LOOP", i, 5, {{"41", "0.5"}, {"42", "0.5"}})});
    const auto drawing = sceneDrawing(insertOf("LOOP", 0, 0), blockOf("LOOP", self));
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    ASSERT_EQ(entry.shapes.size(), 1u);
    EXPECT_TRUE(near(entry.shapes[0].points[1], {10, 0}));
    EXPECT_EQ(builder.notes().selfReferencingBlocks, std::set<std::string>{"LOOP"});
}

TEST(SceneBlocks, ACycleThroughOtherBlocksStopsWhereItCloses) {
    const Pairs blocks = joined({blockOf("A", joined({lineOf(0, 0, 1, 0), insertOf("B", 0, 1)})),
                                 blockOf("B", joined({lineOf(0, 0, 0, 1), insertOf("A", 1, 0)}))});
    const auto drawing = sceneDrawing(insertOf("A", 0, 0), blocks);
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    EXPECT_EQ(entry.shapes.size(), 2u); // A's line, then B's line; B's A is not expanded
    EXPECT_EQ(builder.notes().selfReferencingBlocks, std::set<std::string>{"A"});
}

// Ten references per level over six levels would be a million lines: the reference shows
// as the box of its extents instead.
TEST(SceneBlocks, AnExpansionBeyondTheCapShowsTheExtentsAsABox) {
    Pairs blocks = blockOf("L0", lineOf(0, 0, 1, 1));
    for (int level = 1; level <= 6; ++level) {
        Pairs items;
        for (int i = 0; i < 10; ++i)
            items = joined({items, insertOf("L" + std::to_string(level - 1), i * 2, 0)});
        blocks = joined({blocks, blockOf("L" + std::to_string(level), items)});
    }
    const auto drawing = sceneDrawing(insertOf("L6", 100, 100), blocks);
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    ASSERT_EQ(entry.shapes.size(), 1u);
    EXPECT_TRUE(entry.shapes[0].closed);
    EXPECT_NEAR(entry.bounds.left(), 100, 1e-6);
    EXPECT_NEAR(entry.bounds.right(), 100 + 6 * 18 + 1, 1e-6); // each level adds 9 steps of 2
    EXPECT_TRUE(builder.notes().selfReferencingBlocks.empty());
}

TEST(SceneBlocks, AHugeArrayShowsAsOneBoxOverAllItsCells) {
    const auto drawing = sceneDrawing(
        insertOf("CELL", 0, 0, {{"70", "30000"}, {"71", "30000"}, {"44", "10"}, {"45", "20"}}),
        blockOf("CELL", lineOf(0, 0, 5, 5)));
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    ASSERT_EQ(entry.shapes.size(), 1u);
    EXPECT_NEAR(entry.bounds.width(), 29999 * 10 + 5, 1e-3);
    EXPECT_NEAR(entry.bounds.height(), 29999 * 20 + 5, 1e-3);
}

// Columns and rows step along the reference's rotated axes; attributes repeat per cell.
TEST(SceneBlocks, ArrayCellsFollowTheRotationAndRepeatAttributes) {
    const Pairs insert = joined(
        {insertOf(
             "CELL", 10, 0,
             {{"66", "1"}, {"50", "90"}, {"70", "2"}, {"71", "3"}, {"44", "10"}, {"45", "20"}}),
         {{"0", "ATTRIB"},
          {"8", "0"},
          {"10", "10"},
          {"20", "0"},
          {"40", "1"},
          {"1", "V"},
          {"2", "TAG"},
          {"70", "0"}},
         {{"0", "SEQEND"}, {"8", "0"}}});
    const auto drawing = sceneDrawing(insert, blockOf("CELL", lineOf(0, 0, 1, 0)));
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    EXPECT_EQ(countKind(entry, ShapeKind::Polyline), 6u);
    EXPECT_EQ(countKind(entry, ShapeKind::Text), 6u);
    std::vector<QPointF> starts;
    for (const SceneShape& shape : entry.shapes)
        if (shape.kind == ShapeKind::Polyline)
            starts.push_back(shape.points[0]);
    // Column 1 is 10 along the rotated X (world +Y); row 2 is 40 along rotated Y (world -X).
    EXPECT_TRUE(std::any_of(starts.begin(), starts.end(), [](QPointF p) {
        return near(p, {10, 10});
    }));
    EXPECT_TRUE(std::any_of(starts.begin(), starts.end(), [](QPointF p) {
        return near(p, {-30, 10});
    }));
}

// A reference whose extrusion is -Z mirrors its block in X, as do OCS circles and arcs.
TEST(SceneBlocks, NegativeExtrusionMirrorsInX) {
    const Pairs minusZ{{"210", "0"}, {"220", "0"}, {"230", "-1"}};
    const auto drawing = sceneDrawing(joined({insertOf("ARM", 5, 0, minusZ),
                                              {{"0", "ARC"},
                                               {"8", "0"},
                                               {"10", "20"},
                                               {"20", "0"},
                                               {"40", "2"},
                                               {"50", "0"},
                                               {"51", "90"},
                                               {"210", "0"},
                                               {"220", "0"},
                                               {"230", "-1"}}}),
                                      blockOf("ARM", lineOf(0, 0, 3, 1)));
    SceneBuilder builder(*drawing);
    const SceneEntry arm = entryOf(*drawing, builder, 0);
    ASSERT_EQ(arm.shapes.size(), 1u);
    EXPECT_TRUE(near(arm.shapes[0].points[0], {-5, 0}));
    EXPECT_TRUE(near(arm.shapes[0].points[1], {-8, 1}));
    const SceneEntry arc = entryOf(*drawing, builder, 1);
    EXPECT_TRUE(near(arc.shapes[0].points.front(), {-22, 0}, 1e-9));
    EXPECT_TRUE(near(arc.shapes[0].points.back(), {-20, 2}, 1e-9));
}

// BYBLOCK takes the reference's colour, layer "0" inside a block takes the reference's
// layer, a true colour wins over the index, and entities on a hidden layer are left out.
TEST(SceneStyles, ColoursResolveThroughBlocksAndLayers) {
    const Pairs layers{{"0", "TABLE"}, {"2", "LAYER"}, {"0", "LAYER"}, {"2", "RED"},
                       {"70", "0"},    {"62", "1"},    {"0", "LAYER"}, {"2", "GONE"},
                       {"70", "0"},    {"62", "-3"},   {"0", "ENDTAB"}};
    const Pairs block = joined({lineOf(0, 0, 1, 0, {{"62", "0"}}), lineOf(0, 1, 1, 1),
                                lineOf(0, 2, 1, 2, {{"62", "5"}, {"420", "16744448"}}),
                                lineOf(0, 3, 1, 3, {{"8", "GONE"}})});
    const auto drawing =
        sceneDrawing(insertOf("B", 0, 0, {{"8", "RED"}, {"62", "3"}}), blockOf("B", block), layers);
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    ASSERT_EQ(entry.shapes.size(), 3u);
    EXPECT_EQ(entry.shapes[0].color, aciColor(3));
    EXPECT_EQ(entry.shapes[1].color, aciColor(1));
    EXPECT_EQ(entry.shapes[2].color, QColor(255, 128, 0));
}

// A dash pattern grows with $LTSCALE, the entity's scale and the reference's scale; a
// BYBLOCK linetype takes the reference's.
TEST(SceneStyles, LinetypesScaleAndInherit) {
    const Pairs lineTypes{{"0", "TABLE"},  {"2", "LTYPE"},  {"0", "LTYPE"},
                          {"2", "DASHED"}, {"73", "2"},     {"40", "0.75"},
                          {"49", "0.5"},   {"49", "-0.25"}, {"0", "ENDTAB"}};
    const auto drawing =
        sceneDrawing(joined({lineOf(0, 0, 10, 0, {{"6", "DASHED"}, {"48", "3"}}),
                             insertOf("B", 0, 5, {{"6", "DASHED"}, {"41", "4"}, {"42", "4"}})}),
                     blockOf("B", lineOf(0, 0, 1, 0, {{"6", "BYBLOCK"}})), lineTypes,
                     {{"9", "$LTSCALE"}, {"40", "2"}});
    SceneBuilder builder(*drawing);
    const SceneEntry line = entryOf(*drawing, builder, 0);
    ASSERT_TRUE(line.shapes[0].pattern);
    EXPECT_EQ(line.shapes[0].pattern->lengths, (std::vector<double>{3.0, -1.5}));
    const SceneEntry reference = entryOf(*drawing, builder, 1);
    ASSERT_TRUE(reference.shapes[0].pattern);
    EXPECT_DOUBLE_EQ(reference.shapes[0].pattern->total, 0.75 * 2 * 4);
}

TEST(SceneStyles, KindsNotDrawnAreNamed) {
    const auto drawing = sceneDrawing(
        joined({{{"0", "3DSOLID"}, {"8", "0"}}, {{"0", "IMAGE"}, {"8", "0"}}, lineOf(0, 0, 1, 1)}));
    SceneBuilder builder(*drawing);
    for (std::size_t i = 0; i < 3; ++i)
        entryOf(*drawing, builder, i);
    EXPECT_EQ(builder.notes().undrawnKinds, (std::set<std::string>{"3DSOLID", "IMAGE"}));
}

// Rays start at their point, construction lines run both ways: neither widens the
// entity's bounds beyond its base point.
TEST(SceneStyles, RaysAreUnboundedEntries) {
    const auto drawing = sceneDrawing(
        {{"0", "XLINE"}, {"8", "0"}, {"10", "1"}, {"20", "2"}, {"11", "1"}, {"21", "0"}});
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    EXPECT_TRUE(entry.unbounded);
    EXPECT_EQ(entry.shapes[0].kind, ShapeKind::Xline);
    EXPECT_LT(entry.bounds.width(), 1e-6);
}

} // namespace
} // namespace kalvex::drawing
