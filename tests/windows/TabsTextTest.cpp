#include <gtest/gtest.h>

#include "TabsFixture.h"
#include "cadlink/HandOff.h"
#include "operations/SourceDrawing.h"
#include "operations/texttab/AttrFetch.h"
#include "operations/texttab/TextAlignment.h"
#include "operations/texttab/TextFetch.h"
#include "operations/texttab/TextUpdate.h"

namespace kalvex {
namespace {

// The TEXT tab: fetch by picking, then update or alignment from the editor's lines.
class TabsText : public TabsTest {
protected:
    // Picks these TEXTs, as "TEXT" does.
    FetchResult fetch(std::vector<std::string> picked, FetchOrder order = FetchOrder::ByPosition) {
        drawing().queuePick(std::move(picked));
        CadSession session(link, CadOperation::Fetch);
        EXPECT_TRUE(session.connected());
        const FetchResult result = FetchTexts(*session.document(), waiter, order, window, records);
        session.finish();
        return result;
    }
    // Writes the lines back, as "更新(Ctrl+Enter)" does.
    void update(std::vector<std::string> lines, double dX = 0.0, double dY = -10.0,
                EditorContent content = EditorContent::Texts) {
        const TextLines input{std::move(lines), dX, dY, content};
        writeToSourceDrawing(link, CadOperation::TextUpdate, records.textSource, window,
                             [&](cad::Document& document) {
                                 UpdateTexts(document, records.textRecords, input, window);
                             });
    }
    std::string handleOf(std::size_t k) const { return records.textRecords.at(k).sHnd; }

