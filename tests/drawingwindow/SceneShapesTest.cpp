#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "drawingwindow/render/Geometry.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {
namespace {

using namespace test;

std::vector<SceneShape> shapesOf(const Pairs& entity, const Pairs& header = {},
                                 const Pairs& blocks = {}) {
    const auto drawing = sceneDrawing(entity, blocks, {}, header);
    SceneBuilder builder(*drawing);
    return entryOf(*drawing, builder).shapes;
}

QString runText(const MtextParagraph& paragraph) {
    QString text;
    for (const MtextRun& run : paragraph)
        text += run.stack.isNull() ? run.text : run.upper + run.stack + run.lower;
    return text;
}

TEST(Mtext, InlineCodesSplitRunsAndParagraphs) {
    MtextFormat base;
    base.height = 2;
    const auto paragraphs = parseMtext(
        QStringLiteral("A{\\H2x;\\C1;big}b\\PDia %%c5\\~x \\LU\\l \\S1/2;\\P\\U+2300\\{\\}\\\\"),
        base);
    ASSERT_EQ(paragraphs.size(), 3u);
    ASSERT_EQ(paragraphs[0].size(), 3u);
    EXPECT_EQ(paragraphs[0][1].text, QStringLiteral("big"));
    EXPECT_DOUBLE_EQ(paragraphs[0][1].format.height, 4.0);
    EXPECT_EQ(paragraphs[0][1].format.color, QColor(255, 0, 0));
    EXPECT_DOUBLE_EQ(paragraphs[0][2].format.height, 2.0); // the group ended
    EXPECT_FALSE(paragraphs[0][2].format.color.isValid());
    EXPECT_EQ(runText(paragraphs[1]), QString::fromUtf8("Dia \u23005\u00A0x U 1/2"));
    EXPECT_TRUE(paragraphs[1][1].format.underline);
    EXPECT_EQ(paragraphs[1].back().stack, QLatin1Char('/'));
    EXPECT_EQ(runText(paragraphs[2]), QString::fromUtf8("\u2300{}\\"));
}

TEST(Mtext, LinesWrapAtTheReferenceWidthAndHangFromTheAttachment) {
    MtextFormat base;
    const auto paragraphs = parseMtext(QStringLiteral("aaaa bbbb cccc"), base);
    MtextBox box;
    box.width = 8;      // about two words of four letters at height 1
    box.attachment = 9; // bottom right
    const auto shapes = layoutMtext(paragraphs, box, 1.0);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[1].text.text, QStringLiteral("cccc"));
    // The last line's baseline rests on the insertion point; the lines end at it (a text's
    // width is kept in single precision).
    EXPECT_NEAR(shapes[1].text.anchor.y(), 0.0, 1e-9);
    EXPECT_NEAR(shapes[1].text.anchor.x() + shapes[1].text.width, 0.0, 1e-5);
    EXPECT_GT(shapes[0].text.anchor.y(), 1.0);
}

// The rotation of an MTEXT (code 50) is in degrees; a direction vector wins over it.
TEST(Mtext, DirectionAndRotationTurnTheText) {
    const auto turned = shapesOf({{"0", "MTEXT"},
                                  {"8", "0"},
                                  {"10", "0"},
                                  {"20", "0"},
                                  {"40", "1"},
                                  {"1", "x"},
                                  {"50", "30"}});
    EXPECT_NEAR(turned[0].text.rotation, 30, 1e-9);
    const auto directed = shapesOf({{"0", "MTEXT"},
                                    {"8", "0"},
                                    {"10", "0"},
                                    {"20", "0"},
                                    {"40", "1"},
                                    {"1", "x"},
                                    {"11", "0"},
                                    {"21", "1"},
                                    {"50", "30"}});
    EXPECT_NEAR(directed[0].text.rotation, 90, 1e-9);
}

