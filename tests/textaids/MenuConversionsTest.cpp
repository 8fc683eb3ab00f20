#include <gtest/gtest.h>

#include "textaids/MenuConversions.h"
#include "textaids/TableConversions.h"
#include "textaids/WidthMapping.h"

namespace kalvex {
namespace {

TEST(MenuConversions, ParensToFullWidthTouchesOnlyHalfWidthParentheses) {
    EXPECT_EQ(ParensToFullWidth(u"f(x) = (a)（b）[c]"), u"f（x） = （a）（b）[c]");
    EXPECT_EQ(ParensToFullWidth(u")("), u"）（");
    EXPECT_EQ(ParensToFullWidth(u""), u"");
}

TEST(MenuConversions, ToFullWidthButSpacesKeepsEverySpaceHalfWidth) {
    EXPECT_EQ(ToFullWidthButSpaces(u"TB-07 ｶﾞ\u3000x"), u"ＴＢ－０７ ガ ｘ");
    EXPECT_EQ(ToFullWidthButSpaces(u"\u3000\u3000"), u"  ");
    // Apart from the spaces it is the width mapping itself.
    const std::u16string text = u"a(1)ｱﾞﾊﾟ\\~";
    EXPECT_EQ(ToFullWidthButSpaces(text), ToFullWidth(text));
}

TEST(TableConversions, FoundByItemNameOnly) {
    const TableConversion* kana = findTableConversion("N23");
    ASSERT_NE(kana, nullptr);
    EXPECT_EQ(kana->table.data(), KanaTable.data());
    EXPECT_EQ(kana->direction, Direction::HalfToFull);
    const TableConversion* symbols = findTableConversion("N26");
    ASSERT_NE(symbols, nullptr);
    EXPECT_EQ(symbols->table.data(), SymbolTable.data());
    EXPECT_EQ(symbols->direction, Direction::FullToHalf);
    EXPECT_EQ(findTableConversion("N2"), nullptr);
    EXPECT_EQ(findTableConversion("N231"), nullptr);
    EXPECT_EQ(findTableConversion(""), nullptr);
}

} // namespace
} // namespace kalvex
