#include <gtest/gtest.h>

#include <cmath>

#include "cadlink/Application.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "kit/DrawingBuilder.h"

namespace kalvex::drawing {
namespace {

using cad::CadError;
using cad::CadPoint;
using cad::SelectionFilter;

class CadModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        builder.layer("Free").layer("Frozen", LayerState::Locked);
        builder.block("PUMP", {{"TAG", "Tag?", "P-"}, {"KW", "Power", ""}});
        left = builder.text({.text = "配線1", .insertion = {1, 2, 0}, .layer = "Free"});
        right = builder.text({.text = "right",
                              .alignment = 2,
                              .insertion = {5, 5, 0},
                              .alignmentPoint = {9, 5, 0},
                              .layer = "free"});
        locked = builder.text({.text = "locked", .insertion = {0, 9, 0}, .layer = "FROZEN"});
        pump = builder.insert(
            {.block = "PUMP",
             .insertion = {20, 30, 0},
             .attributes = {{.tag = "TAG", .text = "P-101"}, {.tag = "KW", .text = "7.5"}}});
        model = builder.model();
        document = model->application()->ActiveDocument();
    }

    std::shared_ptr<cad::Text> text(const std::string& handle) {
        return cad::entityAs<cad::Text>(document->HandleToObject(handle));
    }

    std::vector<std::string> selectAll(const SelectionFilter& filter) {
        auto set = document->GetSelectionSets()->Add("ALL");
        set->Select(cad::SelectionSet::Mode::All, filter);
        std::vector<std::string> handles;
        for (int i = 0; i < set->Count(); ++i)
            handles.push_back(set->Item(i)->Handle());
        set->Delete();
        return handles;
    }

    DrawingBuilder builder;
    std::string left, right, locked;
    std::vector<std::string> pump;
    std::shared_ptr<CadModel> model;
    cad::DocumentPtr document;
};

TEST_F(CadModelTest, ReadsWhatTheBuilderWrote) {
    auto t = text(left);
    EXPECT_EQ(t->TextString(), "配線1");
    EXPECT_EQ(t->Layer(), "Free");
    EXPECT_EQ(t->Alignment(), 0);
    EXPECT_EQ(t->InsertionPoint(), CadPoint(1, 2, 0));
    EXPECT_EQ(t->EntityName(), "AcDbText");
    auto r = text(right);
    EXPECT_EQ(r->Alignment(), 2);
    EXPECT_EQ(r->TextAlignmentPoint(), CadPoint(9, 5, 0));

    auto insert = cad::entityAs<cad::BlockReference>(document->HandleToObject(pump[0]));
    EXPECT_EQ(insert->EntityName(), "AcDbBlockReference");
    EXPECT_EQ(insert->Name(), "PUMP");
    EXPECT_EQ(insert->InsertionPoint(), CadPoint(20, 30, 0));
    ASSERT_TRUE(insert->HasAttributes());
    const auto attributes = insert->GetAttributes();
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0]->TagString(), "TAG");
    EXPECT_EQ(attributes[0]->TextString(), "P-101");
    EXPECT_EQ(attributes[1]->Handle(), pump[2]);
    EXPECT_EQ(attributes[1]->EntityName(), "AcDbAttribute");
    EXPECT_THROW(cad::entityAs<cad::Text>(document->HandleToObject(pump[0])), CadError);
}

TEST_F(CadModelTest, HandlesAreUniqueUpperCaseHexAndLookupsOfUnknownOnesThrow) {
    std::set<std::string> seen{left, right, locked};
    seen.insert(pump.begin(), pump.end());
    EXPECT_EQ(seen.size(), 3 + pump.size());
    for (const std::string& handle : seen)
        EXPECT_EQ(handle.find_first_not_of("0123456789ABCDEF"), std::string::npos) << handle;
    EXPECT_EQ(text(left)->ObjectID(), document->HandleToObject(left)->ObjectID());
    EXPECT_NE(text(left)->ObjectID(), text(right)->ObjectID());
    EXPECT_THROW(document->HandleToObject("FFFF"), CadError);
    EXPECT_THROW(document->HandleToObject(""), CadError);
}

TEST_F(CadModelTest, CopyMakesAnIdenticalEntityWithAFreshHandleNeverReused) {
    auto copy = cad::entityAs<cad::Text>(text(right)->Copy());
    EXPECT_NE(copy->Handle(), right);
    EXPECT_EQ(copy->TextString(), "right");
    EXPECT_EQ(copy->Alignment(), 2);
    EXPECT_EQ(copy->TextAlignmentPoint(), CadPoint(9, 5, 0));
    EXPECT_EQ(copy->Layer(), "free");
    const std::string copyHandle = copy->Handle();
    copy->Delete();
    EXPECT_THROW(document->HandleToObject(copyHandle), CadError);
    EXPECT_THROW(copy->TextString(), CadError);
    auto second = text(right)->Copy();
    EXPECT_NE(second->Handle(), copyHandle);
}

