#include <QImage>
#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "drawingwindow/AciColors.h"
#include "drawingwindow/ScenePainter.h"
#include "drawingwindow/SceneRender.h"

namespace kalvex::drawing {
namespace {

using namespace test;

bool near(QPointF a, QPointF b) {
    return std::abs(a.x() - b.x()) < 1e-6 && std::abs(a.y() - b.y()) < 1e-6;
}

Pairs layerRecord(const std::string& name, int color) {
    return {{"0", "LAYER"}, {"2", name}, {"70", "0"}, {"62", std::to_string(color)}};
}

Pairs attribOf(const std::string& layer, int color, const std::string& value) {
    return {{"0", "ATTRIB"}, {"8", layer}, {"62", std::to_string(color)},
            {"10", "0"},     {"20", "0"},  {"40", "1"},
            {"1", value},    {"2", "TAG"}, {"70", "0"}};
}

QColor colorOfText(const SceneEntry& entry, const QString& text) {
    for (const SceneShape& shape : entry.shapes)
        if (shape.kind == ShapeKind::Text && shape.text.text == text)
            return shape.color.toColor();
    return {};
}

// Attributes are drawn as part of their reference, as the entities of its block are: on
// layer "0" they take the reference's layer, BYBLOCK its colour; on a layer of their own
// they keep it.
TEST(SceneConventions, AttributesOnLayerZeroTakeTheReferencesLayer) {
    const Pairs tables = joined({{{"0", "TABLE"}, {"2", "LAYER"}},
                                 layerRecord("blue", 5),
                                 layerRecord("red", 1),
                                 {{"0", "ENDTAB"}}});
    const Pairs insert = joined({insertOf("TAG", 0, 0, {{"66", "1"}}),
                                 attribOf("0", 256, "bylayer"),
                                 attribOf("0", 0, "byblock"),
                                 attribOf("red", 256, "own"),
                                 {{"0", "SEQEND"}, {"8", "0"}}});
    Pairs onBlue = insert;
    onBlue[1].second = "blue";
    onBlue.insert(onBlue.begin() + 2, {"62", "3"});
    const auto drawing =
        sceneDrawing(joined({onBlue, insert}), blockOf("TAG", lineOf(0, 0, 1, 0)), tables);
    SceneBuilder builder(*drawing);
    const SceneEntry blue = entryOf(*drawing, builder, 0);
    EXPECT_EQ(colorOfText(blue, QStringLiteral("bylayer")), aciColor(5));
    EXPECT_EQ(colorOfText(blue, QStringLiteral("byblock")), aciColor(3));
    EXPECT_EQ(colorOfText(blue, QStringLiteral("own")), aciColor(1));
    const SceneEntry plain = entryOf(*drawing, builder, 1);
    EXPECT_EQ(colorOfText(plain, QStringLiteral("bylayer")), aciColor(7));
    EXPECT_EQ(colorOfText(plain, QStringLiteral("own")), aciColor(1));
}

double crossHalfSize(const Pairs& header, const Pairs& tables = {}) {
    const auto drawing =
        sceneDrawing({{"0", "POINT"}, {"8", "0"}, {"10", "10"}, {"20", "10"}}, {}, tables, header);
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    if (entry.shapes.empty() || entry.shapes[0].points.size() != 2)
        return -1;
    return 10.0 - entry.shapes[0].points[0].x();
}

Pairs pointHeader(const std::string& size, double low, double high) {
    return {{"9", "$PDMODE"},
            {"70", "3"},
            {"9", "$PDSIZE"},
            {"40", size},
            {"9", "$EXTMIN"},
            {"10", "0"},
            {"20", std::to_string(low)},
            {"30", "0"},
            {"9", "$EXTMAX"},
            {"10", "100"},
            {"20", std::to_string(high)},
            {"30", "0"}};
}

// $PDSIZE: positive in drawing units, negative a percentage of the view height, 0 five
// percent of it; the view is the drawing's extents, or its active viewport's height when
// the extents were never measured.
TEST(SceneConventions, PointSizeFollowsTheViewWhenNegative) {
    EXPECT_NEAR(crossHalfSize(pointHeader("4", 0, 50)), 2.0, 1e-9);
    EXPECT_NEAR(crossHalfSize(pointHeader("-10", 0, 50)), 2.5, 1e-9);
    EXPECT_NEAR(crossHalfSize(pointHeader("0", -50, 50)), 2.5, 1e-9);
    const Pairs activeView{{"0", "TABLE"}, {"2", "VPORT"}, {"0", "VPORT"}, {"2", "*Active"},
                           {"70", "0"},    {"40", "200"},  {"0", "ENDTAB"}};
    EXPECT_NEAR(crossHalfSize(pointHeader("-10", 1e20, -1e20), activeView), 10.0, 1e-9);
    EXPECT_NEAR(crossHalfSize(pointHeader("-3", 1e20, -1e20)), 1.5, 1e-9);
}

// A 2D polyline lies in the plane of its extrusion at the elevation of its own point; seen
// from above, a tilted plane at elevation 5 is shifted by the extrusion's XY times 5.
TEST(SceneConventions, PolylineElevationShiftsATiltedOutline) {
    const Pairs polyline{{"0", "POLYLINE"}, {"8", "0"},     {"66", "1"},     {"10", "0"},
                         {"20", "0"},       {"30", "5"},    {"70", "0"},     {"210", "0"},
                         {"220", "0.6"},    {"230", "0.8"}, {"0", "VERTEX"}, {"8", "0"},
                         {"10", "0"},       {"20", "0"},    {"30", "5"},     {"0", "VERTEX"},
                         {"8", "0"},        {"10", "1"},    {"20", "0"},     {"30", "5"},
                         {"0", "SEQEND"},   {"8", "0"}};
    const auto drawing = sceneDrawing(polyline);
    SceneBuilder builder(*drawing);
    const SceneEntry entry = entryOf(*drawing, builder);
    ASSERT_EQ(entry.shapes.size(), 1u);
    ASSERT_EQ(entry.shapes[0].points.size(), 2u);
    // The arbitrary axis of (0, 0.6, 0.8) is -X; its Y runs along (0, -0.8, 0.6).
    EXPECT_TRUE(near(entry.shapes[0].points[0], {0, 3}));
    EXPECT_TRUE(near(entry.shapes[0].points[1], {-1, 3}));
}

// The rows of this part of the picture that hold ink.
int inkRows(const QImage& image, int fromX, int toX) {
    int top = image.height(), bottom = -1;
    const QRgb background = ScenePainter::kBackground.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = fromX; x < toX; ++x)
            if (qGray(image.pixel(x, y)) > qGray(background) + 60) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom - top + 1;
}

// %%c shows as tall as a capital, not as a small circle at x-height.
TEST(SceneConventions, DiameterSignStandsAsTallAsACapital) {
    const Pairs texts{{"0", "TEXT"}, {"8", "0"},   {"10", "0"},   {"20", "0"},
                      {"40", "10"},  {"1", "%%c"}, {"0", "TEXT"}, {"8", "0"},
                      {"10", "20"},  {"20", "0"},  {"40", "10"},  {"1", "H"}};
    const auto drawing = sceneDrawing(texts);
    const QImage image = renderDrawing(*drawing, {QSize(400, 200), QRectF(-5, -5, 40, 20)});
    const int sign = inkRows(image, 0, 200), capital = inkRows(image, 200, 400);
    ASSERT_GT(capital, 20);
    EXPECT_GE(sign, capital * 0.95);
}

Pairs imageOf(const Pairs& clip) {
    Pairs pairs{{"0", "IMAGE"}, {"5", "A1"},   {"8", "0"},   {"10", "10"}, {"20", "0"},
                {"11", "0"},    {"21", "1"},   {"12", "-1"}, {"22", "0"},  {"13", "100"},
                {"23", "50"},   {"340", "B1"}, {"70", "7"}};
    pairs.insert(pairs.end(), clip.begin(), clip.end());
    return pairs;
}

// An IMAGE shows as the frame of its clip boundary, placed by its pixel vectors (here
// turned a quarter to the left: U runs along +Y), with the file's name inside
// (which needs the IMAGEDEF object; the comparison drawing image.dxf shows it).
TEST(SceneConventions, ImageShowsItsClipFrameAndFileName) {
    const auto whole = sceneDrawing(imageOf({}));
    SceneBuilder builder(*whole);
    const SceneEntry entry = entryOf(*whole, builder);
    ASSERT_EQ(entry.shapes.size(), 1u);
    ASSERT_EQ(entry.shapes[0].points.size(), 4u);
    // Pixel (-0.5, -0.5) is the upper left corner: 50 pixels along V (world -X) from the point.
    EXPECT_TRUE(near(entry.shapes[0].points[0], {-40, 0}));
    EXPECT_TRUE(near(entry.shapes[0].points[2], {10, 100}));
    EXPECT_TRUE(builder.notes().undrawnKinds.empty());

    const Pairs polygon{{"280", "1"},   {"71", "2"},    {"91", "3"},
                        {"14", "-0.5"}, {"24", "-0.5"}, {"14", "99.5"},
                        {"24", "-0.5"}, {"14", "-0.5"}, {"24", "49.5"}};
    const auto clipped = sceneDrawing(imageOf(polygon));
    SceneBuilder clippedBuilder(*clipped);
    const SceneEntry triangle = entryOf(*clipped, clippedBuilder);
    ASSERT_FALSE(triangle.shapes.empty());
    ASSERT_EQ(triangle.shapes[0].points.size(), 3u);
    EXPECT_TRUE(near(triangle.shapes[0].points[1], {-40, 100}));
    EXPECT_TRUE(near(triangle.shapes[0].points[2], {10, 0}));
}

} // namespace
} // namespace kalvex::drawing
