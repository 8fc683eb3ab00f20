#include <gtest/gtest.h>

#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"

namespace kalvex::testing {
namespace {

using cad::CadError;
using cad::CadPoint;
using drawing::DrawingBuilder;

// The drawing of CadModelTest, seen once as it is and once through the fault injector.
class FaultInjectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        builder.layer("Free").layer("Frozen", drawing::LayerState::Locked);
        builder.block("PUMP", {{"TAG", "Tag?", "P-"}, {"KW", "Power", ""}});
        left = builder.text({.text = "配線1", .insertion = {1, 2, 0}, .layer = "Free"});
        right = builder.text({.text = "right",
                              .alignment = 2,
                              .insertion = {5, 5, 0},
                              .alignmentPoint = {9, 5, 0},
                              .layer = "free"});
        pump = builder.insert(
            {.block = "PUMP",
             .insertion = {20, 30, 0},
             .attributes = {{.tag = "TAG", .text = "P-101"}, {.tag = "KW", .text = "7.5"}}});
        model = builder.model();
        application = withFaults(model->application(), faults);
        document = application->ActiveDocument();
        plain = model->application()->ActiveDocument();
    }

    std::shared_ptr<cad::Text> text(const std::string& handle) {
        return cad::entityAs<cad::Text>(document->HandleToObject(handle));
    }
    std::shared_ptr<cad::BlockReference> insert(const std::string& handle) {
        return cad::entityAs<cad::BlockReference>(document->HandleToObject(handle));
    }
    // The SEQEND after the INSERT's attributes: an entity of none of the interface's kinds.
    std::string sequenceEnd(const std::string& insertHandle) {
        const drawing::Drawing& drawing = model->drawing();
        const drawing::RecordId id = *drawing.findHandle(insertHandle);
        return drawing.handleText(id + drawing.slot(id).childCount);
    }

    DrawingBuilder builder;
    std::string left, right;
    std::vector<std::string> pump;
    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<FaultInjector> faults = std::make_shared<FaultInjector>();
    cad::ApplicationPtr application;
    cad::DocumentPtr document; // through the injector
    cad::DocumentPtr plain;    // the model's own
};

struct Kinds {
    bool text = false, attribute = false, insert = false;
    friend bool operator==(const Kinds&, const Kinds&) = default;
};

Kinds kindsOf(const cad::EntityPtr& entity) {
    return {dynamic_cast<cad::Text*>(entity.get()) != nullptr,
            dynamic_cast<cad::AttributeReference*>(entity.get()) != nullptr,
            dynamic_cast<cad::BlockReference*>(entity.get()) != nullptr};
}

TEST_F(FaultInjectorTest, InjectedFaultsHitTheNamedOperation) {
    faults->failOn("SetTextString", right);
    EXPECT_NO_THROW(text(left)->SetTextString("ok"));
    EXPECT_THROW(text(right)->SetTextString("no"), CadError);
    EXPECT_EQ(text(right)->TextString(), "right");

    faults->failAfter("HandleToObject", 2);
    EXPECT_NO_THROW(document->HandleToObject(left));
    EXPECT_NO_THROW(document->HandleToObject(left));
    EXPECT_THROW(document->HandleToObject(left), CadError);
    faults->clear();
    EXPECT_NO_THROW(document->HandleToObject(left));
}

TEST_F(FaultInjectorTest, AWrappedEntityOffersTheKindsOfTheEntityBehindIt) {
    const std::string seqend = sequenceEnd(pump[0]);
    const struct {
        std::string handle;
        Kinds kinds;
    } cases[] = {
        {left, {.text = true}},
        {pump[0], {.insert = true}},
        {pump[1], {.attribute = true}},
        {seqend, {}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(kindsOf(plain->HandleToObject(c.handle)), c.kinds) << c.handle;
        const cad::EntityPtr wrapped = document->HandleToObject(c.handle);
        EXPECT_EQ(kindsOf(wrapped), c.kinds) << c.handle;
        EXPECT_EQ(wrapped->Handle(), c.handle);
    }
    EXPECT_EQ(faults->callCount("Handle"), 4);
    EXPECT_NO_THROW(cad::entityAs<cad::Text>(document->HandleToObject(left)));
    EXPECT_THROW(cad::entityAs<cad::Text>(document->HandleToObject(pump[0])), CadError);
}

TEST_F(FaultInjectorTest, EntitiesHandedBackByEntitiesAndSetsAreWrappedToo) {
    faults->failOn("TextString", pump[2]);
    const auto attributes = insert(pump[0])->GetAttributes();
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0]->TextString(), "P-101");
    EXPECT_THROW(attributes[1]->TextString(), CadError);

    const auto copy = cad::entityAs<cad::Text>(text(right)->Copy());
    faults->failOn("TextString", copy->Handle());
    EXPECT_THROW(copy->TextString(), CadError);
    EXPECT_EQ(text(right)->TextString(), "right");

    auto set = document->GetSelectionSets()->Add("ALL");
    set->Select(cad::SelectionSet::Mode::All, cad::SelectionFilter::of({{0, "TEXT"}}));
    ASSERT_EQ(set->Count(), 3);
    faults->failOn("Layer", left);
    EXPECT_THROW(cad::entityAs<cad::Text>(set->Item(0))->Layer(), CadError);
    EXPECT_EQ(set->Item(1)->Layer(), "free");
    EXPECT_EQ(faults->callCount("SelectionSetItem"), 2);
}

