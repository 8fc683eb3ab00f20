#include <gtest/gtest.h>

#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "operations/TextLineWriter.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

// The cases of the writer that the update and alignment tests do not tell apart: which TEXT
// becomes the template, and a template that cannot be opened. TEXTs on layers "FIRST" and
// "LAST", fetched in this order.
class TextLineWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrawingBuilder b;
        b.layer("FIRST").layer("LAST");
        records.resize(2);
        records[0].sHnd = b.text({.text = "first", .layer = "FIRST"});
        records[1].sHnd = b.text({.text = "last", .layer = "LAST"});
        model = b.model();
        document = withFaults(model->application(), faults)->ActiveDocument();
    }

    TextPtr text(std::size_t i) { return openText(*document, records[i].sHnd); }
    std::string copiedLayer(TextLineWriter& writer) { return writer.copyTemplate()->Layer(); }

    std::vector<Orvik> records;
    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<FaultInjector> faults = std::make_shared<FaultInjector>();
    cad::DocumentPtr document;
};

TEST_F(TextLineWriterTest, AnUnchangedLineIsNotWrittenButTheTextBecomesTheTemplate) {
    TextLineWriter writer(records, *document);
    EXPECT_EQ(writer.writeLine(text(0), records[0], "first"), LineResult::Written);
    EXPECT_EQ(faults->callCount("SetTextString"), 0);
    ASSERT_TRUE(writer.haveTemplate());
    EXPECT_EQ(copiedLayer(writer), "FIRST") << "not the last record's TEXT";
}

TEST_F(TextLineWriterTest, WithoutAWrittenTextTheLastRecordWithAHandleIsTheTemplate) {
    records.emplace_back(); // a placeholder at the end
    TextLineWriter writer(records, *document);
    ASSERT_TRUE(writer.haveTemplate());
    EXPECT_EQ(copiedLayer(writer), "LAST");
}

TEST_F(TextLineWriterTest, ATemplateThatCannotBeOpenedIsAnError) {
    text(1)->Delete();
    TextLineWriter writer(records, *document);
    EXPECT_THROW(writer.haveTemplate(), cad::CadError);
}

TEST_F(TextLineWriterTest, FindingAgainTakesTheLastRecordOrKeepsTheTemplateItCannotReplace) {
    TextLineWriter writer(records, *document);
    writer.writeLine(text(0), records[0], "first");
    ASSERT_TRUE(writer.findTemplate());
    EXPECT_EQ(copiedLayer(writer), "LAST");

    writer.writeLine(text(0), records[0], "first");
    text(1)->Delete();
    ASSERT_TRUE(writer.findTemplate());
    EXPECT_EQ(copiedLayer(writer), "FIRST");
}

} // namespace
} // namespace kalvex::testing