TEST(Text, GenerationFlagsObliqueAndStyleFont) {
    const Pairs styles{{"0", "TABLE"}, {"2", "STYLE"},        {"0", "STYLE"}, {"2", "JP"},
                       {"3", "txt"},   {"4", "extfont2.shx"}, {"0", "ENDTAB"}};
    const auto drawing = sceneDrawing({{"0", "TEXT"},
                                       {"8", "0"},
                                       {"10", "1"},
                                       {"20", "2"},
                                       {"40", "2"},
                                       {"1", "%%c10"},
                                       {"7", "JP"},
                                       {"41", "0.5"},
                                       {"51", "15"},
                                       {"71", "6"}},
                                      {}, styles);
    SceneBuilder builder(*drawing);
    const SceneText t = entryOf(*drawing, builder).shapes.at(0).text;
    EXPECT_EQ(t.text, QString::fromUtf8("\u2300"
                                        "10"));
    EXPECT_TRUE(t.backwards);
    EXPECT_TRUE(t.upsideDown);
    EXPECT_DOUBLE_EQ(t.oblique, 15);
    EXPECT_DOUBLE_EQ(t.widthFactor, 0.5);
    ASSERT_TRUE(t.family);
    EXPECT_EQ(*t.family, QStringLiteral("Noto Sans CJK JP"));
    // Backwards runs left of the insertion point, upside down hangs below it.
    const auto corners = textCorners(t);
    EXPECT_LT(corners[1].x(), 1.0);
    EXPECT_LT(corners[2].y(), 2.0);
}

// Invisible attributes and attribute definitions inside a reference are not drawn; a
// multi-line attribute is laid out from its embedded MTEXT.
TEST(Text, AttributesShowWhatTheCadShows) {
    const Pairs insert = joined({insertOf("B", 0, 0, {{"66", "1"}}),
                                 {{"0", "ATTRIB"},
                                  {"8", "0"},
                                  {"10", "0"},
                                  {"20", "0"},
                                  {"40", "1"},
                                  {"1", "hidden"},
                                  {"2", "H"},
                                  {"70", "1"}},
                                 {{"0", "ATTRIB"},
                                  {"8", "0"},
                                  {"10", "0"},
                                  {"20", "5"},
                                  {"40", "1"},
                                  {"1", "one"},
                                  {"2", "M"},
                                  {"70", "0"},
                                  {"101", "Embedded Object"},
                                  {"10", "0"},
                                  {"20", "5"},
                                  {"40", "1"},
                                  {"71", "1"},
                                  {"1", "one\\Ptwo"}},
                                 {{"0", "SEQEND"}, {"8", "0"}}});
    const Pairs block = {{"0", "ATTDEF"},  {"8", "0"}, {"10", "0"},     {"20", "0"}, {"40", "1"},
                         {"1", "default"}, {"2", "H"}, {"3", "prompt"}, {"70", "0"}};
    const auto shapes = shapesOf(insert, {}, blockOf("B", block));
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].text.text, QStringLiteral("one"));
    EXPECT_EQ(shapes[1].text.text, QStringLiteral("two"));
    EXPECT_LT(shapes[1].text.anchor.y(), shapes[0].text.anchor.y());
}

// A square with a square hole: the solid fill has both rings; the pattern's lines of
// slope 1 lie inside the outer ring and outside the hole.
TEST(Hatch, SolidRingsAndPatternLinesInsideTheBoundary) {
    auto square = [](double a, double b) {
        return Pairs{{"92", "2"},
                     {"72", "0"},
                     {"73", "1"},
                     {"93", "4"},
                     {"10", std::to_string(a)},
                     {"20", std::to_string(a)},
                     {"10", std::to_string(b)},
                     {"20", std::to_string(a)},
                     {"10", std::to_string(b)},
                     {"20", std::to_string(b)},
                     {"10", std::to_string(a)},
                     {"20", std::to_string(b)},
                     {"97", "0"}};
    };
    const Pairs head{{"0", "HATCH"}, {"8", "0"}, {"10", "0"}, {"20", "0"}, {"2", "P"}};
    const Pairs solid = joined({head, {{"70", "1"}, {"91", "2"}}, square(0, 10), square(4, 6)});
    const auto fill = shapesOf(solid);
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].kind, ShapeKind::Fill);
    EXPECT_EQ(fill[0].ringEnds.size(), 2u);
    const Pairs pattern = joined({head,
                                  {{"70", "0"}, {"91", "2"}},
                                  square(0, 10),
                                  square(4, 6),
                                  {{"75", "0"},
                                   {"76", "1"},
                                   {"52", "0"},
                                   {"41", "1"},
                                   {"77", "0"},
                                   {"78", "1"},
                                   {"53", "45"},
                                   {"43", "0"},
                                   {"44", "0"},
                                   {"45", "-1"},
                                   {"46", "1"},
                                   {"79", "0"}}});
    const auto lines = shapesOf(pattern);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_GT(lines[0].points.size(), 20u);
    for (std::size_t i = 0; i + 1 < lines[0].points.size(); i += 2) {
        const QPointF middle = (lines[0].points[i] + lines[0].points[i + 1]) / 2;
        EXPECT_TRUE(QRectF(0, 0, 10, 10).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(middle));
        EXPECT_FALSE(QRectF(4, 4, 2, 2).adjusted(1e-6, 1e-6, -1e-6, -1e-6).contains(middle));
    }
}

