#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "drawingwindow/render/MtextColumns.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {
namespace {

using namespace test;

std::vector<SceneShape> laidOut(const QString& content, const MtextBox& box) {
    MtextFormat base;
    base.height = 1;
    return layoutMtext(parseMtext(content, base), box, 1.0);
}

struct SoftBreakCase {
    const char* content;
    double width;
    std::vector<const char*> lines; // the texts drawn, one per line
};

// A run of blanks where a line wraps is dropped: no line of blanks, no blanks opening the
// next line, none left at the end of the line before. Hard breaks and the blanks a
// paragraph starts with stay.
TEST(MtextFlow, BlanksAtASoftBreakAreSwallowed) {
    const std::vector<SoftBreakCase> cases = {
        {"A            B", 4, {"A", "B"}},
        {"aaaa     bbbb cc", 5, {"aaaa", "bbbb cc"}},
        {"\u914d\u7ba1  \u5f01\u985e        \u8a08\u88c5",
         4,
         {"\u914d\u7ba1", "\u5f01\u985e", "\u8a08\u88c5"}},
        {"   lead\\P   kept", 20, {"   lead", "   kept"}},
        {"A  \\P  B", 20, {"A  ", "  B"}},
    };
    for (const SoftBreakCase& c : cases) {
        MtextBox box;
        box.width = c.width;
        const auto shapes = laidOut(QString::fromUtf8(c.content), box);
        ASSERT_EQ(shapes.size(), c.lines.size()) << c.content;
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            EXPECT_EQ(shapes[i].text.text, QString::fromUtf8(c.lines[i])) << c.content;
            EXPECT_NEAR(shapes[i].text.anchor.x(), 0.0, 1e-9) << c.content;
            if (i == 0)
                continue;
            // One line advance apart: no blank line in between.
            EXPECT_NEAR(shapes[i - 1].text.anchor.y() - shapes[i].text.anchor.y(), 5.0 / 3, 1e-9)
                << c.content;
        }
    }
}

// A right-attached line ends at the insertion point with its last letter, not its blanks.
TEST(MtextFlow, ALineEndsWithItsInkWhenItWraps) {
    MtextBox box;
    box.width = 5;
    box.attachment = 3;
    const auto shapes = laidOut(QStringLiteral("aaaa      bbbb"), box);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_NEAR(shapes[0].text.anchor.x() + shapes[0].text.width, 0.0, 1e-5);
    EXPECT_NEAR(shapes[0].text.width, shapes[1].text.width, 1e-5);
}

// Lines flow into the next column when they would pass the column's height; each column
// starts at the top, a column's width plus the gutter right of the one before.
TEST(MtextFlow, DynamicColumnsFlowAtTheirHeights) {
    MtextBox box;
    box.columns.count = 3;
    box.columns.width = 10;
    box.columns.gutter = 2;
    box.columns.flow = true;
    box.columns.height = 4; // baselines at -1 and -2.67 fit, -4.33 does not
    QString content;
    for (int i = 0; i < 6; ++i)
        content += QStringLiteral("line\\P");
    content.chop(2);
    const auto shapes = laidOut(content, box);
    ASSERT_EQ(shapes.size(), 6u);
    const std::vector<double> xs = {0, 0, 12, 12, 24, 24};
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_NEAR(shapes[i].text.anchor.x(), xs[i], 1e-9) << i;
        EXPECT_NEAR(shapes[i].text.anchor.y(), i % 2 == 0 ? -1.0 : -1.0 - 5.0 / 3, 1e-9) << i;
    }
    // Per-column heights: the first takes one line, the second the rest.
    box.columns.heights = {2, 100};
    const auto uneven = laidOut(content, box);
    EXPECT_NEAR(uneven[0].text.anchor.x(), 0.0, 1e-9);
    for (std::size_t i = 1; i < uneven.size(); ++i)
        EXPECT_NEAR(uneven[i].text.anchor.x(), 12.0, 1e-9) << i;
}

