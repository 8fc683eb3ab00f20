#include <QComboBox>

#include "TextTabFixture.h"
#include "cadlink/AttributeReference.h"
#include "texttab/AttrFetch.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

TEST(TagSelectionTest, TagAndBlockPatternOfAnEntry) {
    const struct {
        const char* entry;
        const char* tag;
        const char* pattern;
    } cases[] = {
        {"SENBAN:線番", "SENBAN", "*"}, {"NAME:機器名[PUMP*]", "NAME", "PUMP*"},
        {"NAME:[]", "NAME", "*"},       {"NAME:[", "NAME", "*"},
        {"NAME:[P]", "NAME", "P"},      {"SENBAN", "SENBAN", "*"},
        {"A[X]:y", "A[X]", "*"},        {"NAME:x]y[Z]", "NAME", "*"},
    };
    for (const auto& c : cases) {
        const TagSelection selection = parseTagSelection(QString::fromUtf8(c.entry));
        EXPECT_EQ(selection.tag, c.tag) << c.entry;
        EXPECT_EQ(selection.blockPattern, c.pattern) << c.entry;
    }
}

class AttrFetchTest : public TextTabTest {
protected:
    void SetUp() override {
        TextTabTest::SetUp();
        b.block("PUMP", {{"NAME", "Name", ""}, {"SPEC", "Rating", ""}});
        b.block("VALVE", {{"NAME", "Name", ""}});
    }
    // A block reference with a NAME (and a SPEC); the handles of the INSERT and its attributes.
    std::vector<std::string> pump(double x, const std::string& name) {
        return b.insert(
            {.block = "PUMP",
             .insertion = {x, 0, 0},
             .attributes = {{.tag = "NAME", .text = name}, {.tag = "SPEC", .text = "s"}}});
    }
    void fetchAttributes(const QString& entry, const std::vector<std::string>& inserts) {
        page().ComboBox1->setEditText(entry);
        picker->addPick(inserts);
        page().SpeedButton8->click();
    }
    std::string attributeText(const std::string& handle) {
        return cad::entityAs<cad::AttributeReference>(
                   model->application()->ActiveDocument()->HandleToObject(handle))
            ->TextString();
    }

    DrawingBuilder b;
};

TEST_F(AttrFetchTest, ValuesOfTheTagFillTheEditorWithSpacingFromTheBlocks) {
    const auto p1 = pump(10, "P-101");
    const auto p2 = pump(25, "P-102");
    use(b);
    page().CheckBox1->setChecked(false);
    fetchAttributes(QStringLiteral("NAME:機器名"), {p1[0], p2[0]});
    EXPECT_TRUE(form->work().ATTmode);
    EXPECT_EQ(editorLines(), (QStringList{"P-101", "P-102"}));
    ASSERT_EQ(records().size(), 2u);
    EXPECT_EQ(records()[1].sHnd, p2[1]);
    EXPECT_EQ(records()[1].parentHnd, p2[0]);
    EXPECT_EQ(records()[1].parentType, "INSERT");
    EXPECT_EQ(records()[1].insPt, cad::CadPoint(25, 0, 0));
    EXPECT_EQ(page().Edit1->text(), QStringLiteral("15.00"));
    EXPECT_TRUE(page().SpeedButton2->isEnabled());
    EXPECT_FALSE(page().SpeedButton6->isEnabled());
    EXPECT_TRUE(messages().empty());
}

TEST_F(AttrFetchTest, TheBlockPatternLimitsWhatCanBePicked) {
    const auto p = pump(0, "P-1");
    const auto v = b.insert({.block = "VALVE", .attributes = {{.tag = "NAME", .text = "V-1"}}});
    use(b);
    fetchAttributes(QStringLiteral("NAME:機器名[PUMP*]"), {v[0], p[0]});
    EXPECT_EQ(editorLines(), QStringList{"P-1"});
    EXPECT_EQ(page().Label2->text(), QStringLiteral("NAME = 1 / 1"));
}

