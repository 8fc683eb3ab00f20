#include <gtest/gtest.h>

#include <limits>

#include <QString>

#include "textaids/AddToNumber.h"

namespace kalvex {
namespace {

constexpr NumberRule kDecimalLast{Radix::Decimal, RunEnd::Last, 2};
constexpr NumberRule kDecimalFirst{Radix::Decimal, RunEnd::First, 2};
constexpr NumberRule kHex2{Radix::Hexadecimal, RunEnd::Last, 2};
constexpr NumberRule kHex4{Radix::Hexadecimal, RunEnd::Last, 4};
constexpr NumberRule kOctal2{Radix::Octal, RunEnd::Last, 2};

struct AddCase {
    const char* name;
    const char* text;
    NumberRule rule;
    std::int32_t addend;
    const char* expected; // nullptr: the text has no number
};

class AddToNumberTest : public testing::TestWithParam<AddCase> {};

TEST_P(AddToNumberTest, Adds) {
    const AddCase& c = GetParam();
    const std::optional<std::u16string> result =
        AddToNumber(QString::fromUtf8(c.text).toStdU16String(), c.rule, c.addend);
    if (c.expected == nullptr) {
        EXPECT_FALSE(result.has_value())
            << QString::fromStdU16String(result.value_or(u"")).toStdString();
    } else {
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, QString::fromUtf8(c.expected).toStdU16String());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddToNumberTest,
    testing::Values(
        AddCase{"TerminalFromEnd", "TB-07", kDecimalLast, 1, "TB-08"},
        AddCase{"LastRun", "A1-B9", kDecimalLast, 1, "A1-B10"},
        AddCase{"FirstRun", "A1-B9", kDecimalFirst, 1, "A2-B9"},
        AddCase{"TrimmedAtBothEnds", "  12  ", kDecimalLast, 1, "13"},
        AddCase{"NoDigits", "  AB  ", kDecimalLast, 1, nullptr},
        AddCase{"FullWidthDigitsAreNotDigits", "１２", kDecimalLast, 1, nullptr},
        AddCase{"ZeroFilledToRunWidth", "007", kDecimalLast, 1, "008"},
        AddCase{"Carry", "99", kDecimalLast, 1, "100"},
        AddCase{"NegativeAddend", "W-10", kDecimalLast, -3, "W-07"},
        AddCase{"NegativeResultKeepsWidth", "005", kDecimalLast, -7, "-02"},
        AddCase{"NegativeResultWiderThanRun", "5", kDecimalLast, -70, "-65"},
        AddCase{"RunTooLargeCountsAsZero", "N99999999999", kDecimalLast, 5, "N00000000005"},
        AddCase{"WrapsAt32Bits", "2147483647", kDecimalLast, 1, "-2147483648"},
        AddCase{"HexCarry", "X0F", kHex2, 1, "X10"}, AddCase{"HexGrows", "XFF", kHex2, 1, "X100"},
        AddCase{"HexLowerCaseField", "x0f", kHex2, 1, "x10"},
        AddCase{"HexNotADigit", "X0G", kHex2, 1, nullptr},
        AddCase{"HexNegativeIsTwosComplement", "X00", kHex2, -1, "XFFFFFFFF"},
        AddCase{"HexWholeShortString", "1A", kHex4, 1, "001B"},
        AddCase{"HexFieldNotTrimmed", "X0F ", kHex2, 1, nullptr},
        AddCase{"OctalCarry", "P07", kOctal2, 1, "P10"},
        AddCase{"OctalNotADigit", "P08", kOctal2, 1, nullptr},
        AddCase{"OctalNegativeKeepsWidth", "P01", kOctal2, -3, "P-2"},
        AddCase{"OctalNegativeWide", "P001", NumberRule{Radix::Octal, RunEnd::Last, 3}, -9, "P-10"},
        AddCase{"EmptyInEveryRadixHex", "", kHex2, 1, nullptr},
        AddCase{"EmptyInEveryRadixOctal", "", kOctal2, 1, nullptr},
        AddCase{"EmptyInEveryRadixDecimal", "", kDecimalLast, 1, nullptr}),
    [](const testing::TestParamInfo<AddCase>& info) { return std::string(info.param.name); });

TEST(NumberHelpers, DigitPredicatesAcceptEmptyText) {
    EXPECT_TRUE(IsOctalDigits(u""));
    EXPECT_TRUE(IsHexDigits(u""));
    EXPECT_TRUE(IsOctalDigits(u"01234567"));
    EXPECT_FALSE(IsOctalDigits(u"08"));
    EXPECT_TRUE(IsHexDigits(u"09afAF"));
    EXPECT_FALSE(IsHexDigits(u"0g"));
}

TEST(NumberHelpers, ParseOctalReadsEightAndNineAtFaceValue) {
    EXPECT_EQ(ParseOctal(u"17"), 15);
    EXPECT_EQ(ParseOctal(u"18"), 16);
    EXPECT_EQ(ParseOctal(u""), 0);
    EXPECT_FALSE(ParseOctal(u"1A").has_value());
}

TEST(NumberHelpers, FormatOctalPadsAndZeroGivesWidthZeros) {
    EXPECT_EQ(FormatOctal(8, 1), u"10");
    EXPECT_EQ(FormatOctal(9, 4), u"0011");
    EXPECT_EQ(FormatOctal(0, 3), u"000");
    EXPECT_EQ(FormatOctal(0, 0), u"");
}

TEST(NumberHelpers, ParseDecimalAcceptsOnlyASignedInt32) {
    EXPECT_EQ(parseDecimal(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseDecimal(u"+12"), 12);
    EXPECT_FALSE(parseDecimal(u"2147483648").has_value());
    EXPECT_FALSE(parseDecimal(u"abc").has_value());
    EXPECT_FALSE(parseDecimal(u"-").has_value());
    EXPECT_FALSE(parseDecimal(u" 1").has_value());
    EXPECT_FALSE(parseDecimal(u"").has_value());
}

TEST(NumberHelpers, ParseHexAcceptsAnyDigitRunWhoseValueFits32Bits) {
    EXPECT_EQ(parseHex(u"000000001"), 1);
    EXPECT_EQ(parseHex(u"0FFFFFFFF"), -1);
    EXPECT_EQ(parseHex(u"7fffffff"), std::numeric_limits<std::int32_t>::max());
    EXPECT_FALSE(parseHex(u"100000000").has_value());
    EXPECT_FALSE(parseHex(u"").has_value());
    EXPECT_FALSE(parseHex(u"0x1").has_value());
}

TEST(NumberHelpers, SplitDigitRunFindsFirstOrLastRun) {
    const DigitRun last = SplitDigitRun(u" A12-B345x ", RunEnd::Last);
    EXPECT_EQ(last.head, u"A12-B");
    EXPECT_EQ(last.digits, u"345");
    EXPECT_EQ(last.tail, u"x");
    const DigitRun first = SplitDigitRun(u" A12-B345x ", RunEnd::First);
    EXPECT_EQ(first.head, u"A");
    EXPECT_EQ(first.digits, u"12");
    EXPECT_EQ(first.tail, u"-B345x");
    const DigitRun none = SplitDigitRun(u"\tAB ", RunEnd::Last);
    EXPECT_EQ(none.head + none.tail, u"AB");
    EXPECT_TRUE(none.digits.empty());
}

} // namespace
} // namespace kalvex
