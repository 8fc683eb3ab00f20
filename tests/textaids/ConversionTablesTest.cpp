#include <gtest/gtest.h>

#include <QString>

#include "textaids/ConversionTables.h"

namespace kalvex {
namespace {

std::u16string str(std::u16string_view text) {
    return std::u16string(text);
}

struct TableCase {
    const char* name;
    ConversionTable table;
    Direction direction;
    std::u16string_view input;
    std::u16string_view expected;
};

class ReplaceByTableTest : public testing::TestWithParam<TableCase> {};

TEST_P(ReplaceByTableTest, ConvertsAsListed) {
    const TableCase& c = GetParam();
    EXPECT_EQ(ReplaceByTable(str(c.input), c.table, c.direction), str(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ReplaceByTableTest,
    testing::Values(
        TableCase{"VoicedKana", KanaTable, Direction::HalfToFull, u"ｶﾞｷﾞｸﾞ", u"ガギグ"},
        TableCase{"SemiVoicedKana", KanaTable, Direction::HalfToFull, u"ﾊﾟﾝ", u"パン"},
        TableCase{"MarkWithoutVoicedLetterStays", KanaTable, Direction::HalfToFull, u"ｱﾞ",
                  u"ア\uFF9E"},
        TableCase{"LoneMarksAndUnlistedPunctuationStay", KanaTable, Direction::HalfToFull, u"ﾞﾟ｡､･",
                  u"ﾞﾟ｡､･"},
        TableCase{"FullToHalfKana", KanaTable, Direction::FullToHalf, u"ヴァイオリン", u"ｳﾞｧｲｵﾘﾝ"},
        TableCase{"KanaWithoutHalfFormStays", KanaTable, Direction::FullToHalf, u"ヰヱヵヶヮ",
                  u"ヰヱヵヶヮ"},
        TableCase{"Brackets", KanaTable, Direction::FullToHalf, u"「ケーブル」", u"｢ｹｰﾌﾞﾙ｣"},
        TableCase{"NumberFullToHalf", NumberTable, Direction::FullToHalf, u"－１２．５，０",
                  u"-12.5,0"},
        TableCase{"DigitFullToHalfLeavesSigns", DigitTable, Direction::FullToHalf,
                  u"－１２．５，０", u"－12．5，0"},
        TableCase{"NumberHalfToFull", NumberTable, Direction::HalfToFull, u"+3.5,-9",
                  u"＋３．５，－９"},
        TableCase{"SymbolsHalfToFull", SymbolTable, Direction::HalfToFull, u" \\\"'`",
                  u"\u3000￥\u201D\u2019\u2018"},
        TableCase{"SymbolsLeaveLettersAndDigits", SymbolTable, Direction::HalfToFull, u"A-1(b)",
                  u"A－1（b）"},
        TableCase{"SymbolsFullToHalf", SymbolTable, Direction::FullToHalf, u"\u3000￥\u201D｛～｝",
                  u" \\\"{~}"},
        TableCase{"AlphabetBothCases", AlphabetTable, Direction::HalfToFull, u"Az-9", u"Ａｚ-9"},
        TableCase{"AlphabetFullToHalf", AlphabetTable, Direction::FullToHalf, u"ＴＢ－ｘ",
                  u"TB－x"}),
    [](const testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

// Every pair must turn back into itself, one side at a time: a table whose voiced entries
// came after the plain kana would leave a lone mark here.
TEST(ConversionTables, EveryPairRoundTrips) {
    for (const ConversionTable table :
         {ConversionTable(DigitTable), ConversionTable(AlphabetTable), ConversionTable(NumberTable),
          ConversionTable(SymbolTable), ConversionTable(KanaTable)}) {
        for (const WidthPair& pair : table) {
            const std::u16string full = str(pair.full);
            const std::u16string half = str(pair.half);
            EXPECT_EQ(ReplaceByTable(half, table, Direction::HalfToFull), full)
                << QString::fromStdU16String(half).toStdString();
            EXPECT_EQ(ReplaceByTable(full, table, Direction::FullToHalf), half)
                << QString::fromStdU16String(full).toStdString();
        }
    }
}

TEST(ConversionTables, KanaComeFromTheirBlocks) {
    for (const WidthPair& pair : KanaTable) {
        const char16_t full = pair.full[0];
        EXPECT_TRUE((full >= 0x30A1 && full <= 0x30F4) || full == 0x30FC || full == 0x300C ||
                    full == 0x300D)
            << int(full);
        for (const char16_t half : std::u16string_view(pair.half))
            EXPECT_TRUE(half >= 0xFF62 && half <= 0xFF9F) << int(half);
    }
}

TEST(ConversionTables, SizesAndOrderOfTheGeneratedTables) {
    EXPECT_EQ(str(DigitTable.front().full), u"０");
    EXPECT_EQ(str(DigitTable.back().half), u"9");
    EXPECT_EQ(str(AlphabetTable[25].half), u"Z");
    EXPECT_EQ(str(AlphabetTable[26].full), u"ａ");
    for (std::size_t i = 0; i < DigitTable.size(); ++i)
        EXPECT_EQ(str(NumberTable[i].full), str(DigitTable[i].full));
    EXPECT_EQ(str(NumberTable[10].half) + str(NumberTable[11].half) + str(NumberTable[12].half) +
                  str(NumberTable[13].half),
              u"+-.,");
    EXPECT_EQ(str(KanaTable[36].full), u"ー");
    EXPECT_EQ(str(KanaTable[36].half), u"\uFF70");
}

} // namespace
} // namespace kalvex