TEST_F(CadModelTest, CopyOfABlockReferenceCopiesItsAttributes) {
    auto copy = cad::entityAs<cad::BlockReference>(document->HandleToObject(pump[0])->Copy());
    const auto attributes = copy->GetAttributes();
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0]->TextString(), "P-101");
    EXPECT_NE(attributes[0]->Handle(), pump[1]);
    attributes[0]->SetTextString("P-102");
    const auto original = cad::entityAs<cad::BlockReference>(document->HandleToObject(pump[0]));
    EXPECT_EQ(original->GetAttributes()[0]->TextString(), "P-101");
}

TEST_F(CadModelTest, DeletingABlockReferenceDeletesItsAttributes) {
    document->HandleToObject(pump[0])->Delete();
    for (const std::string& handle : pump)
        EXPECT_THROW(document->HandleToObject(handle), CadError) << handle;
}

TEST_F(CadModelTest, ALockedLayerRefusesChangesButNotReading) {
    auto t = text(locked); // layer "FROZEN" matches the locked layer "Frozen"
    EXPECT_EQ(t->TextString(), "locked");
    EXPECT_THROW(t->SetTextString("x"), CadError);
    EXPECT_THROW(t->SetInsertionPoint({1, 1, 0}), CadError);
    EXPECT_THROW(t->SetAlignment(1), CadError);
    EXPECT_THROW(t->Copy(), CadError);
    EXPECT_THROW(t->Delete(), CadError);
    EXPECT_EQ(t->TextString(), "locked");
    EXPECT_NO_THROW(text(right)->SetTextString("moved")); // layer "free" is not locked
}

TEST_F(CadModelTest, SettersChangeOnlyWhatTheyAreAskedTo) {
    auto t = text(left);
    t->SetAlignment(10); // middle centre
    EXPECT_EQ(t->Alignment(), 10);
    EXPECT_EQ(t->TextAlignmentPoint(), CadPoint(1, 2, 0)); // the text stays where it was
    t->SetTextAlignmentPoint({4, 5, 6});
    EXPECT_EQ(t->TextAlignmentPoint(), CadPoint(4, 5, 6));
    EXPECT_EQ(t->InsertionPoint(), CadPoint(4, 5, 6)); // moved along
    t->SetInsertionPoint({-1.25, 1e-3, 0});
    EXPECT_EQ(t->InsertionPoint(), CadPoint(-1.25, 1e-3, 0));
    EXPECT_EQ(t->TextString(), "配線1");
    EXPECT_THROW(t->SetAlignment(15), CadError);
    EXPECT_THROW(t->SetInsertionPoint(CadPoint()), CadError);
    EXPECT_THROW(t->SetInsertionPoint({std::nan(""), 0, 0}), CadError);
    EXPECT_THROW(t->SetTextAlignmentPoint({0, HUGE_VAL, 0}), CadError);
    EXPECT_EQ(t->InsertionPoint(), CadPoint(-1.25, 1e-3, 0));
}

TEST_F(CadModelTest, SelectAllAppliesTypeTextAndBlockFilters) {
    using F = SelectionFilter;
    EXPECT_EQ(selectAll(F::of({{0, "TEXT"}})), (std::vector<std::string>{left, right, locked}));
    EXPECT_EQ(selectAll(F::of({{0, "text"}, {1, "R*"}})), std::vector<std::string>{});
    EXPECT_EQ(selectAll(F::of({{0, "text"}, {1, "r*"}})), std::vector<std::string>{right});
    EXPECT_EQ(selectAll(F::of({{0, "INSERT"}, {2, "pump"}})), std::vector<std::string>{pump[0]});
    EXPECT_EQ(selectAll(F::of({{0, "INSERT"}, {2, "VALVE*"}})), std::vector<std::string>{});
    EXPECT_EQ(selectAll(F::of({{0, "TEXT,INSERT"}})).size(), 4u);
}

TEST_F(CadModelTest, SelectOnScreenTakesScriptedPicksAndThrowsOnCancel) {
    auto picker = std::make_shared<ScriptedPicker>();
    model->setPicker(picker);
    picker->addPick({locked, pump[0], "0", left, left});
    picker->addCancel();
    auto sets = document->GetSelectionSets();
    auto set = sets->Add("SsTemp");
    EXPECT_EQ(sets->Item(0)->Name(), "SsTemp");
    EXPECT_THROW(sets->Add("SsTemp"), CadError);
    set->SelectOnScreen(SelectionFilter::of({{0, "TEXT"}}));
    ASSERT_EQ(set->Count(), 2); // in pick order, the INSERT filtered out, no duplicates
    EXPECT_EQ(set->Item(0)->Handle(), locked);
    EXPECT_EQ(set->Item(1)->Handle(), left);
    EXPECT_THROW(set->Item(2), CadError);
    EXPECT_THROW(set->SelectOnScreen(SelectionFilter::of({{0, "TEXT"}})), CadError);
    EXPECT_THROW(set->SelectOnScreen(SelectionFilter::of({{0, "TEXT"}})), CadError);
    set->Clear();
    EXPECT_EQ(set->Count(), 0);
    EXPECT_NO_THROW(document->HandleToObject(left)); // clearing leaves the entities alone
    set->Delete();
    EXPECT_EQ(sets->Count(), 0);
    EXPECT_THROW(set->Count(), CadError);
}

