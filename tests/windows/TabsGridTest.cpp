#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "TabsFixture.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/HandOff.h"
#include "operations/TextLineWriter.h"
#include "operations/attrgrid/AttrGridFetch.h"
#include "operations/attrgrid/AttrGridUpdate.h"

namespace kalvex {
namespace {

// The attribute grid: a fetch of picked block references into rows, one column per tag, and
// the update writing the cells back.
class TabsGrid : public TabsTest {
protected:
    void SetUp() override {
        TabsTest::SetUp();
        drawing().addBlock({"PUMP",
                            {{"AcDbAttributeDefinition", "NAME", "機器名"},
                             {"AcDbText", "", ""},
                             {"AcDbAttributeDefinition", "SPEC", ""}}});
        drawing().addBlock({"VALVE", {{"AcDbAttributeDefinition", "SPEC", "仕様"}}});
    }
    GridFetch fetch(std::vector<std::string> picked, const std::string& pattern = "*") {
        drawing().queuePick(std::move(picked));
        CadSession session(link, CadOperation::Fetch);
        EXPECT_TRUE(session.connected());
        GridFetch fetched =
            FetchGrid(*session.document(), link, pattern, {"NAME", "SPEC"}, window, records);
        session.finish();
        return fetched;
    }
    // Every cell of the grid with the value it shows, changed where the test says.
    std::vector<GridEdit> cellsWith(std::map<std::string, std::string> changed) {
        std::vector<GridEdit> edits;
        for (nAtt& record : records.gridAttrs) {
            const auto found = changed.find(record.text);
            edits.push_back({&record, found == changed.end() ? record.text : found->second});
        }
        return edits;
    }
    std::string attributeOf(const std::string& insert, std::size_t k) {
        return drawing().at(insert).attributes.at(k);
    }
};

TEST_F(TabsGrid, FetchOrdersTheBlocksAndPlacesTheirAttributesUnderTheTags) {
    const std::string p2 =
        drawing().addInsert("PUMP", {20, 0, 0}, {{"NAME", "P-2"}, {"SPEC", "7kW"}});
    const std::string p1 =
        drawing().addInsert("PUMP", {0, 0, 0}, {{"NAME", "P-1"}, {"SPEC", "5kW"}});
    const std::string v1 = drawing().addInsert("VALVE", {10, 1, 0}, {{"SPEC", "25A"}});
    const std::string other = drawing().addInsert("TANK", {5, 0, 0}, {{"VOLUME", "1m3"}});

    const GridFetch fetched = fetch({p2, other, p1, v1});
    EXPECT_EQ(fetched.end, GridFetchEnd::Done);
    EXPECT_EQ(fetched.picked, 4);
    ASSERT_EQ(records.gridBlocks.size(), 3u) << "a block without a tag of the set has no row";
    EXPECT_EQ(records.gridBlocks[0].sHnd, p1);
    EXPECT_EQ(records.gridBlocks[1].sHnd, v1);
    EXPECT_EQ(records.gridBlocks[2].blkName, "PUMP");
    EXPECT_EQ(fetched.rowsReached, 3);
    ASSERT_EQ(records.gridAttrs.size(), 5u);
    std::vector<std::tuple<int, int, std::string>> shown;
    for (const GridCell& cell : fetched.cells)
        shown.emplace_back(cell.col, cell.row, records.gridAttrs.at(cell.attribute - 1).text);
    EXPECT_EQ(shown,
              (std::vector<std::tuple<int, int, std::string>>{
                  {1, 1, "P-1"}, {2, 1, "5kW"}, {2, 2, "25A"}, {1, 3, "P-2"}, {2, 3, "7kW"}}));
    EXPECT_EQ(fetched.prompts, (std::vector<std::string>{"機器名", "仕様"}))
        << "a column takes the first prompt its attributes have";
    EXPECT_EQ(window.progress, "ATTR = 3 / 4");
    EXPECT_FALSE(IsIconic(tool));
}

TEST_F(TabsGrid, AnAbortedFetchHasNoRowsAndNothingPickedKeepsTheRecords) {
    const std::string p1 = drawing().addInsert("PUMP", {0, 0, 0}, {{"NAME", "P-1"}});
    fetch({p1});
    ASSERT_EQ(records.gridAttrs.size(), 1u);
    EXPECT_EQ(fetch({}).end, GridFetchEnd::NothingPicked);
    EXPECT_EQ(records.gridAttrs.size(), 1u);

    window.abortAfter = 0;
    const GridFetch aborted = fetch({p1});
    EXPECT_EQ(aborted.end, GridFetchEnd::Done);
    EXPECT_TRUE(records.gridBlocks.empty());
    EXPECT_TRUE(aborted.cells.empty());
}

TEST_F(TabsGrid, UpdateWritesEveryCellAndSkipsErasedAndLockedAttributes) {
    drawing().addLayer("L", false);
    const std::string p1 =
        drawing().addInsert("PUMP", {0, 0, 0}, {{"NAME", "P-1"}, {"SPEC", "5kW"}});
    const std::string p2 = drawing().addInsert("PUMP", {10, 0, 0}, {{"NAME", "P-2"}});
    const std::string p3 = drawing().addInsert("PUMP", {20, 0, 0}, {{"NAME", "P-3"}}, "L");
    fetch({p1, p2, p3});
    drawing().erase(attributeOf(p2, 0));
    lockLayer("L");

    WriteGridCells(link, records.gridSource,
                   cellsWith({{"P-1", "P-1A"}, {"P-2", "P-2A"}, {"P-3", "P-3A"}}), window);
    EXPECT_EQ(textOf(attributeOf(p1, 0)), "P-1A");
    EXPECT_EQ(records.gridAttrs[0].text, "P-1A");
    EXPECT_EQ(textOf(attributeOf(p1, 1)), "5kW");
    EXPECT_EQ(drawing().at(attributeOf(p1, 1)).updates, 1) << "unchanged cells are written too";
    EXPECT_EQ(textOf(attributeOf(p2, 0)), "P-2");
    EXPECT_EQ(records.gridAttrs[2].text, "P-2") << "the record keeps the drawing's value";
    EXPECT_EQ(textOf(attributeOf(p3, 0)), "P-3");

    EXPECT_EQ(WriteGridCell(link, records.gridSource, records.gridAttrs[3], "P-3B", window),
              WriteBack::Refused);
    EXPECT_EQ(records.gridAttrs[3].text, "P-3") << "the cell goes back to the drawing's value";
    EXPECT_EQ(WriteGridCell(link, records.gridSource, records.gridAttrs[0], "P-1B", window),
              WriteBack::Done);
    EXPECT_EQ(textOf(attributeOf(p1, 0)), "P-1B");
    EXPECT_EQ(records.gridAttrs[0].text, "P-1B");
    try {
        writeEntityText<cad::AttributeReference>(*connect()->ActiveDocument(),
                                                 records.gridAttrs[3].sHnd, "P-3B");
        ADD_FAILURE() << "the locked layer refuses the write";
    } catch (const cad::CadError& error) {
        EXPECT_EQ(std::string(error.what()), "The object is on a locked layer: L")
            << "the refusal carries the CAD's own words";
    }
}

TEST_F(TabsGrid, WithTheCadClosedTheUpdateWritesNothing) {
    const std::string p1 = drawing().addInsert("PUMP", {0, 0, 0}, {{"NAME", "P-1"}});
    fetch({p1});
    server.closeMainWindow();
    server.log().clearCalls();
    WriteGridCells(link, records.gridSource, cellsWith({{"P-1", "P-1A"}}), window);
    EXPECT_EQ(WriteGridCell(link, records.gridSource, records.gridAttrs[0], "P-1B", window),
              WriteBack::NoCad);
    EXPECT_EQ(textOf(attributeOf(p1, 0)), "P-1");
    EXPECT_TRUE(server.log().calls().empty());
}

} // namespace
} // namespace kalvex
