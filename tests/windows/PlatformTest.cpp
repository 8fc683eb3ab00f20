#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "textaids/WidthMapping.h"

namespace kalvex {
namespace {

WindowHandle handleOf(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

using PlatformWindowSystem = BackendTest;

TEST_F(PlatformWindowSystem, FindsTheCadWindowOnlyByItsExactTitle) {
    EXPECT_EQ(windows.findWindowByTitle("nanoCAD 5"), handleOf(server.mainWindow()));
    EXPECT_EQ(windows.findWindowByClass("TOrvikMainForm"), handleOf(tool));
    SetWindowTextW(server.mainWindow(), L"nanoCAD 5 - [Drawing1.dwg]");
    EXPECT_EQ(windows.findWindowByTitle("nanoCAD 5"), 0u);
}

TEST_F(PlatformWindowSystem, RestoresAMinimisedWindowAndSetsTheToolsState) {
    const WindowHandle cad = handleOf(server.mainWindow());
    ShowWindow(server.mainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(windows.isIconic(cad));
    windows.openIcon(cad);
    EXPECT_FALSE(windows.isIconic(cad));

    windows.setWindowState(handleOf(tool), WindowState::Minimised);
    EXPECT_TRUE(IsIconic(tool));
    windows.setWindowState(handleOf(tool), WindowState::Normal);
    EXPECT_FALSE(IsIconic(tool));
}

TEST_F(PlatformWindowSystem, HandsTheForegroundBetweenThreadsAndSwitchesTopmost) {
    const WindowHandle cad = handleOf(server.mainWindow());
    EXPECT_NE(windows.windowThreadId(cad), windows.windowThreadId(handleOf(tool)))
        << "the fake CAD's windows belong to a thread of their own";
    windows.setForegroundWindow(cad);
    EXPECT_EQ(windows.foregroundWindow(), cad);
    ReturnFocusToTool(link, handleOf(tool));
    expectToolInFront();

    windows.setTopmost(handleOf(tool), true);
    EXPECT_TRUE(GetWindowLongW(tool, GWL_EXSTYLE) & WS_EX_TOPMOST);
    windows.setTopmost(handleOf(tool), false);
    EXPECT_FALSE(GetWindowLongW(tool, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(PlatformWindowSystem, EscapeReachesTheWindowInFront) {
    windows.setForegroundWindow(handleOf(server.mainWindow()));
    windows.sendKey(kVirtualKeyEscape, false);
    windows.sendKey(kVirtualKeyEscape, true);
    EXPECT_TRUE(waitFor([this] { return server.cad().escapes > 0; }));
}

TEST_F(PlatformWindowSystem, MeasuresChildWindowsAndTreatsNoWindowAsNothing) {
    const WindowHandle document = handleOf(server.cad().documentWindow);
    const WindowHandle strip = windows.firstChild(document);
    EXPECT_EQ(strip, handleOf(server.stripWindow()));
    EXPECT_EQ(windows.nextSibling(strip), handleOf(server.areaWindow()));
    WindowRect area;
    ASSERT_TRUE(windows.windowRect(windows.nextSibling(strip), area));
    EXPECT_EQ(area.width(), 800);
    EXPECT_EQ(area.height(), 420);

    WindowRect untouched{1, 2, 3, 4};
    EXPECT_FALSE(windows.windowRect(0, untouched));
    EXPECT_EQ(untouched, (WindowRect{1, 2, 3, 4}));
    EXPECT_EQ(windows.firstChild(0), 0u);
    EXPECT_FALSE(windows.isIconic(0));
}

TEST_F(PlatformWindowSystem, DrawsLinesOntoTheScreen) {
    // What lies on the screen stays only until the windows under it repaint, and the fake CAD's
    // thread repaints when it likes: a read that a repaint overtook is drawn and read again.
    const PenColor red{255, 100, 100};
    COLORREF onLine = 0, onCorner = 0, offLine = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        waitFor([] { return true; }); // let pending paints of this thread happen first
        windows.drawScreenLines({{300, 300}, {340, 300}, {340, 340}}, 3, red);
        GdiFlush();
        HDC screen = GetDC(nullptr);
        onLine = GetPixel(screen, 320, 300);
        onCorner = GetPixel(screen, 340, 320);
        offLine = GetPixel(screen, 320, 320);
        ReleaseDC(nullptr, screen);
        if (onLine == RGB(255, 100, 100) && onCorner == RGB(255, 100, 100))
            break;
    }
    EXPECT_EQ(onLine, RGB(255, 100, 100));
    EXPECT_EQ(onCorner, RGB(255, 100, 100));
    EXPECT_NE(offLine, RGB(255, 100, 100));
}

TEST(PlatformMonitorScale, ComesFromShcoreOnceTheLibraryIsLoaded) {
    // A Qt program has Shcore.dll loaded by the time it reads the scale; this console program
    // loads it itself.
    ASSERT_NE(LoadLibraryW(L"Shcore.dll"), nullptr);
    const std::optional<int> percent = shcoreMonitorScalePercent();
    ASSERT_TRUE(percent.has_value());
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(*percent, dotsPerInch * 100 / 96);
    EXPECT_EQ(Win32WindowSystem().firstMonitorScalePercent(), *percent);
}

struct WidthCase {
    const char* name;
    const char16_t* half;
    const char16_t* full;
};

class PlatformWidthMapping : public testing::TestWithParam<WidthCase> {};

TEST_P(PlatformWidthMapping, MapsThroughTheSystemsLocaleMapping) {
    EXPECT_EQ(ToFullWidth(GetParam().half), GetParam().full);
    EXPECT_EQ(ToHalfWidth(GetParam().full), GetParam().half);
}

INSTANTIATE_TEST_SUITE_P(
    Platform, PlatformWidthMapping,
    testing::Values(WidthCase{"Ascii", u"TB-07 a~!", u"ＴＢ－０７\u3000ａ～！"},
                    WidthCase{"VoicedKana", u"ｶﾞｷﾞｸﾞﾊﾟﾝｳﾞｧｲｵﾘﾝ", u"ガギグパンヴァイオリン"},
                    WidthCase{"Punctuation", u"｡｢｣､･ｰ", u"。「」、・ー"},
                    WidthCase{"KanjiAndHiraganaStay", u"漢字ひらがな", u"漢字ひらがな"},
                    WidthCase{"Empty", u"", u""}),
    [](const testing::TestParamInfo<WidthCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace kalvex