    // Three TEXTs down a column, 10 apart.
    void addColumn() {
        a = drawing().addText("A", {0, 30, 0});
        b = drawing().addText("B", {0, 20, 0});
        c = drawing().addText("C", {0, 10, 0});
    }
    std::string a, b, c;
};

TEST_F(TabsText, FetchOrdersByTheLargerExtentAndLeavesOutLockedAndMultiLineTexts) {
    drawing().addLayer("枠", true);
    const std::string right = drawing().addText("配管－右", {40, 0, 0});
    const std::string left = drawing().addText("配管－左", {0, 1, 0});
    const std::string middle = drawing().addText("中", {20, 2, 0});
    const std::string locked = drawing().addText("枠内", {10, 0, 0}, "枠");
    const std::string twoLines = drawing().addText("上\r\n下", {30, 0, 0});
    const std::string separated = drawing().addText("上\u2028下", {35, 0, 0});

    ASSERT_EQ(fetch({right, locked, left, twoLines, middle, separated}), FetchResult::Fetched);
    ASSERT_EQ(records.textRecords.size(), 3u);
    EXPECT_EQ(handleOf(0), left);
    EXPECT_EQ(handleOf(1), middle);
    EXPECT_EQ(handleOf(2), right);
    EXPECT_EQ(records.textRecords[0].text, "配管－左");
    EXPECT_EQ(records.textRecords[2].insPt, cad::CadPoint(40, 0, 0));
    EXPECT_EQ(window.messages, (std::vector<std::string>{"ロック画層のTEXT 1 個を除外しました.",
                                                         "改行を含むTEXT 2 個を除外しました."}));
    EXPECT_EQ(drawing().lastFilter().values, std::vector<std::string>{"TEXT"});
    EXPECT_FALSE(IsIconic(tool));
}

TEST_F(TabsText, AFetchWithNothingPickedKeepsTheRecords) {
    addColumn();
    ASSERT_EQ(fetch({c, a}, FetchOrder::AsPicked), FetchResult::Fetched);
    EXPECT_EQ(handleOf(0), c) << "in pick order";
    EXPECT_EQ(fetch({}), FetchResult::NothingPicked);
    EXPECT_EQ(records.textRecords.size(), 2u);
}

TEST_F(TabsText, UpdateRewritesDeletesAndAppendsAsOneUndoStep) {
    addColumn();
    fetch({b, c, a});
    update({"A2", "", "C", "D", " ", "E"});

    EXPECT_EQ(textOf(a), "A2");
    EXPECT_FALSE(drawing().has(b)) << "a blank line deletes its TEXT";
    EXPECT_EQ(textOf(c), "C");
    ASSERT_EQ(records.textRecords.size(), 6u);
    EXPECT_TRUE(records.textRecords[1].sHnd.empty()) << "the deleted TEXT's record stays";
    const std::string d = handleOf(3);
    const std::string e = handleOf(5);
    EXPECT_EQ(textOf(d), "D");
    EXPECT_EQ(drawing().at(d).insertion, (fake::Point{0, 0, 0}));
    EXPECT_TRUE(records.textRecords[4].sHnd.empty()) << "a blank appended line adds no TEXT";
    EXPECT_EQ(textOf(e), "E");
    EXPECT_EQ(drawing().at(e).insertion, (fake::Point{0, -20, 0}));
    EXPECT_EQ(drawing().undoMarks(), 1);
    EXPECT_EQ(drawing().regens(), 1);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_FALSE(window.running);
}

TEST_F(TabsText, AnAbortedUpdateAppendsNothing) {
    addColumn();
    fetch({a, b, c});
    window.abortAfter = 1;
    update({"A2", "B2", "C2", "D"});
    EXPECT_EQ(textOf(a), "A2");
    EXPECT_EQ(textOf(b), "B2") << "the record whose write was under way";
    EXPECT_EQ(textOf(c), "C");
    ASSERT_EQ(records.textRecords.size(), 4u) << "the records follow the lines in use";
    EXPECT_TRUE(records.textRecords[3].sHnd.empty()) << "no TEXT was added for the last line";
}

TEST_F(TabsText, ATextErasedSinceTheFetchIsPassedOverAndKeepsItsLine) {
    addColumn();
    fetch({a, b, c});
    drawing().erase(b);
    update({"A2", "B2", "C2"});
    EXPECT_EQ(textOf(a), "A2");
    EXPECT_EQ(textOf(b), "B");
    EXPECT_EQ(textOf(c), "C2") << "the line after it goes to its own TEXT";
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(TabsText, ALayerLockedSinceTheFetchRefusesItsWritesAndStopsTheAppending) {
    drawing().addLayer("L", false);
    a = drawing().addText("A", {0, 30, 0}, "L");
    b = drawing().addText("B", {0, 20, 0});
    fetch({a, b});
    lockLayer("L");
    update({"A2", "B2"});
    EXPECT_EQ(textOf(a), "A") << "refused by the CAD";
    EXPECT_EQ(textOf(b), "B2");

    c = drawing().addText("C", {0, 10, 0}, "L");
    unlockLayer("L");
    fetch({b, c});
    lockLayer("L");
    update({"B3", "C3", "D"});
    EXPECT_EQ(textOf(b), "B3");
    EXPECT_EQ(textOf(c), "C") << "refused by the CAD";
    EXPECT_EQ(window.messages, std::vector<std::string>{"エラーのため、更新を中止しました．"})
        << "the TEXT to copy for the new line lies on the locked layer";
    EXPECT_EQ(records.textRecords.size(), 3u);
    EXPECT_FALSE(window.running);
}

TEST_F(TabsText, WithTheCadClosedNothingHappens) {
    addColumn();
    fetch({a, b, c});
    server.closeMainWindow();
    server.log().clearCalls();
    update({"A2", "B2", "C2"});
    EXPECT_EQ(textOf(a), "A");
    EXPECT_TRUE(server.log().calls().empty());
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(drawing().undoMarks(), 0);
}

TEST_F(TabsText, AlignmentStepsTheTextsFromTheFirstAndDeletesThoseWithoutALine) {
    addColumn();
    const std::string d = drawing().addText("D", {5, 5, 0});
    fetch({a, b, c, d});
    const TextLines input{{"A", "B2", "C"}, 20.0, 0.0, EditorContent::Texts};
    writeToSourceDrawing(
        link, CadOperation::GridUpdateOrAlign, records.textSource, window,
        [&](cad::Document& document) { AlignTexts(document, records.textRecords, input, window); });
    EXPECT_EQ(drawing().at(a).insertion, (fake::Point{0, 30, 0}));
    EXPECT_EQ(drawing().at(b).insertion, (fake::Point{20, 30, 0}));
    EXPECT_EQ(textOf(b), "B2");
    EXPECT_EQ(drawing().at(c).insertion, (fake::Point{40, 30, 0}));
    EXPECT_FALSE(drawing().has(d)) << "the record beyond the lines loses its TEXT";
    EXPECT_EQ(records.textRecords.size(), 4u);
    EXPECT_EQ(drawing().undoMarks(), 1);
}

TEST_F(TabsText, AttrFetchAndUpdateWriteTheValuesOfTheTagInThePickedBlocks) {
    const std::string pump =
        drawing().addInsert("PUMP", {10, 0, 0}, {{"NAME", "P-1"}, {"SPEC", "5kW"}});
    const std::string valve = drawing().addInsert("VALVE", {0, 0, 0}, {{"NAME", "V-1"}});
    const std::string multi = drawing().addInsert("PUMP", {20, 0, 0}, {{"NAME", "P\n2"}});
    drawing().queuePick({pump, valve, multi});
    int picked = 0;
    {
        CadSession session(link, CadOperation::Fetch);
        ASSERT_TRUE(session.connected());
        picked = FetchAttributes(*session.document(), link, {"NAME", "PUMP*"},
                                 FetchOrder::ByPosition, window, records);
        session.finish();
    }
    EXPECT_EQ(picked, 2) << "the block name pattern went into the pick's filter";
    ASSERT_EQ(records.textRecords.size(), 1u);
    const Orvik& name = records.textRecords[0];
    EXPECT_EQ(name.text, "P-1");
    EXPECT_EQ(name.parentHnd, pump);
    EXPECT_EQ(window.messages, std::vector<std::string>{"改行を含む属性値 1 個を除外しました."});

    window.messages.clear();
    update({"P-1A", "extra"}, 0.0, -10.0, EditorContent::Attributes);
    EXPECT_EQ(textOf(name.sHnd), "P-1A");
    EXPECT_EQ(textOf(drawing().at(pump).attributes[1]), "5kW");
    EXPECT_EQ(records.textRecords.size(), 1u) << "attribute values add no TEXTs";
    EXPECT_TRUE(window.messages.empty());
}

} // namespace
} // namespace kalvex
