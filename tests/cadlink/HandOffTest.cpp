#include <gtest/gtest.h>

#include "cadlink/Connection.h"
#include "cadlink/HandOff.h"
#include "cadlink/MessageFilter.h"
#include "platform/DialogOnTop.h"
#include "support/FakeWindowSystem.h"

namespace kalvex {
namespace {

using testing::FakeWindowSystem;
using Calls = std::vector<std::string>;

constexpr WindowHandle kTool = 1;
constexpr WindowHandle kCad = 2;
constexpr WindowHandle kOther = 3;

// Only the application window is needed for the hand-off; the document is never reached.
class WindowOnlyApplication : public cad::Application {
public:
    WindowHandle Hwnd() override { return kCad; }
    cad::DocumentPtr ActiveDocument() override { throw cad::CadError("no document"); }
    void ZoomWindow(const cad::CadPoint&, const cad::CadPoint&) override {}
};

class HandOffTest : public ::testing::Test {
protected:
    FakeWindowSystem fake;
    CadLink link{fake, fake, [] { return std::make_shared<WindowOnlyApplication>(); }, kTool};

    void SetUp() override {
        fake.addWindow(
            kTool,
            {.title = "Kalvex 2.3C [ nanoCAD 5 ]", .className = "TOrvikMainForm", .thread = 1});
        fake.addWindow(kCad, {.title = "nanoCAD 5", .iconic = true, .thread = 2});
        fake.addWindow(kOther, {.title = "Notes", .thread = 3});
        fake.foreground = kTool;
    }

