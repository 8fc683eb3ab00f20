#include <gtest/gtest.h>

#include "cadlink/Selection.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "support/FakeWindowSystem.h"

namespace kalvex {
namespace {

using drawing::DrawingBuilder;

class SelectionTest : public ::testing::Test {
protected:
    DrawingBuilder builder;
    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<drawing::ScriptedPicker> picker = std::make_shared<drawing::ScriptedPicker>();
    std::shared_ptr<testing::FaultInjector> faults = std::make_shared<testing::FaultInjector>();
    cad::DocumentPtr document; // of the CAD that fails where `faults` says
    testing::FakeWindowSystem waits;
    std::string a, b, insert;

    void SetUp() override {
        a = builder.text({.text = "TB-01", .insertion = {0, 10, 0}});
        b = builder.text({.text = "TB-02", .insertion = {0, 20, 0}});
        builder.block("PUMP", {{"NAME", "Name?", ""}});
        insert = builder.insert({.block = "PUMP",
                                 .insertion = {5, 5, 0},
                                 .attributes = {{.tag = "NAME", .text = "P-101"}}})[0];
        model = builder.model();
        model->setPicker(picker);
        document = testing::withFaults(model->application(), faults)->ActiveDocument();
    }

    std::vector<std::string> setNames() {
        std::vector<std::string> names;
        auto sets = document->GetSelectionSets();
        for (int i = 0; i < sets->Count(); ++i)
            names.push_back(sets->Item(i)->Name());
        return names;
    }
};

TEST_F(SelectionTest, TempSetIsCreatedWhenMissing) {
    auto set = GetTempSelectionSet(*document);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Name(), "SSTEMP");
    EXPECT_EQ(setNames(), std::vector<std::string>{"SSTEMP"});
}

TEST_F(SelectionTest, TempSetIsFoundWithoutRegardToCaseAndTheLowestIndexIsEmptiedAndReused) {
    auto sets = document->GetSelectionSets();
    sets->Add("OTHER");
    auto first = sets->Add("ssTemp");
    sets->Add("SSTEMP");
    first->Select(cad::SelectionSet::Mode::All, TextPickFilter());
    ASSERT_EQ(first->Count(), 2);

    auto set = GetTempSelectionSet(*document);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Name(), "ssTemp");
    EXPECT_EQ(set->Count(), 0);
    EXPECT_EQ(setNames().size(), 3u);
    // Emptying the set leaves the entities in the drawing.
    EXPECT_EQ(cad::entityAs<cad::Text>(document->HandleToObject(a))->TextString(), "TB-01");
}

TEST_F(SelectionTest, TempSetFailureGivesNoSetAndNoError) {
    faults->failAfter("SelectionSetsCount", 0);
    EXPECT_EQ(GetTempSelectionSet(*document), nullptr);
}

TEST_F(SelectionTest, PickReadsThePickedEntitiesInOrderAndRemovesTheSetAfterwards) {
    picker->addPick({b, insert, a});
    {
        auto picked = PickOnScreen(*document, TextPickFilter(), waits);
        ASSERT_NE(picked, nullptr);
        auto texts = picked->entities<cad::Text>();
        ASSERT_EQ(texts.size(), 2u); // the filter keeps the INSERT out
        EXPECT_EQ(texts[0]->Handle(), b);
        EXPECT_EQ(texts[1]->Handle(), a);
        EXPECT_EQ(setNames(), std::vector<std::string>{"SSTEMP"});
    }
    EXPECT_TRUE(setNames().empty());
    EXPECT_EQ(waits.calls, (std::vector<std::string>{"wait 5", "wait 5"}));
}

TEST_F(SelectionTest, CancelledOrEmptyPickGivesNothingAndStillRemovesTheSet) {
    picker->addCancel();
    {
        auto picked = PickOnScreen(*document, TextPickFilter(), waits);
        ASSERT_NE(picked, nullptr);
        EXPECT_EQ(picked->set().Count(), 0);
    }
    picker->addPick({});
    EXPECT_EQ(PickOnScreen(*document, TextPickFilter(), waits)->set().Count(), 0);
    EXPECT_TRUE(setNames().empty());
}

TEST_F(SelectionTest, AnErrorWhileReadingTheSetStillRemovesIt) {
    picker->addPick({a, b});
    faults->failAfter("SelectionSetItem", 1);
    EXPECT_THROW(
        {
            auto picked = PickOnScreen(*document, TextPickFilter(), waits);
            picked->entities<cad::Text>();
        },
        cad::CadError);
    faults->clear();
    EXPECT_TRUE(setNames().empty());
}

TEST_F(SelectionTest, AskingForTheWrongInterfaceIsAnError) {
    picker->addPick({insert});
    auto picked = PickOnScreen(*document, InsertPickFilter("PU*"), waits);
    EXPECT_THROW(picked->entities<cad::Text>(), cad::CadError);
}

} // namespace
} // namespace kalvex
