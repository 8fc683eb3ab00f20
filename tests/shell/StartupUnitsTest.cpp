#include <QComboBox>
#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/TagListSelection.h"

namespace kalvex::testing {

TEST(CommandLineTest, ReadsTheOptionsAndRefusesWhatItDoesNotKnow) {
    struct Case {
        QStringList arguments;
        RunMode mode;
        QString screenshot;
        bool error;
    };
    const Case cases[] = {
        {{"kalvex"}, RunMode::Normal, {}, false},
        {{"kalvex", "--version"}, RunMode::PrintVersion, {}, false},
        {{"kalvex", "--screenshot", "/tmp/a.png"}, RunMode::Normal, "/tmp/a.png", false},
        {{"kalvex", "--screenshot"}, RunMode::Normal, {}, true},
        {{"kalvex", "--screenshot", ""}, RunMode::Normal, {}, true},
        {{"kalvex", "--verbose"}, RunMode::Normal, {}, true},
        {{"kalvex", "drawing.dxf"}, RunMode::Normal, {}, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.arguments.join(' ').toStdString());
        const CommandLine parsed = parseCommandLine(test.arguments);
        EXPECT_EQ(parsed.mode, test.mode);
        EXPECT_EQ(parsed.screenshotFile, test.screenshot);
        EXPECT_EQ(!parsed.error.isEmpty(), test.error);
    }
}

TEST(CommandLineTest, RenderTakesADrawingAPictureASizeAndAWindow) {
    const CommandLine full = parseCommandLine(
        {"kalvex", "--render", "a.dxf", "a.png", "--size", "640x480", "--window", "10,20,-10,0"});
    EXPECT_EQ(full.mode, RunMode::Render);
    EXPECT_TRUE(full.error.isEmpty());
    EXPECT_EQ(full.renderDrawing, QStringLiteral("a.dxf"));
    EXPECT_EQ(full.renderImage, QStringLiteral("a.png"));
    EXPECT_EQ(full.renderSize, QSize(640, 480));
    EXPECT_EQ(full.renderWindow, QRectF(-10, 0, 20, 20));
    EXPECT_EQ(parseCommandLine({"kalvex", "--render", "a.dxf", "a.png"}).renderSize,
              QSize(1000, 750));
    const QStringList refused[] = {
        {"kalvex", "--render", "a.dxf"},
        {"kalvex", "--render", "a.dxf", "a.png", "--size", "640"},
        {"kalvex", "--render", "a.dxf", "a.png", "--size", "0x10"},
        {"kalvex", "--render", "a.dxf", "a.png", "--window", "1,2,3"},
        {"kalvex", "--render", "a.dxf", "a.png", "--window", "1,2,nan,4"},
        {"kalvex", "--size", "640x480"},
    };
    for (const QStringList& arguments : refused)
        EXPECT_FALSE(parseCommandLine(arguments).error.isEmpty())
            << arguments.join(' ').toStdString();
}

TEST(TagListSelectionTest, StoredIndexIsSelectedWhenTheListIsLongEnough) {
    struct Case {
        int items;
        int stored;
        int selected;
    };
    const Case cases[] = {
        {5, 0, 0},   {5, 3, 3},   {5, 4, 4},  {5, 5, 0},  {5, 40, 0},
        {5, -1, -1}, {5, -7, -1}, {0, 0, -1}, {0, 2, -1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(::testing::Message() << test.items << " items, stored " << test.stored);
        QComboBox list;
        for (int item = 0; item < test.items; ++item)
            list.addItem(QString::number(item));
        list.setCurrentIndex(test.items > 1 ? 1 : -1);
        selectStoredIndex(list, test.stored);
        EXPECT_EQ(list.currentIndex(), test.selected);
    }
}

} // namespace kalvex::testing
