#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <QString>

#include "textaids/ConversionTables.h"
#include "textaids/WidthMapping.h"

namespace kalvex {
namespace {

struct WidthCase {
    const char* name;
    const char16_t* half;
    const char16_t* full;
};

std::u16string str(const char16_t* text) {
    return text;
}

class ToFullWidthTest : public testing::TestWithParam<WidthCase> {};

TEST_P(ToFullWidthTest, Maps) {
    EXPECT_EQ(ToFullWidth(str(GetParam().half)), str(GetParam().full));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToFullWidthTest,
    testing::Values(WidthCase{"Ascii", u"TB-07 a~!", u"ＴＢ－０７\u3000ａ～！"},
                    WidthCase{"BackslashAndQuotes", u"\\\"'", u"＼＂＇"},
                    WidthCase{"VoicedKana", u"ｶﾞｷﾞｸﾞ", u"ガギグ"},
                    WidthCase{"SemiVoicedKana", u"ﾊﾟﾝﾎﾟ", u"パンポ"},
                    WidthCase{"VoicedU", u"ｳﾞｧｲｵﾘﾝ", u"ヴァイオリン"},
                    WidthCase{"MarksThatCannotCompose", u"ｱﾞｶﾟﾞﾟ", u"ア\u309Bカ\u309C\u309B\u309C"},
                    WidthCase{"Punctuation", u"｡｢｣､･ｰ", u"。「」、・ー"},
                    WidthCase{"LatinSigns", u"\u00A2\u00A3\u00A5\u00A6\u00AC\u00AF",
                              u"\uFFE0\uFFE1\uFFE5\uFFE4\uFFE2\uFFE3"},
                    WidthCase{"OthersStay", u"漢字ひらがなカナ\u3000", u"漢字ひらがなカナ\u3000"},
                    WidthCase{"Empty", u"", u""}),
    [](const testing::TestParamInfo<WidthCase>& info) { return std::string(info.param.name); });

class ToHalfWidthTest : public testing::TestWithParam<WidthCase> {};

TEST_P(ToHalfWidthTest, Maps) {
    EXPECT_EQ(ToHalfWidth(str(GetParam().full)), str(GetParam().half));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToHalfWidthTest,
    testing::Values(WidthCase{"Ascii", u"TB-07 a~!\\", u"ＴＢ－０７\u3000ａ～！＼"},
                    WidthCase{"VoicedSplit", u"ｶﾞｷﾞｸﾞﾊﾟﾝｳﾞｧ", u"ガギグパンヴァ"},
                    WidthCase{"AllVoicedRows", u"ｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾋﾟﾌﾟﾍﾟ",
                              u"ザジズゼゾダヂヅデドバビブベボピプペ"},
                    WidthCase{"SmallKanaAndTsu", u"ｯﾂｪｴ", u"ッツェエ"},
                    WidthCase{"KanaWithoutHalfFormStay", u"ヰヱヵヶヮヷ", u"ヰヱヵヶヮヷ"},
                    WidthCase{"HiraganaAndKanjiStay", u"ひらがな漢字", u"ひらがな漢字"},
                    WidthCase{"Punctuation", u"｡｢｣､･ｰﾞﾟ", u"。「」、・ー\u309B\u309C"},
                    WidthCase{"LatinSigns", u"\u00A2\u00A3\u00AC\u00AF\u00A6\u00A5",
                              u"\uFFE0\uFFE1\uFFE2\uFFE3\uFFE4\uFFE5"},
                    WidthCase{"CurlyQuotesStay", u"\u201D\u2019", u"\u201D\u2019"}),
    [](const testing::TestParamInfo<WidthCase>& info) { return std::string(info.param.name); });

// Every half-width character the mapping knows comes back from its full-width form.
TEST(WidthMapping, HalfWidthRangeRoundTrips) {
    std::u16string half;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        half.push_back(c);
    for (char16_t c = 0xFF61; c <= 0xFF9D; ++c)
        half.push_back(c);
    EXPECT_EQ(ToHalfWidth(ToFullWidth(half)), half);
}

} // namespace
} // namespace kalvex

namespace kalvex {
namespace {

// The width mapping and the kana table are built independently; on text made of the table's
// kana they must agree in both directions.
TEST(WidthMapping, AgreesWithTheKanaTableOnRandomKanaText) {
    QRandomGenerator random(11);
    for (int round = 0; round < 300; ++round) {
        std::u16string full;
        for (int i = random.bounded(1, 12); i > 0; --i)
            full += KanaTable[random.bounded(int(KanaTable.size()))].full;
        const std::u16string half = ReplaceByTable(full, KanaTable, Direction::FullToHalf);
        EXPECT_EQ(ToHalfWidth(full), half) << QString::fromStdU16String(full).toStdString();
        EXPECT_EQ(ToFullWidth(half), full) << QString::fromStdU16String(half).toStdString();
        EXPECT_EQ(ReplaceByTable(half, KanaTable, Direction::HalfToFull), full);
    }
}

} // namespace
} // namespace kalvex
