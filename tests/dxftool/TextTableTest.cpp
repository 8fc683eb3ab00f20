#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "PeerSupport.h"
#include "drawing/tags/GroupCodeTypes.h"
#include "dxftool/TextTable.h"

using namespace kalvex::dxftool;

namespace {

// The entries of a table that has no malformed row.
std::vector<TableEntry> entriesOf(std::string_view bytes) {
    Problems problems;
    const ReadTable table = parseTable(bytes, "t.tsv", problems);
    EXPECT_TRUE(problems.empty()) << problems.front().message;
    return table.entries;
}

std::string firstFault(std::string_view table) {
    return kalvex::peer::firstFault(
        [&](Problems& problems) { parseTable(table, "t.tsv", problems); });
}

} // namespace

TEST(TextTable, EscapesAndUnescapesTheFourSpecialCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"a\tb", "a\\tb"},
        {"line\r\nnext", "line\\r\\nnext"},
        {"C:\\work\\", "C:\\\\work\\\\"},
        {"\\t is not a tab", "\\\\t is not a tab"},
        {"配電盤\t①", "配電盤\\t①"},
        {"", ""},
    };
    for (const auto& [value, field] : cases) {
        EXPECT_EQ(escapeField(value), field);
        EXPECT_EQ(unescapeField(field), value);
    }
}

TEST(TextTable, RejectsBackslashesThatStartNoEscape) {
    for (const char* field : {"\\", "a\\", "\\x41", "\\T", "C:\\work"})
        EXPECT_THROW(unescapeField(field), std::invalid_argument) << field;
}

TEST(TextTable, FormatsHeaderAndRowsWithThreeDecimals) {
    TextRow text{"2A", "TEXT", "", "", "DENKI", false, 10.0, -4.5, "配電盤\tP-1"};
    TextRow attribute{"3F", "ATTRIB", "VALVE", "TAG", "Locked", true, 100.12345, 0.0005, "V\\1"};
    const std::string expected =
        "handle\tkind\tblock\ttag\tlayer\tlocked\tx\ty\ttext\tfingerprint\n"
        "2A\tTEXT\t\t\tDENKI\t0\t10.000\t-4.500\t配電盤\\tP-1\t'e59f18c0\n"
        "3F\tATTRIB\tVALVE\tTAG\tLocked\t1\t100.123\t0.001\tV\\\\1\t'3820fafa\n";
    EXPECT_EQ(formatTable({text, attribute}, ByteOrderMark::Omit), expected);
    EXPECT_EQ(formatTable({text, attribute}, ByteOrderMark::Write), "\xEF\xBB\xBF" + expected);
}

// Coordinates are printed as "%.3f" prints them, halfway cases and huge numbers included.
TEST(TextTable, CoordinatesMatchPrintfWithThreeDecimals) {
    std::mt19937_64 random(27);
    std::vector<double> values = {0.0,        -0.0,   0.0005, -0.0005,      2.0005,
                                  1e15 + 0.5, -1e300, 1e-9,   123456.78950, 0.1 + 0.2};
    for (int i = 0; i < 2000; ++i) {
        values.push_back(std::uniform_real_distribution<double>(-1e6, 1e6)(random));
        values.push_back(static_cast<double>(random() % 2000001) / 2000.0 - 500.0);
    }
    for (const double value : values) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.3f", value);
        const std::string line = formatRow({"1", "TEXT", "", "", "0", false, value, 0.0, "t"});
        EXPECT_EQ(line.substr(13, line.find('\t', 13) - 13), expected) << value;
    }
}

TEST(TextTable, ReadsAnyColumnOrderWithBomCrLfAndBlankLines) {
    const std::string table = "\xEF\xBB\xBFtext\tlayer\thandle\r\n"
                              "new\\ttext\tDENKI\t2A\r\n"
                              "\r\n"
                              "\tX\t3F\r\n";
    const auto entries = entriesOf(table);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].line, 2);
    EXPECT_EQ(entries[0].handle, "2A");
    EXPECT_EQ(entries[0].text, "new\ttext");
    EXPECT_EQ(entries[1].line, 4);
    EXPECT_EQ(entries[1].handle, "3F");
    EXPECT_EQ(entries[1].text, "");
}

