#include <random>

#include <gtest/gtest.h>

#include "operations/BulkWriteMessage.h"
#include "operations/HitSort.h"
#include "operations/LockedHits.h"
#include "search/SearchPattern.h"

namespace kalvex {
namespace {

TEST(SearchPatternTest, PatternAndCaptionFollowTheTextAndMode) {
    struct Case {
        QString text;
        MatchMode mode;
        QString pattern;
    };
    const std::vector<Case> cases = {
        {"", MatchMode::Contains, "*"},
        {"", MatchMode::Prefix, "*"},
        {"ABC", MatchMode::Prefix, "ABC*"},
        {"ABC", MatchMode::Contains, "*ABC*"},
        {"P-1?1*", MatchMode::Contains, "*P-1?1**"},
        {"配線", MatchMode::Prefix, "配線*"},
    };
    for (const Case& c : cases) {
        const QString pattern = searchPattern(c.text, c.mode);
        EXPECT_EQ(pattern, c.pattern) << c.text.toStdString();
        EXPECT_EQ(patternCaption(pattern), "[" + c.pattern + "] (部分一致)");
    }
}

TEST(BulkWriteMessageTest, ReportsWrittenTriedAndLockedRows) {
    struct Case {
        BulkWriteCount count;
        QString message;
    };
    const std::vector<Case> cases = {
        {{0, 0, 0}, "更新対象の TEXT はありません．"},
        {{3, 3, 0}, "3 / 3 個の TEXT を更新しました．"},
        {{2, 1, 1}, "1 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．"},
        {{0, 0, 4}, "更新対象の TEXT はありません．\nロック画層の TEXT 4 個は更新されません．"},
        {{12, 0, 0}, "0 / 12 個の TEXT を更新しました．"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromStdString(bulkWriteMessage(c.count)), c.message);
}

// Where the sort shows its progress.
class ProgressLabel : public RunWindow {
public:
    explicit ProgressLabel(std::string shown = {}) : text(std::move(shown)) {}
    void inform(const std::string&) override {}
    void warn(const std::string&) override {}
    void showProgress(const std::string& shown) override { text = shown; }
    void runStarts() override {}
    void runEnds() override {}
    bool proceed() override { return true; }

    std::string text;
};

std::vector<Orvik2> hitsOf(const std::vector<std::string>& texts) {
    std::vector<Orvik2> hits;
    for (std::size_t i = 0; i < texts.size(); ++i)
        hits.push_back({.sHnd = std::to_string(i), .text = texts[i]});
    return hits;
}

// The procedure the order must equal: exchange item i with every later item that sorts before
// it, comparing UTF-16 code units.
std::vector<std::string> plainExchangeOrder(std::vector<Orvik2> hits) {
    for (std::size_t i = 0; i + 1 < hits.size(); ++i)
        for (std::size_t j = i + 1; j < hits.size(); ++j)
            if (QString::fromStdString(hits[j].text) < QString::fromStdString(hits[i].text))
                std::swap(hits[i], hits[j]);
    std::vector<std::string> handles;
    for (const Orvik2& hit : hits)
        handles.push_back(hit.sHnd);
    return handles;
}

std::vector<std::string> handlesOf(const std::vector<Orvik2>& hits) {
    std::vector<std::string> handles;
    for (const Orvik2& hit : hits)
        handles.push_back(hit.sHnd);
    return handles;
}

TEST(SortHitsByTextTest, OrdersByUtf16UnitsAndEmptiesTheLabel) {
    ProgressLabel label("busy");
    // "𠀋" is a surrogate pair (D840 DC0B) and sorts before the full-width "Ａ" (FF21),
    // although its code point and its UTF-8 bytes are greater.
    std::vector<Orvik2> hits = hitsOf({"B", "A", "B", "C", "Ａ", "𠀋", "", "AB", "a"});
    SortHitsByText(hits, label);
    std::vector<std::string> texts;
    for (const Orvik2& hit : hits)
        texts.push_back(hit.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"", "A", "AB", "B", "B", "C", "a", "𠀋", "Ａ"}));
    EXPECT_TRUE(label.text.empty());
}

TEST(SortHitsByTextTest, EqualTextsEndAsTheExchangeProcedureLeavesThem) {
    std::mt19937 random(7);
    const std::vector<std::string> alphabet = {"", "A", "B", "AB", "ア", "B "};
    ProgressLabel label;
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> texts(random() % 12);
        for (std::string& text : texts)
            text = alphabet[random() % alphabet.size()];
        std::vector<Orvik2> hits = hitsOf(texts);
        const std::vector<std::string> expected = plainExchangeOrder(hits);
        SortHitsByText(hits, label);
        ASSERT_EQ(handlesOf(hits), expected) << "round " << round;
    }
}

TEST(LockedLayersTest, MarksOnlyExactNamesOfTheList) {
    std::vector<Orvik2> hits = {{.lay = "OLD"}, {.lay = "OLD2"}, {.lay = "old"},
                                {.lay = "0"},   {.lay = "旧図"}, {.lay = ""}};
    markLockedHits(hits, "\tOLD\t旧図\t");
    std::vector<bool> locked;
    for (const Orvik2& hit : hits)
        locked.push_back(hit.locked);
    EXPECT_EQ(locked, (std::vector<bool>{true, false, false, false, true, false}));
}

TEST(LockedLayersTest, ABlankListLeavesTheHitsAlone) {
    for (const std::string list : {"\t", "", " \t "}) {
        std::vector<Orvik2> hits = {{.lay = "", .locked = true}, {.lay = "0"}};
        markLockedHits(hits, list);
        EXPECT_TRUE(hits[0].locked);
        EXPECT_FALSE(hits[1].locked);
    }
}

} // namespace
} // namespace kalvex
