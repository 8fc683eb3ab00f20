#include <gtest/gtest.h>

#include "cadlink/FollowView.h"
#include "support/FakeWindowSystem.h"

namespace kalvex {
namespace {

using testing::FakeWindowSystem;

constexpr WindowHandle kDocument = 20;
constexpr WindowHandle kStrip = 21;
constexpr WindowHandle kFrame = 22;

// A document that reports a view height and its window, and nothing else.
class ViewDocument : public cad::Document {
public:
    double viewSize = 100.0;
    bool failVariable = false;

    std::shared_ptr<cad::Layers> GetLayers() override { return nullptr; }
    std::shared_ptr<cad::SelectionSets> GetSelectionSets() override { return nullptr; }
    std::shared_ptr<cad::Blocks> GetBlocks() override { return nullptr; }
    cad::EntityPtr HandleToObject(const std::string&) override { return nullptr; }
    double GetVariable(const std::string& name) override {
        if (failVariable || name != "VIEWSIZE")
            throw cad::CadError("no such variable");
        return viewSize;
    }
    WindowHandle Hwnd() override { return kDocument; }
    void Regen(int) override {}
    void StartUndoMark() override {}
};

// Records the zoom windows asked for.
class ZoomRecorder : public cad::Application {
public:
    std::shared_ptr<ViewDocument> document = std::make_shared<ViewDocument>();
    std::vector<std::pair<cad::CadPoint, cad::CadPoint>> zooms;

    WindowHandle Hwnd() override { return 2; }
    cad::DocumentPtr ActiveDocument() override { return document; }
    void ZoomWindow(const cad::CadPoint& a, const cad::CadPoint& b) override {
        zooms.emplace_back(a, b);
    }
};

class FollowViewTest : public ::testing::Test {
protected:
    FakeWindowSystem fake;
    CadLink link{fake, fake, nullptr, 1};
    ZoomRecorder cad;

    // A strip of the given height above a frame that holds the drawing area and a strip below.
    void layOut(int width, int areaHeight, int stripHeight = 24) {
        fake.windows.clear();
        fake.addWindow(kDocument, {});
        fake.addChild(kDocument, kStrip, {100, 50, 100 + width, 50 + stripHeight});
        const int top = 50 + stripHeight;
        fake.addChild(kDocument, kFrame, {100, top, 100 + width, top + areaHeight + stripHeight});
    }

    std::vector<std::string> markerCalls() const {
        std::vector<std::string> lines;
        for (const auto& call : fake.calls)
            if (call.rfind("lines", 0) == 0)
                lines.push_back(call);
        return lines;
    }
};

TEST_F(FollowViewTest, CentresThePointAtTheCurrentViewHeight) {
    layOut(800, 400);
    FollowView(link, cad, cad::CadPoint(1000, 500), 3, 0.05);
    ASSERT_EQ(cad.zooms.size(), 1u);
    EXPECT_EQ(cad.zooms[0].first, cad::CadPoint(910, 450, 0));
    EXPECT_EQ(cad.zooms[0].second, cad::CadPoint(1090, 550, 0));
    // The area's centre is (500, 274); the base lies 40 px left, 20 px either side.
    EXPECT_EQ(markerCalls(), std::vector<std::string>{
                                 "lines width 3 rgb 255,100,100: 500,274 460,254 460,294 500,274"});
    EXPECT_NE(std::find(fake.calls.begin(), fake.calls.end(), "wait 100"), fake.calls.end());
}

TEST_F(FollowViewTest, MarkerCoordinatesFollowTheMonitorScale) {
    layOut(800, 400);
    link.MonitorScalePercent = 150;
    FollowView(link, cad, cad::CadPoint(1000, 500), 3, 0.05);
    EXPECT_EQ(markerCalls(), std::vector<std::string>{
                                 "lines width 3 rgb 255,100,100: 750,411 690,381 690,441 750,411"});
}

TEST_F(FollowViewTest, NothingHappensWhenTheCadOrItsWindowsDoNotAnswer) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        cad::CadPoint point;
        std::size_t zooms;
        std::size_t markers;
    };
    const std::vector<Case> cases = {
        {"point is no array", [] {}, cad::CadPoint(), 0, 0},
        {"view size fails", [this] { cad.document->failVariable = true; }, {1, 2}, 0, 0},
        {"no child windows", [this] { fake.windows[kDocument].children.clear(); }, {1, 2}, 0, 0},
        {"area of height 0", [this] { layOut(800, 0); }, {1, 2}, 0, 0},
        {"negative height still zooms", [this] { layOut(800, -50, 100); }, {1, 2}, 1, 0},
        {"width 0 still zooms", [this] { layOut(0, 400); }, {1, 2}, 1, 0},
    };
    for (const Case& c : cases) {
        layOut(800, 400);
        cad.document->failVariable = false;
        cad.zooms.clear();
        fake.calls.clear();
        c.arrange();
        FollowView(link, cad, c.point, 3, 0.05);
        EXPECT_EQ(cad.zooms.size(), c.zooms) << c.name;
        EXPECT_EQ(markerCalls().size(), c.markers) << c.name;
    }
}

} // namespace
} // namespace kalvex