TEST(TextTable, ExportedTableReadsBack) {
    const std::vector<TextRow> rows = {
        {"2A", "TEXT", "", "", "0", false, 1, 2, "a\r\nb\\c\td"},
        {"2B", "ATTRIB", "B", "T", "0", false, 1, 2, ""},
    };
    const auto entries = entriesOf(formatTable(rows, ByteOrderMark::Write));
    ASSERT_EQ(entries.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(entries[i].handle, rows[i].handle);
        EXPECT_EQ(entries[i].text, rows[i].text);
    }
}

TEST(TextTable, BadTablesNameTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "t.tsv:1: the table is empty"},
        {"handle\tlayer\n", "t.tsv:1: the header row needs the columns \"handle\" and \"text\""},
        {"text\thandle\ttext\n", "t.tsv:1: the column \"text\" appears twice"},
        {"handle\ttext\n2A\tx\n2B\n", "t.tsv:3: expected 2 fields, found 1"},
        {"handle\ttext\n2A\tx\ty\n", "t.tsv:2: expected 2 fields, found 3"},
        {"handle\ttext\n\tx\n", "t.tsv:2: the handle is empty"},
        {"file\thandle\ttext\n\t2A\tx\n", "t.tsv:2: the file is empty"},
        {"handle\ttext\n2A\tC:\\work\n", "t.tsv:2: a backslash must be followed by t, r, n or \\"},
        {"handle\ttext\n2A\tok\n2B\t\xFF\x94\n",
         "t.tsv:3: the table is neither UTF-8, UTF-16 nor CP932 text"},
    };
    for (const auto& [table, message] : cases)
        EXPECT_EQ(firstFault(table), message) << table;
}

TEST(TextTable, EveryMalformedRowIsReportedAndTheRestRead) {
    Problems problems;
    const ReadTable table = parseTable("handle\ttext\n2A\tx\n2B\n2C\ty\n\tz\n", "t.tsv", problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_EQ(problems[1].line, 5);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries[1].handle, "2C");
    EXPECT_FALSE(table.namesFiles);
}

TEST(TextTable, ReadsUtf16TablesWithByteOrderMark) {
    const std::u16string table = u"handle\ttext\r\n2A\t配電盤\r\n";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (const char16_t unit : table) {
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    for (const std::string& bytes : {little, big}) {
        const auto entries = entriesOf(bytes);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].handle, "2A");
        EXPECT_EQ(entries[0].text, "配電盤");
    }
}

// A coordinate written from the drawing's text of it is what printing the number read from that
// text gives, for every shape of text: the usual ones are written from the digits, the rest (and
// decimals too near a half thousandth to decide from the text) by converting.
TEST(TextTable, CoordinatesWrittenFromTheDrawingsTextMatchPrintfOfTheNumberRead) {
    std::vector<std::string> texts = {
        "0.0",
        "-0.0",
        "0.000000",
        "-0.000000",
        "5",
        "5.",
        ".5",
        "-.5",
        "+2.5",
        " 12.25 ",
        "0012.5",
        "9.9995",
        "9.9996",
        "-9.99951",
        "0.0005",
        "-0.0005",
        "0.00049999",
        "0.00050001",
        "1.2345",
        "1.23449",
        "-0.0001",
        "999999999999.999",
        "9999999999999.5",
        "123456789.12345678",
        "1234567890.1234",
        "1e3",
        "1.5E-2",
        "abc",
        "",
        "-",
        ".",
        "1.2.3",
        "--1",
        "++1",
        "1,5",
        "0x10",
        "inf",
    };
    std::mt19937_64 random(27);
    const auto digits = [&](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        text += digits(random() % 14);
        if (random() % 5 != 0)
            text += "." + digits(random() % 9);
        // Decimals that end in a half thousandth, or just short of one or past it.
        if (i % 7 == 0)
            text += random() % 2 ? "5" : random() % 2 ? "49999" : "50001";
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.3f",
                      kalvex::dxf::parseReal(text).value_or(0.0));
        std::string line;
        appendRow(line, RowFields{"1", "TEXT", "", "", "0", false, RowCoordinate{0.0, text},
                                  RowCoordinate{}, "t"});
        EXPECT_EQ(line.substr(13, line.find('\t', 13) - 13), expected) << text;
    }
}