    // Runs an operation with an empty body and returns what it did before and after the work.
    std::pair<Calls, Calls> run(CadOperation operation) {
        fake.calls.clear();
        CadSession session(link, operation);
        Calls before = fake.calls;
        fake.calls.clear();
        session.finish();
        return {before, fake.calls};
    }
};

const Calls kRestoreCad = {"openIcon 2", "wait 100"};
const Calls kActivate = {"setForeground 2"};
const Calls kEscape = {"sendKey 27 down", "sendKey 27 up", "wait 5"};
// The tool's thread differs from the CAD's, so the tool attaches to take the foreground.
const Calls kReturnFromCad = {"setForeground 1", "attach 1 2", "bringToTop 1", "detach 1 2"};

Calls concat(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(HandOffTest, EachOperationPerformsItsRowOfTheTable) {
    struct Row {
        CadOperation operation;
        Calls before;
        Calls after;
    };
    const std::vector<Row> table = {
        {CadOperation::Fetch, concat({kRestoreCad, {"minimise 1"}, kActivate, kEscape}),
         concat({{"normal 1"}, kReturnFromCad})},
        {CadOperation::Search, concat({kRestoreCad, kActivate, kEscape}),
         concat({kActivate, kEscape, kReturnFromCad})},
        {CadOperation::GridUpdateOrAlign, concat({kRestoreCad, kActivate, kEscape}), {}},
        {CadOperation::TextUpdate, concat({kRestoreCad, kActivate}), {}},
        {CadOperation::SearchResultUpdate, kRestoreCad, {}},
        {CadOperation::Quiet, {}, {}},
    };
    for (const Row& row : table) {
        SetUp();
        auto [before, after] = run(row.operation);
        EXPECT_EQ(before, row.before) << "operation " << static_cast<int>(row.operation);
        EXPECT_EQ(after, row.after) << "operation " << static_cast<int>(row.operation);
    }
}

TEST_F(HandOffTest, CadWindowThatIsNotMinimisedIsNotRestored) {
    fake.windows[kCad].iconic = false;
    auto [before, after] = run(CadOperation::TextUpdate);
    EXPECT_EQ(before, kActivate);
}

TEST_F(HandOffTest, NoEscapeWhenAnotherWindowTookTheForeground) {
    fake.afterSetForeground = [this] {
        if (fake.foreground == kCad)
            fake.foreground = kOther;
    };
    auto [before, after] = run(CadOperation::GridUpdateOrAlign);
    EXPECT_EQ(before, concat({kRestoreCad, kActivate}));
}

TEST_F(HandOffTest, WithoutCadTheToolStillComesBackInItsNormalState) {
    fake.windows.erase(kCad);
    auto [before, after] = run(CadOperation::Fetch);
    EXPECT_TRUE(before.empty());
    // The tool is itself in front: same thread, so no input attachment.
    EXPECT_EQ(after, (Calls{"normal 1", "setForeground 1", "bringToTop 1"}));

    auto [searchBefore, searchAfter] = run(CadOperation::Search);
    EXPECT_TRUE(searchBefore.empty());
    EXPECT_EQ(searchAfter, (Calls{"setForeground 1", "bringToTop 1"}));
}

TEST_F(HandOffTest, ConnectCadNeedsAWindowWithExactlyTheCadTitle) {
    cad::ApplicationPtr app;
    fake.windows[kCad].title = "nanoCAD 5 - [plant.dxf]";
    EXPECT_FALSE(ConnectCad(link, app));
    fake.windows[kCad].title = "NANOCAD 5";
    EXPECT_FALSE(ConnectCad(link, app));
    fake.windows[kCad].title = "nanoCAD 5";
    EXPECT_TRUE(ConnectCad(link, app));
    EXPECT_NE(app, nullptr);
}

TEST_F(HandOffTest, ConnectCadWithoutWindowLeavesTheReferenceUntouched) {
    fake.windows.erase(kCad);
    auto previous = std::make_shared<WindowOnlyApplication>();
    cad::ApplicationPtr app = previous;
    EXPECT_FALSE(ConnectCad(link, app));
    EXPECT_EQ(app, previous);
}

TEST_F(HandOffTest, ConnectCadSwallowsAFailedCreationAndClearsTheReference) {
    link.createApplication = []() -> cad::ApplicationPtr {
        throw cad::CadError("class not registered");
    };
    cad::ApplicationPtr app = std::make_shared<WindowOnlyApplication>();
    EXPECT_FALSE(ConnectCad(link, app));
    EXPECT_EQ(app, nullptr);

    CadSession session(link, CadOperation::Fetch);
    EXPECT_FALSE(session.connected());
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(HandOffTest, AnErrorInTheWorkSkipsTheStepsAfterIt) {
    try {
        CadSession session(link, CadOperation::Fetch);
        fake.calls.clear();
        session.document(); // the document call fails
        session.finish();
    } catch (const cad::CadError&) {
    }
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(fake.windows[kTool].state, WindowState::Minimised);
}

TEST_F(HandOffTest, DialogIsShownAboveTheTopmostMainWindow) {
    constexpr WindowHandle kDialog = 9;
    int result = ShowDialogOnTop(fake, kTool, kDialog, [this] {
        fake.calls.push_back("exec");
        return 1;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(fake.calls,
              (Calls{"notTopmost 1", "topmost 9", "exec", "notTopmost 9", "topmost 1"}));

    fake.calls.clear();
    EXPECT_THROW(
        ShowDialogOnTop(fake, kTool, kDialog, []() -> int { throw std::runtime_error("x"); }),
        std::runtime_error);
    EXPECT_EQ(fake.calls, (Calls{"notTopmost 1", "topmost 9", "notTopmost 9", "topmost 1"}));
}

TEST_F(HandOffTest, MonitorScaleComesFromTheFirstMonitor) {
    fake.scalePercent = 150;
    EXPECT_EQ(ReadMonitorScale(fake), 150);
}

TEST(MessageFilterTest, AnswersAndRegistration) {
    TMessageFilter filter;
    EXPECT_EQ(filter.HandleInComingCall(0, 0), 0u);
    EXPECT_EQ(filter.RetryRejectedCall(0, 2), 1000);
    EXPECT_EQ(filter.RetryRejectedCall(0, 1), -1);
    EXPECT_EQ(filter.MessagePending(0, 0), 1u);

    TMessageFilter earlier;
    installMessageFilter(&earlier);
    filter.RegisterFilter();
    EXPECT_EQ(currentMessageFilter(), &filter);
    filter.RevokeFilter();
    EXPECT_EQ(currentMessageFilter(), &earlier);
    installMessageFilter(nullptr);
}

} // namespace
} // namespace kalvex
