#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "cadlink/BlockReference.h"
#include "cadlink/FollowView.h"
#include "cadlink/Selection.h"
#include "cadlink/Text.h"
#include "com/Dispatch.h"

namespace kalvex {
namespace {

std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const cad::CadError& error) {
        return error.what();
    }
    return "(no error)";
}

using FaultsTest = BackendTest;

TEST_F(FaultsTest, AnEntityGoneBetweenReadsFailsWithTheCadsText) {
    const std::string handle = server.drawing().addText("TB-01", {0, 0, 0});
    server.drawing().queuePick({handle});
    auto doc = connect()->ActiveDocument();
    auto picked = PickOnScreen(*doc, TextPickFilter(), waiter);
    ASSERT_NE(picked, nullptr);
    auto text = picked->entities<cad::Text>().at(0);
    EXPECT_EQ(text->TextString(), "TB-01");

    server.drawing().erase(handle);
    EXPECT_EQ(messageOf([&] { text->TextString(); }), "The object " + handle + " has been erased.");
    EXPECT_EQ(messageOf([&] { doc->HandleToObject(handle); }),
              "The object " + handle + " has been erased.");
}

TEST_F(FaultsTest, ALockedLayerRefusesTheWriteWithTheCadsText) {
    server.drawing().addLayer("LOCKED", true);
    const std::string handle = server.drawing().addText("TB-01", {0, 0, 0}, "LOCKED");
    auto text = cad::entityAs<cad::Text>(connect()->ActiveDocument()->HandleToObject(handle));
    EXPECT_EQ(messageOf([&] { text->SetTextString("TB-02"); }),
              "The object is on a locked layer: LOCKED");
    EXPECT_EQ(server.drawing().at(handle).text, "TB-01");
}

TEST_F(FaultsTest, APointThatIsNoArrayReadsAsSuchAndTheViewStays) {
    const std::string handle = server.drawing().addText("TB-01", {5, 5, 0});
    server.drawing().entity(handle).pointIsArray = false;
    auto app = connect();
    auto text = cad::entityAs<cad::Text>(app->ActiveDocument()->HandleToObject(handle));
    const cad::CadPoint point = text->InsertionPoint();
    EXPECT_FALSE(point.isArray());
    FollowView(link, *app, point, kFollowPenWidth, kFollowMarkerRatio);
    EXPECT_EQ(server.drawing().zooms, 0);
}

TEST_F(FaultsTest, AnErrorInTheMiddleOfAnOperationLeavesNoSetAndNoObjectBehind) {
    const std::string text = server.drawing().addText("TB-01", {0, 0, 0});
    const std::string insert = server.drawing().addInsert("VALVE", {0, 0, 0}, {{"TAG", "V-1"}});
    server.drawing().queuePick({insert, text});
    {
        auto picked = PickOnScreen(*connect()->ActiveDocument(), InsertPickFilter("*"), waiter);
        ASSERT_NE(picked, nullptr);
        // The fake's filter lets only the INSERT through; the TEXT is added behind its back.
        server.drawing().selectionSets().at(0).handles.push_back(text);
        EXPECT_THROW(picked->entities<cad::BlockReference>(), cad::CadError);
    }
    EXPECT_TRUE(server.drawing().selectionSets().empty());
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(FaultsTest, TheErrorNamesTheArgumentTheCadRefusedAndTheCadsOwnErrorCode) {
    com::ComRef<IDispatch> object;
    ASSERT_EQ(CoCreateInstance(com::kApplicationClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(object.put())),
              S_OK);
    const com::DispatchObject app(object, com::Interface::Application);
    // A number where the upper right corner belongs.
    const std::string wrongType = messageOf([&] {
        app.call("ZoomWindow", {com::variantOf(cad::CadPoint(0, 0, 0)), com::variantOf(5)});
    });
    EXPECT_TRUE(contains(wrongType, "Application.ZoomWindow, argument 2:")) << wrongType;
    EXPECT_TRUE(contains(wrongType, "(0x80020005)")) << wrongType;

    server.log().nextErrorCode = 1001;
    const std::string coded = messageOf([&] { app.get("HWND"); });
    EXPECT_TRUE(contains(coded, "Application.HWND")) << coded;
    EXPECT_TRUE(contains(coded, "(CAD error 1001)")) << coded;
}

TEST_F(FaultsTest, AnUnknownSystemVariableFailsWithTheCadsText) {
    auto doc = connect()->ActiveDocument();
    EXPECT_EQ(messageOf([&] { doc->GetVariable("NOSUCHVAR"); }), "Unknown system variable.");
}

} // namespace
} // namespace kalvex
