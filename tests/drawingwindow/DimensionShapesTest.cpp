#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SceneTestSupport.h"
#include "drawingwindow/render/DimensionParts.h"

namespace kalvex::drawing {
namespace {

using test::entryOf;
using test::joined;
using test::Pairs;
using test::sceneDrawing;

DimensionStyle styleWith(int decimals, int zeros = 0, double rounding = 0.0) {
    DimensionStyle style;
    style.decimals = decimals;
    style.zeros = zeros;
    style.rounding = rounding;
    return style;
}

TEST(DimensionText, LengthsFollowPrecisionRoundingZerosAndUnits) {
    struct Case {
        double value;
        DimensionStyle style;
        const char* expected;
    };
    DimensionStyle comma = styleWith(2);
    comma.decimalSeparator = QLatin1Char(',');
    DimensionStyle fractional = styleWith(3);
    fractional.linearUnits = 5;
    DimensionStyle architectural = styleWith(2);
    architectural.linearUnits = 4;
    const Case cases[] = {
        {50.0, styleWith(2), "50.00"},       {50.0, styleWith(2, 8), "50"},
        {0.5, styleWith(3, 4 | 8), ".5"},    {12.37, styleWith(2, 0, 0.25), "12.25"},
        {36.0555, comma, "36,06"},           {2.625, fractional, "2 5/8"},
        {30.5, architectural, "2'-6 1/2\""}, {-0.0001, styleWith(2), "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(linearMeasurement(c.value, c.style), QString::fromUtf8(c.expected)) << c.value;
}

TEST(DimensionText, AnglesAndTheTextThatReplacesTheMeasurement) {
    DimensionStyle degrees = styleWith(2);
    degrees.angleDecimals = 1;
    EXPECT_EQ(angularMeasurement(38.66, degrees), QStringLiteral("38.7%%d"));
    degrees.angularUnits = 1;
    degrees.angleDecimals = 4;
    EXPECT_EQ(angularMeasurement(30.5, degrees), QStringLiteral("30%%d30'0\""));
    EXPECT_EQ(dimensionText("50", {}, {}), QStringLiteral("50"));
    EXPECT_EQ(dimensionText("50", "<>", "<> mm"), QStringLiteral("50 mm"));
    EXPECT_EQ(dimensionText("50", {}, "mm"), QStringLiteral("50mm"));
    EXPECT_EQ(dimensionText("50", "L=<> (ref)", {}), QStringLiteral("L=50 (ref)"));
    EXPECT_EQ(dimensionText("50", "TYP", {}), QStringLiteral("TYP"));
    EXPECT_TRUE(dimensionText("50", " ", {}).isEmpty());
}

Pairs dimStyleTable() {
    return {{"0", "TABLE"}, {"2", "DIMSTYLE"}, {"0", "DIMSTYLE"}, {"105", "1F"},
            {"2", "PLANT"}, {"70", "0"},       {"41", "2"},       {"140", "3"},
            {"147", "1"},   {"77", "1"},       {"271", "1"},      {"0", "ENDTAB"}};
}

Pairs linearDimension(const Pairs& xdata) {
    Pairs pairs{{"0", "DIMENSION"}, {"8", "0"},  {"100", "AcDbDimension"},
                {"3", "PLANT"},     {"10", "0"}, {"20", "10"},
                {"70", "32"},       {"1", ""},   {"100", "AcDbAlignedDimension"},
                {"13", "0"},        {"23", "0"}, {"14", "50"},
                {"24", "0"},        {"50", "0"}};
    pairs.insert(pairs.end(), xdata.begin(), xdata.end());
    return pairs;
}

std::vector<const SceneShape*> ofKind(const SceneEntry& entry, ShapeKind kind) {
    std::vector<const SceneShape*> found;
    for (const SceneShape& shape : entry.shapes)
        if (shape.kind == kind && !shape.isText)
            found.push_back(&shape);
    return found;
}

const SceneShape* textOf(const SceneEntry& entry, const QString& text) {
    for (const SceneShape& shape : entry.shapes)
        if (shape.isText && shape.text.text == text)
            return &shape;
    return nullptr;
}

double widthAlong(const SceneShape& arrow) {
    const QRectF box = shapeBounds(arrow);
    return std::max(box.width(), box.height());
}

// A linear dimension without a block: extension lines from the measured points up to the
// dimension line, filled arrows of the style's size inside, the text above the line.
TEST(DimensionShapes, ALinearDimensionWithoutItsBlockIsBuiltFromItsPoints) {
    const auto drawing = sceneDrawing(linearDimension({}), {}, dimStyleTable());
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    EXPECT_TRUE(builder.notes().undrawnKinds.empty());
    const auto arrows = ofKind(entry, ShapeKind::Fill);
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_NEAR(widthAlong(*arrows[0]), 2.0, 1e-6);
    const SceneShape* text = textOf(entry, QStringLiteral("50.0"));
    ASSERT_TRUE(text);
    const QRectF box = shapeBounds(*text);
    EXPECT_NEAR(box.center().x(), 25.0, 0.5);
    EXPECT_GT(box.bottom(), 10.0); // above the dimension line at y = 10
    EXPECT_LT(box.top(), 10.0 + 1.0 + 3.0 + 1.5);
    bool extensionFound = false;
    for (const SceneShape* line : ofKind(entry, ShapeKind::Polyline))
        extensionFound =
            extensionFound || (line->points.size() == 2 && std::abs(line->points[0].x()) < 1e-9 &&
                               std::abs(line->points[0].y() - 0.625) < 1e-9 &&
                               std::abs(line->points[1].y() - 11.25) < 1e-9);
    EXPECT_TRUE(extensionFound);
}

// The entity's "ACAD" "DSTYLE" extended data overrides its style: arrow size, scale,
// precision, and ticks in place of arrows.
TEST(DimensionShapes, ExtendedDataOverridesTheStyle) {
    const Pairs xdata{{"1001", "ACAD"}, {"1000", "DSTYLE"}, {"1002", "{"}, {"1070", "41"},
                      {"1040", "4"},    {"1070", "40"},     {"1040", "2"}, {"1070", "271"},
                      {"1070", "3"},    {"1002", "}"}};
    const auto drawing = sceneDrawing(linearDimension(xdata), {}, dimStyleTable());
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    const auto arrows = ofKind(entry, ShapeKind::Fill);
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_NEAR(widthAlong(*arrows[0]), 8.0, 1e-6);
    const SceneShape* text = textOf(entry, QStringLiteral("50.000"));
    ASSERT_TRUE(text);
    EXPECT_NEAR(text->text.height, 6.0, 1e-6);

    const Pairs ticks{{"1001", "ACAD"}, {"1000", "DSTYLE"}, {"1002", "{"},
                      {"1070", "142"},  {"1040", "1"},      {"1002", "}"}};
    const auto ticked = sceneDrawing(linearDimension(ticks), {}, dimStyleTable());
    SceneBuilder tickBuilder(*ticked);
    EXPECT_TRUE(ofKind(entryOf(*ticked, tickBuilder), ShapeKind::Fill).empty());
}

Pairs angularDimension(int type, const Pairs& points) {
    Pairs pairs{{"0", "DIMENSION"}, {"8", "0"}, {"100", "AcDbDimension"}, {"3", "PLANT"}};
    pairs.insert(pairs.end(), points.begin(), points.end());
    pairs.insert(pairs.end(), {{"70", std::to_string(type)}});
    return pairs;
}

// Radius and diameter carry their signs; an angle between two lines is measured in the
// quarter that holds the arc point, whichever way the lines run.
TEST(DimensionShapes, RadialAndAngularDimensionsShowTheirMeasure) {
    const auto drawing = sceneDrawing(
        joined({angularDimension(4, {{"10", "0"}, {"20", "0"}, {"15", "10"}, {"25", "0"}}),
                angularDimension(3, {{"10", "-8"}, {"20", "0"}, {"15", "8"}, {"25", "0"}}),
                angularDimension(2, {{"10", "40"},
                                     {"20", "-40"},
                                     {"13", "10"},
                                     {"23", "-40"},
                                     {"14", "35"},
                                     {"24", "-20"},
                                     {"15", "10"},
                                     {"25", "-40"},
                                     {"16", "30"},
                                     {"26", "-30"}})}),
        {}, dimStyleTable());
    SceneBuilder builder(*drawing);
    EXPECT_TRUE(textOf(entryOf(*drawing, builder, 0), QStringLiteral("R10.0")));
    EXPECT_TRUE(textOf(entryOf(*drawing, builder, 1), QStringLiteral("\u230016.0")) ||
                textOf(entryOf(*drawing, builder, 1), QStringLiteral("\u00d816.0")));
    const SceneEntry angle = entryOf(*drawing, builder, 2);
    bool found = false;
    for (const SceneShape& shape : angle.shapes)
        found = found || (shape.isText && shape.text.text.startsWith(QLatin1String("39")));
    EXPECT_TRUE(found) << "38.66 degrees rounds to 39 with no decimals";
}

// A feature control frame: a box per field, rows under each other; the leader's arrow
// takes its size from the overrides in its extended data.
TEST(DimensionShapes, ToleranceFramesAndLeaderOverrides) {
    const auto drawing = sceneDrawing(joined({{{"0", "TOLERANCE"},
                                               {"8", "0"},
                                               {"3", "PLANT"},
                                               {"10", "0"},
                                               {"20", "0"},
                                               {"1", "{\\Fgdt;j}%%v0.05%%vA^J{\\Fgdt;u}%%v0.1"},
                                               {"11", "1"},
                                               {"21", "0"}},
                                              {{"0", "LEADER"},
                                               {"8", "0"},
                                               {"3", "PLANT"},
                                               {"71", "1"},
                                               {"76", "2"},
                                               {"10", "0"},
                                               {"20", "-20"},
                                               {"10", "10"},
                                               {"20", "-20"},
                                               {"1001", "ACAD"},
                                               {"1000", "DSTYLE"},
                                               {"1002", "{"},
                                               {"1070", "41"},
                                               {"1040", "5"},
                                               {"1070", "40"},
                                               {"1040", "2"},
                                               {"1002", "}"}}}),
                                      {}, dimStyleTable());
    SceneBuilder builder(*drawing);
    const SceneEntry frame = entryOf(*drawing, builder, 0);
    std::size_t boxes = 0;
    for (const SceneShape* shape : ofKind(frame, ShapeKind::Polyline))
        boxes += shape->closed ? 1 : 0;
    EXPECT_EQ(boxes, 5u);
    ASSERT_TRUE(textOf(frame, QStringLiteral("0.1")));
    ASSERT_TRUE(textOf(frame, QStringLiteral("A")));
    EXPECT_LT(shapeBounds(*textOf(frame, QStringLiteral("0.1"))).center().y(),
              shapeBounds(*textOf(frame, QStringLiteral("A"))).center().y());
    const SceneEntry leader = entryOf(*drawing, builder, 1);
    const auto arrows = ofKind(leader, ShapeKind::Fill);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_NEAR(widthAlong(*arrows[0]), 10.0, 1e-6);
    EXPECT_TRUE(builder.notes().undrawnKinds.empty());
}

// A table is drawn from its block at its insertion point; one without its block is named
// among the kinds not drawn.
TEST(DimensionShapes, TablesAreDrawnFromTheirBlock) {
    const auto drawing = sceneDrawing(
        joined({{{"0", "ACAD_TABLE"},
                 {"8", "0"},
                 {"100", "AcDbBlockReference"},
                 {"2", "*T1"},
                 {"10", "100"},
                 {"20", "50"},
                 {"100", "AcDbTable"}},
                {{"0", "ACAD_TABLE"}, {"8", "0"}, {"2", "*T9"}, {"10", "0"}, {"20", "0"}}}),
        test::blockOf("*T1", test::lineOf(0, 0, 40, 0)));
    SceneBuilder builder(*drawing);
    const SceneEntry table = entryOf(*drawing, builder, 0);
    ASSERT_EQ(table.shapes.size(), 1u);
    EXPECT_EQ(table.shapes[0].points, (std::vector<QPointF>{{100, 50}, {140, 50}}));
    EXPECT_TRUE(builder.notes().undrawnKinds.empty());
    entryOf(*drawing, builder, 1);
    EXPECT_EQ(builder.notes().undrawnKinds, (std::set<std::string>{"ACAD_TABLE"}));
}

} // namespace
} // namespace kalvex::drawing