TEST_F(FaultInjectorTest, CallsOnLayersBlocksAndTheirItemsAreCountedUnderTheirNames) {
    auto layers = document->GetLayers();
    EXPECT_EQ(layers->Item(1)->Name(), "Free");
    auto block = document->GetBlocks()->Item(0);
    EXPECT_EQ(block->Item(0)->TagString(), "TAG");
    faults->failAfter("PromptString", 0);
    EXPECT_THROW(block->Item(1)->PromptString(), CadError);
    for (const char* operation :
         {"GetLayers", "LayersItem", "LayerName", "GetBlocks", "BlocksItem", "TagString"})
        EXPECT_EQ(faults->callCount(operation), 1) << operation;
    EXPECT_EQ(faults->callCount("BlockItem"), 2);
    EXPECT_EQ(faults->callCount("PromptString"), 1);
}

TEST_F(FaultInjectorTest, AFailAfterRuleCountsFromWhenItIsSet) {
    document->Regen(0);
    faults->failAfter("Regen", 1);
    EXPECT_EQ(faults->callCount("Regen"), 0);
    EXPECT_NO_THROW(document->Regen(0));
    EXPECT_THROW(document->Regen(0), CadError);
    EXPECT_EQ(model->regenCount(), 2) << "the failed call never reaches the model";
    faults->clear();
    EXPECT_NO_THROW(document->Regen(0));
    EXPECT_EQ(faults->callCount("Regen"), 3) << "clearing the rules keeps the counts";
}

TEST_F(FaultInjectorTest, WithoutRulesCallsPassThroughWithTheirResultsAndErrors) {
    model->setDocumentWindow(42);
    model->view().setAspect(2.0);
    application->ZoomWindow({910, 450, 0}, {1090, 550, 0});
    EXPECT_DOUBLE_EQ(document->GetVariable("VIEWSIZE"), 100.0);
    EXPECT_EQ(document->Hwnd(), 42u);
    EXPECT_EQ(faults->callCount("DocumentHwnd"), 1);

    auto t = text(right);
    EXPECT_EQ(t->TextAlignmentPoint(), CadPoint(9, 5, 0));
    t->SetTextString("changed");
    EXPECT_EQ(cad::entityAs<cad::Text>(plain->HandleToObject(right))->TextString(), "changed");
    EXPECT_EQ(t->Layer(), "free");
    EXPECT_EQ(t->ObjectID(), plain->HandleToObject(right)->ObjectID());
    EXPECT_EQ(insert(pump[0])->Name(), "PUMP");

    EXPECT_THROW(document->HandleToObject("FFFF"), CadError) << "the model's own error";
    EXPECT_THROW(document->GetVariable("NOSUCHVAR"), CadError);
    EXPECT_THROW(t->SetInsertionPoint(CadPoint()), CadError);
    EXPECT_EQ(faults->callCount("SetInsertionPoint"), 1);
}

TEST_F(FaultInjectorTest, CallsOnTheUnwrappedApplicationAreNeitherCountedNorFailed) {
    faults->failAfter("HandleToObject", 0);
    faults->failOn("TextString", left);
    EXPECT_EQ(cad::entityAs<cad::Text>(plain->HandleToObject(left))->TextString(), "配線1");
    EXPECT_EQ(faults->callCount("TextString"), 0);
    EXPECT_THROW(document->HandleToObject(left), CadError);
}

} // namespace
} // namespace kalvex::testing
