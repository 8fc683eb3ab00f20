#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "cadlink/BlockReference.h"
#include "cadlink/FollowView.h"
#include "cadlink/Selection.h"
#include "cadlink/Text.h"

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

TEST_F(FaultsTest, AnUnknownSystemVariableFailsWithTheCadsText) {
    auto doc = connect()->ActiveDocument();
    EXPECT_EQ(messageOf([&] { doc->GetVariable("NOSUCHVAR"); }), "Unknown system variable.");
}

} // namespace
} // namespace kalvex
