#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "cadlink/BlockReference.h"
#include "cadlink/FollowView.h"
#include "cadlink/Selection.h"
#include "cadlink/Text.h"

namespace kalvex {
namespace {

using cad::CadPoint;

class ObjectsTest : public BackendTest {
protected:
    fake::Drawing& drawing() { return server.drawing(); }
    cad::DocumentPtr document() { return connect()->ActiveDocument(); }
};

using ObjectsDocument = ObjectsTest;

TEST_F(ObjectsDocument, LayersVariablesWindowRegenAndUndoMark) {
    drawing().addLayer("枠線", true);
    auto doc = document();
    auto layers = doc->GetLayers();
    ASSERT_EQ(layers->Count(), 2);
    EXPECT_EQ(layers->Item(0)->Name(), "0");
    EXPECT_FALSE(layers->Item(0)->Lock());
    EXPECT_EQ(layers->Item(1)->Name(), "枠線");
    EXPECT_TRUE(layers->Item(1)->Lock());
    EXPECT_THROW(layers->Item(2), cad::CadError);

    EXPECT_EQ(doc->GetVariable("VIEWSIZE"), 100.0);
    EXPECT_EQ(doc->Hwnd(), reinterpret_cast<WindowHandle>(server.cad().documentWindow));
    doc->Regen(0);
    doc->StartUndoMark();
    EXPECT_EQ(drawing().regens, 1);
    EXPECT_EQ(drawing().undoMarks, 1);
}

using ObjectsText = ObjectsTest;

TEST_F(ObjectsText, ReadsAndWritesEveryPropertyOfATextThroughItsHandle) {
    const std::string handle = drawing().addText("配管-01", {10, 20, 0}, "文字");
    drawing().addLayer("文字", false);
    auto text = cad::entityAs<cad::Text>(document()->HandleToObject(handle));
    EXPECT_EQ(text->Handle(), handle);
    EXPECT_EQ(text->Layer(), "文字");
    EXPECT_EQ(text->ObjectID(), drawing().at(handle).objectId);
    EXPECT_EQ(text->EntityName(), "AcDbText");
    EXPECT_EQ(text->TextString(), "配管-01");
    EXPECT_EQ(text->InsertionPoint(), CadPoint(10, 20, 0));

    text->SetTextString("配管－０２ ｶﾞ");
    text->SetAlignment(4);
    text->SetInsertionPoint({1.5, -2.25, 0});
    text->SetTextAlignmentPoint({30, 40, 0});
    text->Update();
    const fake::Entity& stored = drawing().at(handle);
    EXPECT_EQ(stored.text, "配管－０２ ｶﾞ");
    EXPECT_EQ(stored.alignment, 4);
    EXPECT_EQ(stored.insertion, (fake::Point{1.5, -2.25, 0}));
    EXPECT_EQ(stored.alignmentPoint, (fake::Point{30, 40, 0}));
    EXPECT_EQ(stored.updates, 1);
    EXPECT_EQ(text->Alignment(), 4);
    EXPECT_EQ(text->TextAlignmentPoint(), CadPoint(30, 40, 0));
}

TEST_F(ObjectsText, CopiesAndDeletes) {
    const std::string handle = drawing().addText("TB-01", {0, 0, 0});
    auto doc = document();
    auto copy = cad::entityAs<cad::Text>(doc->HandleToObject(handle)->Copy());
    EXPECT_NE(copy->Handle(), handle);
    EXPECT_EQ(copy->TextString(), "TB-01");
    doc->HandleToObject(handle)->Delete();
    EXPECT_FALSE(drawing().has(handle));
    EXPECT_TRUE(drawing().has(copy->Handle()));
}

using ObjectsBlocks = ObjectsTest;

TEST_F(ObjectsBlocks, ReadsABlockReferenceAndWritesItsAttributes) {
    const std::string handle =
        drawing().addInsert("VALVE", {100, 50, 0}, {{"TAG", "V-101"}, {"SIZE", "50A"}});
    auto reference = cad::entityAs<cad::BlockReference>(document()->HandleToObject(handle));
    EXPECT_TRUE(reference->HasAttributes());
    EXPECT_EQ(reference->Name(), "VALVE");
    EXPECT_EQ(reference->InsertionPoint(), CadPoint(100, 50, 0));
    const auto attributes = reference->GetAttributes();
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0]->TagString(), "TAG");
    EXPECT_EQ(attributes[1]->TextString(), "50A");
    EXPECT_EQ(attributes[1]->InsertionPoint(), CadPoint(100, 40, 0));
    EXPECT_EQ(attributes[1]->TextAlignmentPoint(), CadPoint(100, 40, 0));
    EXPECT_EQ(attributes[1]->Alignment(), 0);
    EXPECT_EQ(attributes[1]->Layer(), "0");
    attributes[0]->SetTextString("V-102");
    attributes[0]->Update();
    const fake::Entity& tag = drawing().at(attributes[0]->Handle());
    EXPECT_EQ(tag.text, "V-102");
    EXPECT_EQ(tag.updates, 1);
}

