#include <gtest/gtest.h>

#include "platform/Utf16.h"

namespace kalvex {
namespace {

struct Utf16Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

class Utf16RoundTrip : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16RoundTrip, ConvertsBothWays) {
    EXPECT_EQ(toUtf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(toUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16RoundTrip,
    testing::Values(Utf16Case{"Empty", "", u""}, Utf16Case{"Ascii", "TB-07 a~", u"TB-07 a~"},
                    Utf16Case{"TwoBytes", "\u00A5\u00B0", u"\u00A5\u00B0"},
                    Utf16Case{"ThreeBytes", "配管－０２ ｶﾞ", u"配管－０２ ｶﾞ"},
                    Utf16Case{"SurrogatePair", "\U0002000B\U0001F600", u"\U0002000B\U0001F600"},
                    Utf16Case{"Nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const testing::TestParamInfo<Utf16Case>& info) { return std::string(info.param.name); });

TEST(Utf16Malformed, BecomesTheReplacementCharacter) {
    EXPECT_EQ(toUtf16("a\xFF"
                      "b"),
              u"a\uFFFDb");
    EXPECT_EQ(toUtf16("\xE3\x81"), u"\uFFFD") << "a sequence cut short";
    EXPECT_EQ(toUtf16("\xC0\xAF"), u"\uFFFD\uFFFD") << "an overlong form";
    EXPECT_EQ(toUtf16("\xED\xA0\x80"), u"\uFFFD") << "an encoded surrogate";
    EXPECT_EQ(toUtf8(u"x\xD800y"), "x\uFFFDy") << "a lone high surrogate";
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xDC00))), "\uFFFD") << "a lone low surrogate";
}

} // namespace
} // namespace kalvex