// The drawing as saved, but for $HANDSEED: undo never gives a handle out again.
std::string withoutHandleSeed(const Drawing& drawing) {
    std::string bytes = drawing.serialize();
    const std::size_t seed = bytes.find("$HANDSEED\n  5\n");
    const std::size_t valueEnd = bytes.find('\n', seed + 14);
    return bytes.erase(seed, valueEnd - seed);
}

TEST_F(CadModelTest, UndoTakesBackAWholeGroupAndRedoRepeatsIt) {
    Drawing& drawing = model->drawing();
    const std::string before = withoutHandleSeed(drawing);
    text(left)->SetTextString("single"); // a step of its own
    const std::string afterSingle = withoutHandleSeed(drawing);
    document->StartUndoMark();
    text(right)->SetTextString("grouped");
    const std::string copy = text(right)->Copy()->Handle();
    document->HandleToObject(pump[0])->Delete();
    drawing.undo();
    EXPECT_EQ(withoutHandleSeed(drawing), afterSingle);
    EXPECT_EQ(text(right)->TextString(), "right");
    EXPECT_THROW(document->HandleToObject(copy), CadError);
    EXPECT_NO_THROW(document->HandleToObject(pump[1]));
    drawing.redo();
    EXPECT_EQ(text(right)->TextString(), "grouped");
    EXPECT_NO_THROW(document->HandleToObject(copy));
    EXPECT_THROW(document->HandleToObject(pump[0]), CadError);
    drawing.undo();
    drawing.undo();
    EXPECT_EQ(withoutHandleSeed(drawing), before);
}

TEST_F(CadModelTest, OutsideAGroupEachCallIsOneStepEvenWhenItTouchesSeveralRecords) {
    Drawing& drawing = model->drawing();
    const std::string before = withoutHandleSeed(drawing);
    auto insert = document->HandleToObject(pump[0]);
    const std::string copy = insert->Copy()->Handle(); // INSERT, two ATTRIBs and SEQEND
    insert->Delete();
    drawing.undo();
    EXPECT_NO_THROW(document->HandleToObject(pump[2]));
    EXPECT_NO_THROW(document->HandleToObject(copy));
    drawing.undo();
    EXPECT_EQ(withoutHandleSeed(drawing), before);
    EXPECT_FALSE(drawing.undoLog().canUndo());
}

TEST_F(CadModelTest, ZoomWindowAndViewSizeAgree) {
    auto application = model->application();
    model->view().setAspect(2.0); // an 800 x 400 drawing area
    application->ZoomWindow({910, 450, 0}, {1090, 550, 0});
    EXPECT_DOUBLE_EQ(document->GetVariable("VIEWSIZE"), 100.0);
    EXPECT_DOUBLE_EQ(model->view().centerX(), 1000.0);
    EXPECT_DOUBLE_EQ(model->view().centerY(), 500.0);
    application->ZoomWindow({0, 0, 0}, {400, 10, 0}); // too wide: the height grows
    EXPECT_DOUBLE_EQ(document->GetVariable("VIEWSIZE"), 200.0);
    EXPECT_THROW(application->ZoomWindow(CadPoint(), {1, 1, 0}), CadError);
    EXPECT_THROW(document->GetVariable("NOSUCHVAR"), CadError);
    EXPECT_EQ(application->Hwnd(), 0u);
    model->setDocumentWindow(42);
    EXPECT_EQ(document->Hwnd(), 42u);
    document->Regen(0);
    EXPECT_EQ(model->regenCount(), 1);
}

TEST_F(CadModelTest, LayersAndBlocksAreListed) {
    auto layers = document->GetLayers();
    ASSERT_EQ(layers->Count(), 3);
    EXPECT_EQ(layers->Item(2)->Name(), "Frozen");
    EXPECT_TRUE(layers->Item(2)->Lock());
    EXPECT_FALSE(layers->Item(0)->Lock());
    EXPECT_THROW(layers->Item(3), CadError);
    auto blocks = document->GetBlocks();
    ASSERT_EQ(blocks->Count(), 1);
    auto block = blocks->Item(0);
    EXPECT_EQ(block->Name(), "PUMP");
    ASSERT_EQ(block->Count(), 2);
    EXPECT_EQ(block->Item(0)->EntityName(), "AcDbAttributeDefinition");
    EXPECT_EQ(block->Item(0)->TagString(), "TAG");
    EXPECT_EQ(block->Item(0)->PromptString(), "Tag?");
    EXPECT_EQ(block->Item(1)->TagString(), "KW");
}

} // namespace
} // namespace kalvex::drawing