// Words wrap at the column width, not at the MTEXT's reference width.
TEST(MtextFlow, ColumnsWrapAtTheirWidth) {
    MtextBox box;
    box.width = 100;
    box.columns.count = 2;
    box.columns.width = 4;
    box.columns.flow = true;
    box.columns.height = 100;
    const auto shapes = laidOut(QStringLiteral("aaaa bbbb"), box);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_NEAR(shapes[0].text.anchor.x(), shapes[1].text.anchor.x(), 1e-9);
}

Pairs mtextWithColumns(const std::string& content, const Pairs& embedded) {
    Pairs pairs{{"0", "MTEXT"}, {"8", "0"},  {"100", "AcDbEntity"}, {"100", "AcDbMText"},
                {"10", "0"},    {"20", "0"}, {"40", "1"},           {"41", "10"},
                {"46", "30"},   {"71", "1"}, {"1", content},        {"101", "Embedded Object"}};
    pairs.insert(pairs.end(), embedded.begin(), embedded.end());
    return pairs;
}

// Both stores of the column settings: the embedded object of newer files and the extended
// data of older ones. Static columns start at the column breaks (\N).
TEST(MtextFlow, ColumnSettingsComeFromTheEmbeddedObjectOrExtendedData) {
    const Pairs embedded{{"70", "1"},  {"10", "1"},  {"20", "0"}, {"11", "0"},  {"21", "0"},
                         {"40", "10"}, {"41", "30"}, {"71", "1"}, {"72", "3"},  {"44", "10"},
                         {"45", "5"},  {"73", "0"},  {"74", "0"}, {"46", "12"}, {"46", "20"}};
    const auto drawing = sceneDrawing(mtextWithColumns("one\\Ntwo\\Nthree", embedded));
    const MtextColumns columns = mtextColumnsOf(*drawing, drawing->modelSpace().at(0), 30);
    EXPECT_EQ(columns.count, 3u);
    EXPECT_FALSE(columns.flow);
    EXPECT_DOUBLE_EQ(columns.width, 10);
    EXPECT_DOUBLE_EQ(columns.gutter, 5);
    EXPECT_EQ(columns.heights, (std::vector<double>{12, 20}));
    SceneBuilder builder(*drawing);
    const auto shapes = entryOf(*drawing, builder).shapes;
    ASSERT_EQ(shapes.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(shapes[i].text.anchor.x(), 15.0 * i, 1e-9);
        EXPECT_NEAR(shapes[i].text.anchor.y(), -1.0, 1e-9);
    }

    const Pairs xdata{{"0", "MTEXT"}, {"8", "0"},       {"10", "0"},
                      {"20", "0"},    {"40", "1"},      {"46", "30"},
                      {"1", "text"},  {"1001", "ACAD"}, {"1000", "ACAD_MTEXT_COLUMN_INFO_BEGIN"},
                      {"1070", "75"}, {"1070", "2"},    {"1070", "79"},
                      {"1070", "0"},  {"1070", "76"},   {"1070", "2"},
                      {"1070", "48"}, {"1040", "20"},   {"1070", "49"},
                      {"1040", "4"},  {"1070", "50"},   {"1070", "2"},
                      {"1040", "7"},  {"1040", "9"},    {"1000", "ACAD_MTEXT_COLUMN_INFO_END"}};
    const auto old = sceneDrawing(xdata);
    const MtextColumns flowing = mtextColumnsOf(*old, old->modelSpace().at(0), 30);
    EXPECT_EQ(flowing.count, 2u);
    EXPECT_TRUE(flowing.flow);
    EXPECT_DOUBLE_EQ(flowing.width, 20);
    EXPECT_DOUBLE_EQ(flowing.gutter, 4);
    EXPECT_EQ(flowing.heights, (std::vector<double>{7, 9}));
    EXPECT_EQ(mtextColumnsOf(*drawing, drawing->modelSpace().at(0), 30).height, 30);
}

TEST(MtextFlow, ColumnBreaksSplitButEscapedBackslashesDoNot) {
    EXPECT_EQ(splitAtColumnBreaks(QStringLiteral("a\\Nb\\\\Nc\\Pd")),
              (std::vector<QString>{QStringLiteral("a"), QStringLiteral("b\\\\Nc\\Pd")}));
}

} // namespace
} // namespace kalvex::drawing