TEST_F(AttrFetchTest, CountsOfPickedBlocksAndFoundValues) {
    std::vector<std::string> inserts;
    for (int i = 0; i < 10; ++i)
        inserts.push_back(pump(i, "P" + std::to_string(i))[0]);
    for (int i = 0; i < 2; ++i)
        inserts.push_back(
            b.insert({.block = "PUMP", .attributes = {{.tag = "SPEC", .text = "x"}}})[0]);
    use(b);
    fetchAttributes(QStringLiteral("NAME:機器名"), inserts);
    EXPECT_EQ(page().Label2->text(), QStringLiteral("NAME = 10 / 12"));
}

TEST_F(AttrFetchTest, NoBlockWithTheTagEmptiesTheEditorAndDisablesTheUpdate) {
    const auto p = pump(0, "P-1");
    use(b);
    fetchAttributes(QStringLiteral("JCMNT1:コメント１"), {p[0]});
    EXPECT_TRUE(records().empty());
    EXPECT_TRUE(editor().toPlainText().isEmpty());
    EXPECT_EQ(page().Edit1->text(), QStringLiteral("0.00"));
    EXPECT_FALSE(page().SpeedButton2->isEnabled());
}

TEST_F(AttrFetchTest, UpdateWritesAttributesBlankLinesIncludedAndIgnoresExtraLines) {
    const auto p1 = pump(0, "P-1");
    const auto p2 = pump(10, "P-2");
    const auto p3 = pump(20, "P-3");
    use(b);
    page().CheckBox1->setChecked(false);
    fetchAttributes(QStringLiteral("NAME:機器名"), {p1[0], p2[0], p3[0]});
    setSpacing(QStringLiteral("10"), QStringLiteral("0"));
    setLines(QStringLiteral("A-1\n  \nA-3\nextra"));
    update();
    EXPECT_EQ(attributeText(p1[1]), "A-1");
    EXPECT_EQ(attributeText(p2[1]), "  ") << "a blank line is written unchanged";
    EXPECT_EQ(attributeText(p3[1]), "A-3");
    EXPECT_EQ(records().size(), 3u);
    setLines(QStringLiteral("B-1"));
    update();
    EXPECT_EQ(attributeText(p1[1]), "B-1");
    EXPECT_EQ(attributeText(p3[1]), "A-3") << "attributes without a line stay";
    EXPECT_EQ(records().size(), 3u);
}

TEST_F(AttrFetchTest, ValuesHoldingALineBreakAreLeftOutAndCounted) {
    const auto p1 = pump(0, "P-1");
    const auto p2 = pump(10, "P\u20292");
    const auto p3 = pump(20, "P-3\r");
    const auto p4 = pump(30, "P-4");
    use(b);
    page().CheckBox1->setChecked(false);
    fetchAttributes(QStringLiteral("NAME:機器名"), {p1[0], p2[0], p3[0], p4[0]});
    EXPECT_EQ(editorLines(), (QStringList{"P-1", "P-4"}));
    EXPECT_EQ(page().Label2->text(), QStringLiteral("NAME = 2 / 4"));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("改行を含む属性値 2 個を除外しました.")});
    setLines(QStringLiteral("P-1\nP-4A"));
    update();
    EXPECT_EQ(attributeText(p2[1]), "P\u20292");
    EXPECT_EQ(attributeText(p3[1]), "P-3\r");
    EXPECT_EQ(attributeText(p4[1]), "P-4A");
}

TEST_F(AttrFetchTest, AFailureWhileCollectingBringsTheToolBack) {
    const auto p = pump(0, "P-1");
    use(b);
    faults->failOn("GetAttributes", p[0]);
    windows.calls.clear();
    fetchAttributes(QStringLiteral("NAME:機器名"), {p[0]});
    ASSERT_EQ(messages().size(), 1u) << "the error report";
    std::string lastState;
    for (const std::string& call : windows.calls) {
        if (call.rfind("minimise", 0) == 0 || call.rfind("normal", 0) == 0)
            lastState = call.substr(0, call.find(' '));
    }
    EXPECT_EQ(lastState, "normal");
}

} // namespace
} // namespace kalvex::testing
