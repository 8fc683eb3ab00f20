#include <gtest/gtest.h>

#include "cadlink/Text.h"
#include "kit/DrawingBuilder.h"
#include "operations/RecordSeal.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

// Two TEXTs fetched, and the drawing's own undo history standing in for the user's undo and
// redo in the drawing window.
class RecordSealTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrawingBuilder b;
        first = b.text({.text = "A-1", .insertion = {0, 0, 0}});
        second = b.text({.text = "A-2", .insertion = {0, -5, 0}});
        model = b.model();
        document = model->application()->ActiveDocument();
        seal = sealEntities(*document, {first, second});
    }

    std::shared_ptr<cad::Text> text(const std::string& handle) {
        return cad::entityAs<cad::Text>(document->HandleToObject(handle));
    }
    bool holds() { return sealHolds(*document, seal); }

    std::string first;
    std::string second;
    std::shared_ptr<drawing::CadModel> model;
    cad::DocumentPtr document;
    RecordSeal seal;
};

TEST_F(RecordSealTest, AStringChangedOutsideBreaksTheSealAndChangingItBackMendsIt) {
    EXPECT_TRUE(holds());
    text(first)->SetTextString("A-1X");
    EXPECT_FALSE(holds());
    model->drawing().undo();
    EXPECT_TRUE(holds());
}

// A fetched TEXT moved or deleted behind the tool is passed over as before; one the tool wrote
// must stay where the tool put it (an undone alignment moves it back) and must not go.
TEST_F(RecordSealTest, OnlyWhatTheToolWroteMustKeepItsPlaceAndStay) {
    text(second)->SetInsertionPoint(cad::CadPoint(3, -5, 0));
    EXPECT_TRUE(holds());
    reseal(*document, seal, {first, second}); // the tool's alignment
    EXPECT_EQ(seal.written.count(second), 1u);
    EXPECT_EQ(seal.written.count(first), 0u) << "unchanged by the write";
    model->drawing().undo();
    EXPECT_FALSE(holds());
    model->drawing().redo();
    EXPECT_TRUE(holds());
    text(first)->Delete();
    EXPECT_TRUE(holds()) << "a fetched TEXT the tool never wrote";
    model->drawing().undo();
    text(second)->Delete();
    EXPECT_FALSE(holds());
}

// The tool deletes a TEXT and adds one: an undo brings the deleted one back (a later update
// would duplicate it) and takes the added one away (its record would be passed over).
TEST_F(RecordSealTest, AfterAWriteTheSealKnowsWhatTheToolDeletedAndAdded) {
    model->drawing().undoLog().startGroup();
    text(second)->Delete();
    const std::string added = text(first)->Copy()->Handle();
    model->drawing().undoLog().endGroup();
    reseal(*document, seal, {first, added});
    EXPECT_EQ(seal.erased.count(second), 1u);
    EXPECT_EQ(seal.held.count(added), 1u);
    EXPECT_TRUE(holds());
    model->drawing().undo();
    EXPECT_FALSE(holds());
    model->drawing().redo();
    EXPECT_TRUE(holds());
    // The deleted TEXT stays known as deleted through later writes.
    reseal(*document, seal, {first, added});
    EXPECT_EQ(seal.erased.count(second), 1u);
}

TEST_F(RecordSealTest, AHandleTheDrawingDoesNotHoldIsNotSealed) {
    const RecordSeal other = sealEntities(*document, {first, "FFFFF"});
    EXPECT_EQ(other.held.size(), 1u);
    EXPECT_FALSE(readEntityImage(*document, "FFFFF"));
    EXPECT_TRUE(sealHolds(*document, other));
}

} // namespace
} // namespace kalvex::testing
