#include <gtest/gtest.h>

#include "TabsFixture.h"
#include "operations/ViewFollow.h"
#include "operations/search/HitEditor.h"
#include "operations/search/TextSearch.h"

namespace kalvex {
namespace {

// The search tab: the drawing-wide search, the bulk write of edited hits and the view following
// the hit the user is on.
class TabsSearch : public TabsTest {
protected:
    std::optional<std::vector<Orvik2>> search(const std::string& pattern) {
        return SearchTexts(link, pattern, window, records.searchSource);
    }
    HitWriteResult write(const std::vector<HitEdit>& edits) {
        return WriteSearchHits(link, records.searchSource, edits, window);
    }
    static std::vector<std::string> textsOf(const std::vector<Orvik2>& hits) {
        std::vector<std::string> texts;
        for (const Orvik2& hit : hits)
            texts.push_back(hit.text);
        return texts;
    }
};

TEST_F(TabsSearch, FindsTheMatchingTextsSortedAsUtf16WithLockedLayersMarked) {
    drawing().addLayer("旧", true);
    // "𠀋" is a surrogate pair (D840 DC0B) and sorts before "Ａ" (FF21) in UTF-16, although its
    // UTF-8 bytes are greater.
    drawing().addText("配管Ａ", {0, 0, 0});
    drawing().addText("配管𠀋", {10, 0, 0});
    drawing().addText("配線", {20, 0, 0});
    const std::string old = drawing().addText("配管B", {30, 0, 0}, "旧");
    drawing().addInsert("PUMP", {40, 0, 0}, {{"NAME", "配管C"}});

    const auto hits = search("*配管*");
    ASSERT_TRUE(hits);
    EXPECT_EQ(textsOf(*hits), (std::vector<std::string>{"配管B", "配管𠀋", "配管Ａ"}));
    EXPECT_TRUE((*hits)[0].locked);
    EXPECT_EQ((*hits)[0].sHnd, old);
    EXPECT_FALSE((*hits)[1].locked);
    EXPECT_EQ((*hits)[2].insPt, cad::CadPoint(0, 0, 0));
    EXPECT_EQ(drawing().lastFilter().values, (std::vector<std::string>{"TEXT", "*配管*"}));
    EXPECT_TRUE(drawing().selectionSets().empty()) << "the search's selection set is removed";
    EXPECT_EQ(window.progress, "") << "the sort empties the progress at its end";
    EXPECT_FALSE(window.running);
}

TEST_F(TabsSearch, AnAbortedSearchOrNoCadGivesNoHits) {
    for (int i = 0; i < 5; ++i)
        drawing().addText("T" + std::to_string(i), {double(i), 0, 0});
    window.abortAfter = 2;
    EXPECT_FALSE(search("*"));
    EXPECT_TRUE(drawing().selectionSets().empty());

    window.abortAfter = -1;
    server.closeMainWindow();
    EXPECT_FALSE(search("*"));
}

TEST_F(TabsSearch, TheBulkWriteWritesChangedHitsSkipsLockedAndErasedOnes) {
    drawing().addLayer("旧", false);
    drawing().addText("P-1", {0, 0, 0});
    drawing().addText("P-2", {0, 10, 0});
    drawing().addText("P-3", {0, 20, 0});
    drawing().addText("P-4", {0, 30, 0}, "旧");
    lockLayer("旧");
    auto hits = *search("P-*");
    ASSERT_EQ(hits.size(), 4u);
    drawing().erase(hits[2].sHnd);
    const auto result = write({{&hits[0], "P-10"}, {&hits[2], "P-30"}, {&hits[3], "P-40"}});

    EXPECT_EQ(result.outcome, WriteBack::Done);
    EXPECT_EQ(bulkWriteMessage(result.count),
              "1 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．");
    EXPECT_EQ(textOf(hits[0].sHnd), "P-10");
    EXPECT_EQ(hits[0].text, "P-10");
    EXPECT_EQ(textOf(hits[1].sHnd), "P-2");
    EXPECT_EQ(textOf(hits[3].sHnd), "P-4");
    EXPECT_EQ(hits[3].text, "P-4");
    EXPECT_EQ(drawing().at(hits[0].sHnd).updates, 1) << "a written TEXT is redrawn";
    EXPECT_EQ(drawing().undoMarks(), 1);
}

TEST_F(TabsSearch, EnterWritesOneHitAndReadsItBackButNotOnALockedLayer) {
    drawing().addLayer("旧", true);
    drawing().addText("P-1", {0, 0, 0});
    drawing().addText("P-2", {0, 10, 0});
    drawing().addText("P-3", {0, 20, 0}, "旧");
    auto hits = *search("P-*");
    ASSERT_EQ(hits.size(), 3u);
    const std::string source = records.searchSource;

    EXPECT_EQ(WriteSearchHit(link, source, hits[0], "P-1A", window), WriteBack::Done);
    EXPECT_EQ(textOf(hits[0].sHnd), "P-1A");
    EXPECT_EQ(hits[0].text, "P-1A");

    unlockLayer("旧");
    EXPECT_EQ(WriteSearchHit(link, source, hits[2], "P-3A", window), WriteBack::Refused)
        << "a hit found on a locked layer stays unwritten";
    EXPECT_EQ(textOf(hits[2].sHnd), "P-3");

    drawing().erase(hits[1].sHnd);
    EXPECT_EQ(WriteSearchHit(link, source, hits[1], "P-2A", window), WriteBack::Refused);
    EXPECT_EQ(hits[1].text, "P-2") << "the row goes back to the drawing's string";
    EXPECT_TRUE(window.messages.empty());

    server.closeMainWindow();
    EXPECT_EQ(WriteSearchHit(link, source, hits[0], "P-1B", window), WriteBack::NoCad);
    EXPECT_EQ(textOf(hits[0].sHnd), "P-1A");
}

TEST_F(TabsSearch, TheBulkWriteWithoutCadWritesNothing) {
    drawing().addText("P-1", {0, 0, 0});
    auto hits = *search("P-*");
    server.closeMainWindow();
    EXPECT_EQ(write({{&hits[0], "P-10"}}).outcome, WriteBack::NoCad);
    EXPECT_EQ(textOf(hits[0].sHnd), "P-1");
}

TEST_F(TabsSearch, TheViewFollowsTheHitAtItsHeightAndNotWithoutCad) {
    drawing().addText("P-1", {1000, 500, 0});
    const auto hits = *search("P-*");
    followRecord(link, records.searchSource, hits[0].insPt);
    ASSERT_EQ(drawing().zooms(), 1);
    EXPECT_EQ(drawing().zoomLowerLeft().y, 450);
    EXPECT_EQ(drawing().zoomUpperRight().y, 550);
    EXPECT_EQ((drawing().zoomLowerLeft().x + drawing().zoomUpperRight().x) / 2, 1000);

    server.closeMainWindow();
    followRecord(link, records.searchSource, hits[0].insPt);
    EXPECT_EQ(drawing().zooms(), 1);
}

} // namespace
} // namespace kalvex
