#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "dxftool/AttributeTable.h"

using namespace kalvex::dxftool;

namespace {

std::string firstFault(std::string_view table) {
    return kalvex::peer::firstFault(
        [&](Problems& problems) { parseAttributeTable(table, "t.tsv", problems); });
}

} // namespace

TEST(AttributeTable, DuplicateTagsAreNumberedWithinOneReference) {
    EXPECT_EQ(attributeKeys({"NO", "NAME", "NO", "NO", "name"}),
              (std::vector<std::string>{"NO", "NAME", "NO(1)", "NO(2)", "name"}));
    EXPECT_TRUE(attributeKeys({}).empty());
}

TEST(AttributeTable, WritesHandleAsTextAndMissingTagsAsAngleBrackets) {
    const std::vector<std::string> keys = {"NO", "NAME", "NO(1)"};
    const AttributeRow row{
        "1A", "VALVE", {{"NO", "NO", "V-1"}, {"NO", "NO(1)", "6\" \"pipe\"\t2"}}};
    EXPECT_EQ(formatAttributeHeader(keys, FileColumn::Write, ByteOrderMark::Omit),
              "FILE\tHANDLE\tBLOCKNAME\tFINGERPRINT\tNO\tNAME\tNO(1)\n");
    EXPECT_EQ(formatAttributeHeader(keys, FileColumn::Omit, ByteOrderMark::Write),
              "\xEF\xBB\xBFHANDLE\tBLOCKNAME\tFINGERPRINT\tNO\tNAME\tNO(1)\n");
    EXPECT_EQ(formatAttributeRow("a.dxf", row, keys, FileColumn::Write),
              "a.dxf\t'1A\tVALVE\t'290be4880d6c\tV-1\t<>\t\"6\"\" \"\"pipe\"\"\t2\"\n");
    EXPECT_EQ(formatAttributeRow("a.dxf", row, {"NAME"}, FileColumn::Omit),
              "'1A\tVALVE\t'290b\t<>\n");
}

TEST(AttributeTable, ReadsBackWhatItWrites) {
    const std::vector<std::string> keys = {"NO", "NAME", "NO(1)"};
    const AttributeRow first{"1A", "VALVE", {{"NO", "NO", "V-1"}, {"NAME", "NAME", "給水\t弁"}}};
    const AttributeRow second{"2B", "PUMP", {{"NO", "NO(1)", "\"P\""}, {"NAME", "NAME", ""}}};
    const std::string table = formatAttributeHeader(keys, FileColumn::Write, ByteOrderMark::Write) +
                              formatAttributeRow("dir/a b.dxf", first, keys, FileColumn::Write) +
                              formatAttributeRow("b.dxf", second, keys, FileColumn::Write);
    Problems problems;
    const AttributeTable read = parseAttributeTable(table, "t.tsv", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(read.namesFiles);
    EXPECT_EQ(read.keys, keys);
    ASSERT_EQ(read.entries.size(), 2u);
    const AttributeEntry& a = read.entries[0];
    EXPECT_EQ(a.line, 2);
    EXPECT_EQ(a.file, "dir/a b.dxf");
    EXPECT_EQ(a.handle, "1A");
    EXPECT_EQ(a.block, "VALVE");
    EXPECT_EQ(a.cells, (std::vector<std::optional<std::string>>{"V-1", "給水\t弁", std::nullopt}));
    const AttributeEntry& b = read.entries[1];
    EXPECT_EQ(b.line, 3);
    EXPECT_EQ(b.cells, (std::vector<std::optional<std::string>>{std::nullopt, "", "\"P\""}));
}

// A spreadsheet may move columns and drop the apostrophe; a tag may be called HANDLE too.
TEST(AttributeTable, TheHeaderDecidesTheColumns) {
    Problems problems;
    const AttributeTable read =
        parseAttributeTable("NAME\tBLOCKNAME\tHANDLE\tHANDLE\nx\tB\t1F\ty\n", "t.tsv", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_FALSE(read.namesFiles);
    EXPECT_EQ(read.keys, (std::vector<std::string>{"NAME", "HANDLE"}));
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].handle, "1F");
    EXPECT_EQ(read.entries[0].cells, (std::vector<std::optional<std::string>>{"x", "y"}));
}

TEST(AttributeTable, BadTablesNameTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "t.tsv:1: the table is empty"},
        {"\n\nHANDLE\tNO\n", "t.tsv:3: the header row needs the columns HANDLE and BLOCKNAME"},
        {"HANDLE\tBLOCKNAME\tNO\tNO\n", "t.tsv:1: the column \"NO\" appears twice"},
        {"HANDLE\tBLOCKNAME\t\tNO\n", "t.tsv:1: column 3 has no name"},
        {"HANDLE\tBLOCKNAME\tNO\n'1A\tB\n", "t.tsv:2: expected 3 fields, found 2"},
        {"HANDLE\tBLOCKNAME\tNO\n'\tB\tx\n", "t.tsv:2: the handle is empty"},
        {"FILE\tHANDLE\tBLOCKNAME\tNO\n\t1A\tB\tx\n", "t.tsv:2: the file is empty"},
        {"HANDLE\tBLOCKNAME\tNO\n1A\tB\t\"x\n",
         "t.tsv:2: a double quote opens a field here that never ends"},
    };
    for (const auto& [table, message] : cases)
        EXPECT_EQ(firstFault(table), message) << table;
}