// Hatches and splines with counts that do not match their data, or none at all, draw what
// they can and never hang.
TEST(Hatch, DamagedCountsDrawWhatTheyCan) {
    const auto empty = shapesOf({{"0", "HATCH"},
                                 {"8", "0"},
                                 {"70", "1"},
                                 {"91", "99999999"},
                                 {"92", "1"},
                                 {"93", "99999999"},
                                 {"72", "4"},
                                 {"94", "3"},
                                 {"95", "99999999"},
                                 {"96", "2"}});
    EXPECT_TRUE(empty.empty());
    const auto spline = shapesOf({{"0", "SPLINE"},
                                  {"8", "0"},
                                  {"71", "3"},
                                  {"40", "5"},
                                  {"40", "1"},
                                  {"10", "0"},
                                  {"20", "0"},
                                  {"10", "1"},
                                  {"20", "1"},
                                  {"10", "2"},
                                  {"20", "0"}});
    ASSERT_EQ(spline.size(), 1u);
    EXPECT_TRUE(spline[0].points.front() == QPointF(0, 0));
}

TEST(Curves, SplinesKeepTheirEndsAndFitPoints) {
    const std::vector<QPointF> control{{0, 0}, {1, 2}, {3, 2}, {4, 0}};
    const auto curve = nurbsPoints(3, control, {0, 0, 0, 0, 1, 1, 1, 1}, {});
    EXPECT_TRUE(curve.front() == QPointF(0, 0));
    EXPECT_NEAR(curve.back().x(), 4, 1e-6);
    // A weight pulls the curve towards its control point.
    const auto heavy = nurbsPoints(2, {{0, 0}, {1, 1}, {2, 0}}, {0, 0, 0, 1, 1, 1}, {1, 5, 1});
    EXPECT_GT(heavy[heavy.size() / 2].y(), 0.8);
    const std::vector<QPointF> fit{{0, 0}, {1, 1}, {2, 0}, {3, 1}};
    const auto through = curveThrough(fit, false);
    for (const QPointF& p : fit)
        EXPECT_TRUE(std::any_of(through.begin(), through.end(), [&](QPointF q) {
            return std::hypot(p.x() - q.x(), p.y() - q.y()) < 1e-9;
        }));
}