TEST_F(ObjectsBlocks, ReadsTheBlockDefinitionsAttributeDefinitions) {
    drawing().addBlock(
        {"VALVE", {{"AcDbLine", "", ""}, {"AcDbAttributeDefinition", "TAG", "弁番号"}}});
    auto blocks = document()->GetBlocks();
    ASSERT_EQ(blocks->Count(), 1);
    auto block = blocks->Item(0);
    EXPECT_EQ(block->Name(), "VALVE");
    ASSERT_EQ(block->Count(), 2);
    EXPECT_EQ(block->Item(0)->EntityName(), "AcDbLine");
    EXPECT_THROW(block->Item(0)->TagString(), cad::CadError);
    EXPECT_EQ(block->Item(1)->TagString(), "TAG");
    EXPECT_EQ(block->Item(1)->PromptString(), "弁番号");
}

using ObjectsSelection = ObjectsTest;

TEST_F(ObjectsSelection, PickReadsThePickedTextsInOrderAndRemovesTheSet) {
    const std::string a = drawing().addText("A", {0, 0, 0});
    const std::string b = drawing().addText("B", {0, 10, 0});
    const std::string insert = drawing().addInsert("VALVE", {0, 20, 0}, {});
    drawing().queuePick({b, insert, a});
    auto doc = document();
    {
        auto picked = PickOnScreen(*doc, TextPickFilter(), waiter);
        ASSERT_NE(picked, nullptr);
        const auto texts = picked->entities<cad::Text>();
        ASSERT_EQ(texts.size(), 2u) << "the filter keeps the block reference out";
        EXPECT_EQ(texts[0]->Handle(), b);
        EXPECT_EQ(texts[1]->Handle(), a);
        EXPECT_EQ(drawing().lastFilter().codes, std::vector<std::int16_t>{0});
        EXPECT_EQ(drawing().lastFilter().values, std::vector<std::string>{"TEXT"});
    }
    EXPECT_TRUE(drawing().selectionSets().empty());
}

TEST_F(ObjectsSelection, TempSetIsFoundWithoutRegardToCaseOrAddedAndACancelledPickIsEmpty) {
    auto doc = document();
    auto sets = doc->GetSelectionSets();
    sets->Add("OTHER");
    sets->Add("ssTemp");
    sets->Add("SSTEMP");
    EXPECT_EQ(GetTempSelectionSet(*doc)->Name(), "ssTemp");
    drawing().selectionSets().clear();
    EXPECT_EQ(GetTempSelectionSet(*doc)->Name(), "SSTEMP");

    auto picked = PickOnScreen(*doc, InsertPickFilter("V*"), waiter);
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(picked->set().Count(), 0) << "no pick was queued: the user cancelled";
    EXPECT_EQ(drawing().lastFilter().values, (std::vector<std::string>{"INSERT", "V*"}));
}

TEST_F(ObjectsSelection, SelectAllFiltersTheWholeDrawing) {
    drawing().addText("TB-01", {0, 0, 0});
    const std::string hit = drawing().addText("TB-02", {0, 0, 0});
    drawing().addText("XB-03", {0, 0, 0});
    drawing().erase(drawing().addText("TB-04", {0, 0, 0}));
    auto doc = document();
    auto set = GetTempSelectionSet(*doc);
    set->Select(cad::SelectionSet::Mode::All, TextSearchFilter("TB-0?"));
    ASSERT_EQ(set->Count(), 2);
    EXPECT_EQ(set->Item(1)->Handle(), hit);
    set->Delete();
    EXPECT_TRUE(drawing().selectionSets().empty());
}

using ObjectsFollowView = ObjectsTest;

TEST_F(ObjectsFollowView, ZoomsToThePointAtTheViewsHeightAndPaintsTheMarker) {
    link.MonitorScalePercent = 100;
    FollowView(link, *connect(), CadPoint(1000, 500, 0), kFollowPenWidth, kFollowMarkerRatio);
    ASSERT_EQ(drawing().zooms, 1);
    EXPECT_EQ(drawing().zoomLowerLeft, (fake::Point{910, 450, 0}));
    EXPECT_EQ(drawing().zoomUpperRight, (fake::Point{1090, 550, 0}));

    // The arrowhead points at the middle of the 800 x 400 area, 40 pixels long.
    RECT area;
    GetWindowRect(server.areaWindow(), &area);
    const int cx = area.left + 400, cy = area.top + 200;
    HDC screen = GetDC(nullptr);
    const COLORREF baseMiddle = GetPixel(screen, cx - 40, cy);
    const COLORREF upperEdge = GetPixel(screen, cx - 20, cy - 10);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(baseMiddle, RGB(255, 100, 100));
    EXPECT_EQ(upperEdge, RGB(255, 100, 100));
}

using ObjectsNames = ObjectsTest;

TEST_F(ObjectsNames, EachMemberIsLookedUpOncePerInterface) {
    const std::string handle = drawing().addText("TB-01", {0, 0, 0});
    auto readAll = [&] {
        auto text = cad::entityAs<cad::Text>(document()->HandleToObject(handle));
        return text->TextString() + text->Layer() + std::to_string(text->Alignment());
    };
    readAll();
    const int lookups = server.log().nameLookups;
    EXPECT_EQ(readAll(), "TB-0100");
    EXPECT_EQ(server.log().nameLookups, lookups);
}

} // namespace
} // namespace kalvex
