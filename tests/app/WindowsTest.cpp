#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>

#include "app/DrawingWindowSettings.h"
#include "app/WindowPair.h"
#include "app/WindowPlacement.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/DrawingWindow.h"
#include "shell/IniFile.h"
#include "support/FakePorts.h"

namespace kalvex::testing {
namespace {

QRect centredTool(const QRect& screen, const QSize& tool) {
    return QRect(screen.left() + (screen.width() - tool.width()) / 2,
                 screen.top() + (screen.height() - tool.height()) / 2, tool.width(), tool.height());
}

// On a first start the tool is centred; the drawing window must fit beside it.
TEST(WindowPlacement, TheDrawingWindowGoesBesideTheToolWithinTheScreen) {
    struct Case {
        const char* what;
        QRect screen;
        QRect tool;
    };
    const QSize tool(332, 341);
    const QSize scaledTool(332, 334); // 497 x 501 device pixels at 1.5
    const Case cases[] = {
        {"1366x768", QRect(0, 0, 1366, 768), centredTool(QRect(0, 0, 1366, 768), tool)},
        {"1920x1080", QRect(0, 0, 1920, 1080), centredTool(QRect(0, 0, 1920, 1080), tool)},
        {"1920x1080 at 1.5", QRect(0, 0, 1280, 720),
         centredTool(QRect(0, 0, 1280, 720), scaledTool)},
        {"1366x768 at 1.5", QRect(0, 0, 910, 512), centredTool(QRect(0, 0, 910, 512), scaledTool)},
        {"panel on top", QRect(0, 30, 1366, 738), centredTool(QRect(0, 30, 1366, 738), tool)},
        {"tool at the left edge", QRect(0, 0, 1366, 768), QRect(0, 100, 332, 341)},
        {"tool at the right edge", QRect(0, 0, 1366, 768), QRect(1034, 100, 332, 341)},
        {"second screen", QRect(1920, 0, 1366, 768), QRect(1940, 100, 332, 341)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect frame = frameBesideTool(c.screen, c.tool);
        EXPECT_TRUE(c.screen.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        EXPECT_FALSE(frame.intersects(c.tool));
        EXPECT_EQ(frame.height(), c.screen.height());
        // All of the wider side, less the gap to the tool.
        const int roomLeft = c.tool.left() - c.screen.left();
        const int roomRight = c.screen.right() - c.tool.right();
        EXPECT_GE(frame.width(), std::max(roomLeft, roomRight) - 8);
        EXPECT_TRUE(roomRight >= roomLeft ? frame.right() == c.screen.right()
                                          : frame.left() == c.screen.left());
    }
    // A large screen: still the whole side, not a size of the window's own.
    EXPECT_EQ(frameBesideTool(QRect(0, 0, 2560, 1440), QRect(0, 0, 332, 341)),
              QRect(340, 0, 2220, 1440));
}

TEST(WindowPlacement, ARememberedFrameIsKeptWithinTheScreen) {
    const QRect screen(0, 0, 1366, 768);
    struct Case {
        QRect remembered;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(100, 50, 800, 600), QRect(100, 50, 800, 600)},    // as it was
        {QRect(1200, 700, 800, 600), QRect(566, 168, 800, 600)}, // moved back in
        {QRect(-300, -40, 800, 600), QRect(0, 0, 800, 600)},     // off the top left
        {QRect(2000, 0, 1920, 1080), QRect(0, 0, 1366, 768)},    // a larger screen's
    };
    for (const Case& c : cases)
        EXPECT_EQ(frameWithinScreen(screen, c.remembered), c.expected);
}

TEST(DrawingWindowSettings, FrameAndDrawingSurviveAStartInTheirOwnSection) {
    IniFile file;
    file.setValue(QStringLiteral("OrvikEdit"), QStringLiteral("Left"), QStringLiteral("12"));
    EXPECT_FALSE(readDrawingWindowSettings(file).frame.has_value());
    writeDrawingWindowSettings(file, {QRect(5, 6, 700, 500), QStringLiteral("/d/盤.dxf")});
    const DrawingWindowSettings read = readDrawingWindowSettings(file);
    EXPECT_EQ(read.frame, QRect(5, 6, 700, 500));
    EXPECT_EQ(read.drawing, QStringLiteral("/d/盤.dxf"));
    EXPECT_FALSE(read.layerPanelWidth.has_value());
    writeDrawingWindowSettings(file, {QRect(5, 6, 700, 500), QStringLiteral("/d/盤.dxf"), 260});
    EXPECT_EQ(readDrawingWindowSettings(file).layerPanelWidth, 260);
    EXPECT_EQ(file.value(QStringLiteral("OrvikEdit"), QStringLiteral("Left")),
              QStringLiteral("12"));
    file.setValue(QStringLiteral("DrawingWindow"), QStringLiteral("Width"), QStringLiteral("x"));
    EXPECT_FALSE(readDrawingWindowSettings(file).frame.has_value());
}

// A tool and a drawing window with one unsaved change, as the program puts them together.
class WindowPairTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString settings = dir.filePath(QStringLiteral("kalvex.ini"));
    QString drawingPath = dir.filePath(QStringLiteral("a.dxf"));
    FakeMessagePort messages;
    QMainWindow tool;
    drawing::DrawingWindow drawingWindow{messages, QStringLiteral("CAD")};
    WindowPair pair{tool, drawingWindow, settings};

    void SetUp() override {
        QFile file(drawingPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  5\nA1\n  8\n0\n 10\n0\n 20\n0\n"
                   " 40\n1\n  1\nP-1\n  0\nENDSEC\n  0\nEOF\n");
        file.close();
        ASSERT_TRUE(drawingWindow.openFile(drawingPath));
        tool.show();
        drawingWindow.show();
        cad::entityAs<cad::Text>(
            drawingWindow.model()->application()->ActiveDocument()->HandleToObject("A1"))
            ->SetTextString("P-2");
    }
};

TEST_F(WindowPairTest, ClosingTheToolClosesTheDrawingWindowAfterItsQuestion) {
    messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(tool.close());
    EXPECT_TRUE(tool.isVisible());
    EXPECT_TRUE(drawingWindow.isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);

    messages.answers = {MessageAnswer::No};
    EXPECT_TRUE(tool.close());
    EXPECT_FALSE(tool.isVisible());
    EXPECT_FALSE(drawingWindow.isVisible());
    const DrawingWindowSettings saved = readDrawingWindowSettings(IniFile::load(settings));
    EXPECT_EQ(saved.drawing, drawingPath);
    EXPECT_TRUE(saved.frame.has_value());
}

// The user widens the layer panel to read long layer names; the next start finds it as wide.
TEST_F(WindowPairTest, TheLayerPanelKeepsTheWidthTheUserGaveIt) {
    drawingWindow.resize(1000, 600);
    drawingWindow.setLayerPanelWidth(320);
    QCoreApplication::processEvents();
    const int widened = drawingWindow.layerPanelWidth();
    EXPECT_NEAR(widened, 320, 4);
    messages.answers = {MessageAnswer::No};
    EXPECT_TRUE(tool.close());
    EXPECT_EQ(readDrawingWindowSettings(IniFile::load(settings)).layerPanelWidth, widened);

    drawing::DrawingWindow next{messages, QStringLiteral("CAD")};
    next.resize(1000, 600);
    next.show();
    next.setLayerPanelWidth(widened);
    QCoreApplication::processEvents();
    EXPECT_EQ(next.layerPanelWidth(), widened);
}

TEST_F(WindowPairTest, ClosingTheDrawingWindowTakesTheToolAlong) {
    messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(drawingWindow.close());
    QCoreApplication::processEvents();
    EXPECT_TRUE(tool.isVisible());

    messages.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(drawingWindow.close());
    QCoreApplication::processEvents();
    EXPECT_FALSE(tool.isVisible());
    EXPECT_EQ(messages.shown.size(), 2u);
    const auto saved = drawing::loadDxf(drawingPath.toStdString());
    EXPECT_NE(saved->serialize().find("P-2"), std::string::npos);
}

} // namespace
} // namespace kalvex::testing

namespace kalvex::testing {
namespace {

// A new user tells the attribute grid's columns apart by the prompts of the sample drawing.
TEST(SampleDrawing, EveryAttributeDefinitionHasAPrompt) {
    const auto model =
        drawing::CadModel::create(drawing::loadDxf(KALVEX_SOURCE_DIR "/samples/plant.dxf"));
    const auto blocks = model->application()->ActiveDocument()->GetBlocks();
    int definitions = 0;
    for (int b = 0; b < blocks->Count(); ++b) {
        const auto block = blocks->Item(b);
        for (int i = 0; i < block->Count(); ++i) {
            const auto item = block->Item(i);
            if (item->EntityName() != "AcDbAttributeDefinition")
                continue;
            ++definitions;
            EXPECT_FALSE(item->PromptString().empty()) << block->Name() << " " << item->TagString();
        }
    }
    EXPECT_GT(definitions, 40);
}

} // namespace
} // namespace kalvex::testing