// SOLID corners run 1, 2, 4, 3; a 3DFACE hides the edges its flags name; an ELLIPSE with a
// negative extrusion runs clockwise.
TEST(Curves, SolidsFacesAndEllipsesFollowTheirConventions) {
    const auto solid = shapesOf({{"0", "SOLID"},
                                 {"8", "0"},
                                 {"10", "0"},
                                 {"20", "0"},
                                 {"11", "1"},
                                 {"21", "0"},
                                 {"12", "0"},
                                 {"22", "1"},
                                 {"13", "1"},
                                 {"23", "1"}});
    EXPECT_EQ(solid[0].points, (std::vector<QPointF>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    const auto face = shapesOf({{"0", "3DFACE"},
                                {"8", "0"},
                                {"10", "0"},
                                {"20", "0"},
                                {"11", "1"},
                                {"21", "0"},
                                {"12", "1"},
                                {"22", "1"},
                                {"13", "0"},
                                {"23", "1"},
                                {"70", "5"}});
    EXPECT_EQ(face.size(), 2u);
    const auto ellipse = shapesOf({{"0", "ELLIPSE"},
                                   {"8", "0"},
                                   {"10", "0"},
                                   {"20", "0"},
                                   {"11", "2"},
                                   {"21", "0"},
                                   {"40", "0.5"},
                                   {"41", "0"},
                                   {"42", "1.5707963267948966"},
                                   {"230", "-1"}});
    EXPECT_NEAR(ellipse[0].points.back().x(), 0, 1e-9);
    EXPECT_NEAR(ellipse[0].points.back().y(), -1, 1e-9);
}

// A wide polyline keeps its width in drawing units; an MLINE draws one polyline per element
// along the miters; a MESH shows the edges of its faces.
TEST(Curves, WidePolylinesMultilinesAndMeshes) {
    const auto wide = shapesOf(insertOf("W", 0, 0, {{"41", "3"}, {"42", "3"}}), {},
                               blockOf("W", {{"0", "LWPOLYLINE"},
                                             {"8", "0"},
                                             {"90", "2"},
                                             {"43", "0.5"},
                                             {"10", "0"},
                                             {"20", "0"},
                                             {"10", "4"},
                                             {"20", "0"}}));
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_DOUBLE_EQ(wide[0].width, 1.5);
    const auto mline = shapesOf(
        {{"0", "MLINE"}, {"8", "0"},  {"71", "1"}, {"72", "2"},    {"73", "2"}, {"11", "0"},
         {"21", "0"},    {"12", "1"}, {"22", "0"}, {"13", "0"},    {"23", "1"}, {"74", "1"},
         {"41", "0.5"},  {"75", "0"}, {"74", "1"}, {"41", "-0.5"}, {"75", "0"}, {"11", "10"},
         {"21", "0"},    {"12", "1"}, {"22", "0"}, {"13", "0"},    {"23", "1"}, {"74", "1"},
         {"41", "0.5"},  {"75", "0"}, {"74", "1"}, {"41", "-0.5"}, {"75", "0"}});
    ASSERT_EQ(mline.size(), 2u);
    EXPECT_EQ(mline[0].points, (std::vector<QPointF>{{0, 0.5}, {10, 0.5}}));
    EXPECT_EQ(mline[1].points, (std::vector<QPointF>{{0, -0.5}, {10, -0.5}}));
    const auto mesh = shapesOf({{"0", "MESH"},
                                {"8", "0"},
                                {"92", "9"},
                                {"71", "2"},
                                {"72", "0"},
                                {"91", "0"},
                                {"92", "3"},
                                {"10", "0"},
                                {"20", "0"},
                                {"10", "1"},
                                {"20", "0"},
                                {"10", "0"},
                                {"20", "1"},
                                {"93", "4"},
                                {"90", "3"},
                                {"90", "0"},
                                {"90", "1"},
                                {"90", "2"}});
    ASSERT_EQ(mesh.size(), 1u);
    EXPECT_EQ(mesh[0].points, (std::vector<QPointF>{{0, 0}, {1, 0}, {0, 1}}));
}

TEST(Curves, BulgesAndWipeouts) {
    std::vector<QPointF> half{{0, 0}};
    appendBulge(half, {0, 0}, {2, 0}, 1.0); // a half circle below, running counter-clockwise
    EXPECT_NEAR(half[half.size() / 2].y(), -1, 1e-2);
    EXPECT_TRUE(half.back() == QPointF(2, 0));
    const auto wipeout = shapesOf({{"0", "WIPEOUT"},
                                   {"8", "0"},
                                   {"10", "10"},
                                   {"20", "20"},
                                   {"11", "4"},
                                   {"21", "0"},
                                   {"12", "0"},
                                   {"22", "2"},
                                   {"13", "1"},
                                   {"23", "1"},
                                   {"71", "1"},
                                   {"91", "2"},
                                   {"14", "-0.5"},
                                   {"24", "-0.5"},
                                   {"14", "0.5"},
                                   {"24", "0.5"}});
    ASSERT_EQ(wipeout.size(), 1u);
    EXPECT_EQ(wipeout[0].kind, ShapeKind::Background);
    EXPECT_EQ(shapeBounds(wipeout[0]).toRect(), QRect(10, 20, 4, 2));
}

} // namespace
} // namespace kalvex::drawing
