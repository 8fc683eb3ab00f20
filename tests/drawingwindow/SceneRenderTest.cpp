#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "drawingwindow/DrawingWindow.h"
#include "drawingwindow/ScenePainter.h"
#include "drawingwindow/SceneRender.h"
#include "support/FakePorts.h"

namespace kalvex::drawing {
namespace {

using namespace test;

const QRgb kBackground = ScenePainter::kBackground.rgb();

QImage render(const Pairs& entities, QRectF window, const Pairs& tables = {}) {
    return renderDrawing(*sceneDrawing(entities, {}, tables), {QSize(200, 100), window});
}

bool inkNear(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) != kBackground)
                return true;
    return false;
}

int inkAlongRow(const QImage& image, int y) {
    int ink = 0;
    for (int x = 0; x < image.width(); ++x)
        ink += image.pixel(x, y) != kBackground ? 1 : 0;
    return ink;
}

// The window is fitted into the picture, centred, aspect kept: a 20 × 10 window in a
// 200 × 100 picture is ten pixels per unit, Y up.
TEST(SceneRender, TheWindowIsFittedCentredWithYUp) {
    const QImage image = render(lineOf(0, 5, 20, 5, {{"62", "1"}}), QRectF(0, 0, 20, 10));
    EXPECT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(100, 50), QColor(255, 0, 0).rgb());
    EXPECT_EQ(image.pixel(100, 20), kBackground);
    const QImage extents =
        renderDrawing(*sceneDrawing(lineOf(0, 0, 10, 10)), {QSize(100, 100), {}});
    EXPECT_TRUE(inkNear(extents, 2, 97));
    EXPECT_TRUE(inkNear(extents, 97, 2));
    EXPECT_FALSE(inkNear(extents, 20, 20));
}

// A WIPEOUT drawn after a line hides the part of it that lies inside.
TEST(SceneRender, AWipeoutMasksWhatWasDrawnBefore) {
    const Pairs wipeout{{"0", "WIPEOUT"}, {"8", "0"},     {"10", "5"},   {"20", "0"},
                        {"11", "10"},     {"21", "0"},    {"12", "0"},   {"22", "10"},
                        {"13", "1"},      {"23", "1"},    {"71", "1"},   {"91", "2"},
                        {"14", "-0.5"},   {"24", "-0.5"}, {"14", "0.5"}, {"24", "0.5"}};
    const QImage image = render(joined({lineOf(0, 5, 20, 5), wipeout}), QRectF(0, 0, 20, 10));
    EXPECT_NE(image.pixel(20, 50), kBackground);
    EXPECT_EQ(image.pixel(100, 50), kBackground);
}

// A construction line crosses the whole picture; a ray only the side it points to.
TEST(SceneRender, RaysAndConstructionLinesAreClippedToTheView) {
    const Pairs xline{{"0", "XLINE"}, {"8", "0"},  {"10", "10"},
                      {"20", "5"},    {"11", "1"}, {"21", "0"}};
    EXPECT_GE(inkAlongRow(render(xline, QRectF(0, 0, 20, 10)), 50), 198);
    const Pairs ray{{"0", "RAY"}, {"8", "0"}, {"10", "10"}, {"20", "5"}, {"11", "1"}, {"21", "0"}};
    const int ink = inkAlongRow(render(ray, QRectF(0, 0, 20, 10)), 50);
    EXPECT_GE(ink, 98);
    EXPECT_LE(ink, 102);
}

// Dashes show as gaps along the line; a thick lineweight spreads over several rows.
TEST(SceneRender, LinetypesAndLineweightsShow) {
    const Pairs lineTypes{{"0", "TABLE"},  {"2", "LTYPE"}, {"0", "LTYPE"},
                          {"2", "DASHED"}, {"73", "2"},    {"40", "2"},
                          {"49", "1"},     {"49", "-1"},   {"0", "ENDTAB"}};
    const QImage dashed =
        render(lineOf(0, 5, 20, 5, {{"6", "DASHED"}}), QRectF(0, 0, 20, 10), lineTypes);
    EXPECT_GT(inkAlongRow(dashed, 50), 80);
    EXPECT_LT(inkAlongRow(dashed, 50), 120);
    const QImage thick = render(lineOf(0, 5, 20, 5, {{"370", "100"}}), QRectF(0, 0, 20, 10));
    EXPECT_GT(inkAlongRow(thick, 48), 150);
    EXPECT_GT(inkAlongRow(thick, 51), 150);
    EXPECT_EQ(inkAlongRow(render(lineOf(0, 5, 20, 5), QRectF(0, 0, 20, 10)), 51), 0);
}

TEST(SceneRender, SolidsAndHatchesAreFilled) {
    const Pairs solid{{"0", "SOLID"}, {"8", "0"},  {"62", "3"}, {"10", "2"},
                      {"20", "2"},    {"11", "8"}, {"21", "2"}, {"12", "2"},
                      {"22", "8"},    {"13", "8"}, {"23", "8"}};
    const QImage image = render(solid, QRectF(0, 0, 20, 10));
    EXPECT_EQ(image.pixel(50, 50), QColor(0, 255, 0).rgb());
}

// The window lists the kinds it does not draw and tells once of a block inserting itself.
TEST(SceneRender, TheWindowTellsWhatItDoesNotDraw) {
    testing::FakeMessagePort messages;
    DrawingWindow window(messages, QStringLiteral("CAD"));
    const Pairs self = joined({lineOf(0, 0, 1, 0), insertOf("SELF", 1, 1)});
    window.showDrawing(sceneDrawing(joined({insertOf("SELF", 0, 0),
                                            insertOf("SELF", 5, 0),
                                            {{"0", "3DSOLID"}, {"8", "0"}},
                                            {{"0", "OLE2FRAME"}, {"8", "0"}}}),
                                    blockOf("SELF", self)),
                       QString());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("\"SELF\"")));
    const auto* line = window.findChild<QLabel*>(QStringLiteral("UndrawnObjects"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), QStringLiteral("描画しないオブジェクト: 3DSOLID, OLE2FRAME"));
}

} // namespace
} // namespace kalvex::drawing
