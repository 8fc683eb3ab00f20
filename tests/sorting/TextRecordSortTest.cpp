#include <gtest/gtest.h>

#include "sorting/TextRecordSort.h"

namespace kalvex {
namespace {

std::vector<Orvik> recordsAt(std::initializer_list<std::pair<double, double>> points) {
    std::vector<Orvik> records;
    for (const auto& [x, y] : points) {
        Orvik r;
        r.index = static_cast<int>(records.size());
        r.text = "T" + std::to_string(r.index);
        r.insPt = cad::CadPoint(x, y);
        records.push_back(r);
    }
    return records;
}

std::vector<int> indices(const std::vector<Orvik>& records) {
    std::vector<int> result;
    for (const Orvik& r : records)
        result.push_back(r.index);
    return result;
}

TEST(SortTextRecordsTest, PicksTheDirectionFromTheLargerExtent) {
    struct Case {
        const char* name;
        std::vector<Orvik> records;
        int mode;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        // Vertical extent 20 is not smaller than horizontal 5: top to bottom.
        {"taller", recordsAt({{0, 10}, {0, 20}, {5, 0}}), 3, {1, 0, 2}},
        // Extents 10 in X and 0 in Y: left to right.
        {"wider", recordsAt({{10, 0}, {0, 0}}), 3, {1, 0}},
        // Equal extents count as vertical.
        {"square", recordsAt({{0, 0}, {10, 10}}), 3, {1, 0}},
        {"mode 4 behaves like 3", recordsAt({{10, 0}, {0, 0}}), 4, {1, 0}},
        {"explicit X", recordsAt({{3, 9}, {1, 0}, {2, 5}}), 0, {1, 2, 0}},
        {"explicit Y", recordsAt({{3, 0}, {1, 9}, {2, 5}}), 1, {1, 2, 0}},
        {"other mode keeps the order", recordsAt({{3, 0}, {1, 9}}), 2, {0, 1}},
        {"single record", recordsAt({{3, 0}}), 3, {0}},
        // Equal keys end where the exchange procedure leaves them, not in fetch order.
        {"equal X", recordsAt({{1, 0}, {1, 0}, {0, 0}}), 0, {2, 1, 0}},
    };
    for (Case c : cases) {
        SortTextRecords(c.records, c.mode);
        EXPECT_EQ(indices(c.records), c.expected) << c.name;
    }
}

TEST(SortTextRecordsTest, MovesWholeRecordsAndKeepsTheFetchIndex) {
    auto records = recordsAt({{0, 10}, {0, 20}, {5, 0}});
    records[1].sHnd = "2A";
    records[1].lay = "TERM";
    SortTextRecords(records, 3);
    EXPECT_EQ(records[0].sHnd, "2A");
    EXPECT_EQ(records[0].lay, "TERM");
    EXPECT_EQ(records[0].text, "T1");
    EXPECT_EQ(records[0].index, 1);
}

TEST(SortTextRecordsTest, APointThatIsNoArrayIsAnError) {
    auto records = recordsAt({{0, 10}, {0, 20}});
    records[1].insPt = cad::CadPoint();
    EXPECT_THROW(SortTextRecords(records, 3), cad::CadError);
}

} // namespace
} // namespace kalvex
