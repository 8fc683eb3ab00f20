#include <gtest/gtest.h>

#include "TabsFixture.h"
#include "cadlink/HandOff.h"
#include "operations/SourceDrawing.h"
#include "operations/ViewFollow.h"
#include "operations/attrgrid/AttrGridFetch.h"
#include "operations/attrgrid/AttrGridUpdate.h"
#include "operations/search/HitEditor.h"
#include "operations/search/TextSearch.h"
#include "operations/texttab/TextFetch.h"
#include "operations/texttab/TextUpdate.h"

namespace kalvex {
namespace {

const std::string kDrawingClosed =
    "データを取得した図面は閉じられています。図面には何も書き込みませんでした。";

// Two drawings open in the fake CAD, A in front and B behind it, made alike so that their
// handles are the same numbers: records of one drawing name entities of the other. Records
// are written back only into the drawing they came from, and only while it is the active one;
// the tool never brings a drawing to the front itself.
class IdentityTest : public InProcessTabsTest {
protected:
    fake::Drawing& drawingA() { return bInFront ? cad().backDrawing : cad().drawing; }
    fake::Drawing& drawingB() { return bInFront ? cad().drawing : cad().backDrawing; }
    // The user brings the other drawing to the front.
    void bringAToFront() { bringToFront(false); }
    void bringBToFront() { bringToFront(true); }
    static std::string textIn(fake::Drawing& drawing, const std::string& handle) {
        return drawing.at(handle).text;
    }
    // A TEXT at the same place in both drawings, with the same handle.
    std::string addTextToBoth(const std::string& inA, const std::string& inB,
                              const fake::Point& at) {
        const std::string handle = drawingA().addText(inA, at);
        EXPECT_EQ(drawingB().addText(inB, at), handle) << "the drawings share handles";
        return handle;
    }

private:
    fake::Cad& cad() { return server.cad(); }
    void bringToFront(bool b) {
        if (b != bInFront)
            cad().switchDrawings();
        bInFront = b;
    }
    bool bInFront = false;
};

class IdentityText : public IdentityTest {
protected:
    void fetch(std::vector<std::string> picked) {
        drawing().queuePick(std::move(picked));
        CadSession session(link, CadOperation::Fetch);
        ASSERT_TRUE(session.connected());
        FetchTexts(*session.document(), waiter, FetchOrder::ByPosition, window, records);
        session.finish();
    }
    WriteBack update(std::vector<std::string> lines) {
        const TextLines input{std::move(lines), 0.0, -10.0, EditorContent::Texts};
        return writeToSourceDrawing(link, CadOperation::TextUpdate, records.textSource, window,
                                    [&](cad::Document& document) {
                                        UpdateTexts(document, records.textRecords, input, window);
                                    });
    }
};

TEST_F(IdentityText, AnUpdateWritesOnlyIntoTheDrawingTheTextsCameFromWhileItIsActive) {
    const std::string first = addTextToBoth("A1", "B1", {0, 20, 0});
    const std::string second = addTextToBoth("A2", "B2", {0, 10, 0});
    fetch({first, second});
    ASSERT_EQ(records.textRecords.size(), 2u);

    bringBToFront();
    EXPECT_EQ(update({"X1", "X2"}), WriteBack::DrawingClosed);
    EXPECT_EQ(textIn(drawingB(), first), "B1") << "A's records went into B";
    EXPECT_EQ(textIn(drawingB(), second), "B2");
    EXPECT_EQ(drawingB().undoMarks, 0);
    EXPECT_EQ(textIn(drawingA(), first), "A1");
    EXPECT_EQ(window.messages, std::vector<std::string>{kDrawingClosed});

    window.messages.clear();
    bringAToFront();
    EXPECT_EQ(update({"X1", "X2"}), WriteBack::Done);
    EXPECT_EQ(textIn(drawingA(), first), "X1");
    EXPECT_EQ(textIn(drawingA(), second), "X2");
    EXPECT_EQ(textIn(drawingB(), first), "B1");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(IdentityText, RecordsOfTheDrawingBehindGoBackIntoItOnceItIsInFrontAgain) {
    const std::string first = addTextToBoth("A1", "B1", {0, 20, 0});
    bringBToFront();
    fetch({first});
    bringAToFront();
    EXPECT_EQ(update({"Y1"}), WriteBack::DrawingClosed);
    EXPECT_EQ(textIn(drawingA(), first), "A1");

    bringBToFront();
    EXPECT_EQ(update({"Y1"}), WriteBack::Done);
    EXPECT_EQ(textIn(drawingB(), first), "Y1");
    EXPECT_EQ(textIn(drawingA(), first), "A1");
}

class IdentityGrid : public IdentityTest {
protected:
    // A pump in both drawings, its NAME attribute under the same handle in each.
    std::string addPumpToBoth(const std::string& inA, const std::string& inB) {
        const std::string insert = drawingA().addInsert("PUMP", {0, 0, 0}, {{"NAME", inA}});
        EXPECT_EQ(drawingB().addInsert("PUMP", {0, 0, 0}, {{"NAME", inB}}), insert);
        return insert;
    }
    std::string nameIn(fake::Drawing& drawing, const std::string& insert) {
        return textIn(drawing, drawing.at(insert).attributes.at(0));
    }
    void fetch(std::vector<std::string> picked) {
        drawing().queuePick(std::move(picked));
        CadSession session(link, CadOperation::Fetch);
        ASSERT_TRUE(session.connected());
        FetchGrid(*session.document(), link, "*", {"NAME"}, window, records);
        session.finish();
    }
    void writeAll(const std::string& text) {
        WriteGridCells(link, records.gridSource, {{&records.gridAttrs.at(0), text}}, window);
    }
};

TEST_F(IdentityGrid, TheGridsWritesGoOnlyIntoTheDrawingTheRowsCameFromWhileItIsActive) {
    const std::string pump = addPumpToBoth("P-1", "Q-1");
    fetch({pump});
    ASSERT_EQ(records.gridAttrs.size(), 1u);

    bringBToFront();
    writeAll("P-1A");
    EXPECT_EQ(WriteGridCell(link, records.gridSource, records.gridAttrs[0], "P-1B", window),
              WriteBack::DrawingClosed);
    EXPECT_EQ(nameIn(drawingB(), pump), "Q-1");
    EXPECT_EQ(nameIn(drawingA(), pump), "P-1");
    EXPECT_EQ(records.gridAttrs[0].text, "P-1");
    EXPECT_EQ(window.messages, (std::vector<std::string>{kDrawingClosed, kDrawingClosed}));

    bringAToFront();
    writeAll("P-1A");
    EXPECT_EQ(nameIn(drawingA(), pump), "P-1A");
    EXPECT_EQ(WriteGridCell(link, records.gridSource, records.gridAttrs[0], "P-1B", window),
              WriteBack::Done);
    EXPECT_EQ(nameIn(drawingA(), pump), "P-1B");
    EXPECT_EQ(nameIn(drawingB(), pump), "Q-1");
    EXPECT_EQ(window.messages.size(), 2u) << "no message when the writes went through";
}

class IdentitySearch : public IdentityTest {
protected:
    std::vector<Orvik2> search(const std::string& pattern) {
        auto hits = SearchTexts(link, pattern, window, records.searchSource);
        EXPECT_TRUE(hits);
        return hits ? *hits : std::vector<Orvik2>();
    }
};

TEST_F(IdentitySearch, TheHitsWritesGoOnlyIntoTheDrawingSearchedWhileItIsActive) {
    const std::string text = addTextToBoth("P-1", "P-9", {0, 0, 0});
    auto hits = search("P-*");
    ASSERT_EQ(hits.size(), 1u);

    bringBToFront();
    EXPECT_EQ(WriteSearchHits(link, records.searchSource, {{&hits[0], "P-1A"}}, window).outcome,
              WriteBack::DrawingClosed);
    EXPECT_EQ(WriteSearchHit(link, records.searchSource, hits[0], "P-1B", window),
              WriteBack::DrawingClosed);
    EXPECT_EQ(textIn(drawingB(), text), "P-9");
    EXPECT_EQ(textIn(drawingA(), text), "P-1");
    EXPECT_EQ(window.messages, (std::vector<std::string>{kDrawingClosed, kDrawingClosed}));

    bringAToFront();
    EXPECT_EQ(WriteSearchHits(link, records.searchSource, {{&hits[0], "P-1A"}}, window).outcome,
              WriteBack::Done);
    EXPECT_EQ(textIn(drawingA(), text), "P-1A");
    EXPECT_EQ(WriteSearchHit(link, records.searchSource, hits[0], "P-1B", window), WriteBack::Done);
    EXPECT_EQ(textIn(drawingA(), text), "P-1B");
    EXPECT_EQ(textIn(drawingB(), text), "P-9");
}

using IdentityFollow = IdentitySearch;

TEST_F(IdentityFollow, TheViewFollowsOnlyInTheDrawingSearchedWhileItIsActive) {
    addTextToBoth("P-1", "P-1", {1000, 500, 0});
    const auto hits = search("P-*");
    ASSERT_EQ(hits.size(), 1u);

    bringBToFront();
    followRecord(link, records.searchSource, hits[0].insPt);
    EXPECT_EQ(drawingB().zooms, 0) << "B's view moved to a point of A";
    EXPECT_EQ(drawingA().zooms, 0);
    EXPECT_TRUE(window.messages.empty()) << "the follow is a courtesy and says nothing";

    bringAToFront();
    followRecord(link, records.searchSource, hits[0].insPt);
    EXPECT_EQ(drawingA().zooms, 1);
    EXPECT_EQ(drawingA().zoomLowerLeft.y, 450);
    EXPECT_EQ(drawingB().zooms, 0);
}

} // namespace
} // namespace kalvex
