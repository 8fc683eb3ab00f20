#include <gtest/gtest.h>

#include "dxftool/TableText.h"
#include "dxftool/TextTable.h"

using namespace kalvex::dxftool;
using namespace std::string_literals;

namespace {

std::string utf16(const std::u16string& text, bool littleEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

std::string decodeFault(std::string_view bytes) {
    try {
        return "decoded: " + decodeTable(bytes, "t.tsv");
    } catch (const TableError& error) {
        return error.what();
    }
}

std::vector<std::vector<std::string>> recordsOf(std::string_view text, std::vector<int>* lines) {
    SpreadsheetRecords records(text, "t.tsv");
    std::vector<std::vector<std::string>> all;
    std::vector<std::string> fields;
    int line = 0;
    while (records.next(fields, line)) {
        all.push_back(fields);
        lines->push_back(line);
    }
    return all;
}

} // namespace

// Every way a spreadsheet saves "配電盤 ｿ\\" gives the same text; ｿ and ソ end in a byte that is a
// backslash in ASCII.
TEST(TableText, DecodesWhatSpreadsheetsSave) {
    const std::string text = "HANDLE\t配電盤 ｿソ\\\r\n";
    const std::u16string wide = u"HANDLE\t配電盤 ｿソ\\\r\n";
    const std::string cp932 = "HANDLE\t\x94\x7A\x93\x64\x94\xD5 \xBF\x83\x5C\\\r\n";
    const std::pair<const char*, std::string> encodings[] = {
        {"UTF-8", text},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text},
        {"UTF-16LE with mark", "\xFF\xFE" + utf16(wide, true)},
        {"UTF-16BE with mark", "\xFE\xFF" + utf16(wide, false)},
        {"UTF-16LE without mark", utf16(wide, true)},
        {"UTF-16BE without mark", utf16(wide, false)},
        {"CP932", cp932},
    };
    for (const auto& [name, bytes] : encodings)
        EXPECT_EQ(decodeTable(bytes, "t.tsv"), text) << name;
    EXPECT_EQ(decodeTable("HANDLE\t\xF0\x9F\x98\x80\n", "t.tsv"), "HANDLE\t😀\n");
    EXPECT_EQ(decodeTable("\xFF\xFE" + utf16(u"A\t😀", true), "t.tsv"), "A\t😀");
}

TEST(TableText, SaysWhyATableCannotBeRead) {
    const std::string notText = "the table is not a text file; save it as tab-separated text";
    const std::string neither = "the table is neither UTF-8, UTF-16 nor CP932 text";
    const std::pair<std::string, std::string> cases[] = {
        {"A\tB\nok\n\xFF\xFE\xFF\n"s, "t.tsv:3: " + neither},
        // Line 2 is CP932, line 3 neither.
        {"A\n\x94\x7A\n\xFD\n"s, "t.tsv:3: " + neither},
        {"PK\x03\x04\x14\x00"s, "t.tsv:1: " + notText},
        {"AB\0\0\0"s, "t.tsv:1: " + notText},
        {"\xFF\xFE"s + "A\0B"s,
         "t.tsv:1: the table looks like UTF-16 text but has an odd number of bytes"},
        {"\xFF\xFE"s + utf16(u"A\nB", true) + "\x00\xD8"s + "C\0"s,
         "t.tsv:2: the UTF-16 text holds a broken surrogate pair"},
    };
    for (const auto& [bytes, message] : cases)
        EXPECT_EQ(decodeFault(bytes), message);
}

TEST(TableText, LinesEndAtLfOrCrLf) {
    TableLines lines("a\r\nb\n\nc\r");
    std::vector<std::pair<int, std::string>> seen;
    std::string_view line;
    while (lines.next(line))
        seen.emplace_back(lines.number(), std::string(line));
    EXPECT_EQ(seen,
              (std::vector<std::pair<int, std::string>>{{1, "a"}, {2, "b"}, {3, ""}, {4, "c"}}));
}

TEST(TableText, QuotedFieldsHoldTabsQuotesAndLineBreaks) {
    std::vector<int> lines;
    const auto records = recordsOf("H\tV\r\n"
                                   "1\t\"a\tb\"\r\n"
                                   "\r\n"
                                   "2\t\"say \"\"hi\"\"\"\r\n"
                                   "3\t\"two\nlines\"\r\n"
                                   "4\t6\" pipe\t\n"
                                   "5\t\"\"",
                                   &lines);
    const std::vector<std::vector<std::string>> expected = {
        {"H", "V"},          {"1", "a\tb"},         {"2", "say \"hi\""},
        {"3", "two\nlines"}, {"4", "6\" pipe", ""}, {"5", ""},
    };
    EXPECT_EQ(records, expected);
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 4, 5, 7, 8}));
}

TEST(TableText, AQuotedFieldThatNeverEndsNamesItsLine) {
    std::vector<int> lines;
    try {
        recordsOf("H\tV\n1\tok\n2\t\"open\nstill open\n", &lines);
        FAIL() << "read";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "t.tsv:3: a double quote opens a field here that never ends");
    }
}
