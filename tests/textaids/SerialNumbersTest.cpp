#include <gtest/gtest.h>

#include <QString>

#include "textaids/SerialNumbers.h"

namespace kalvex {
namespace {

SerialInput input(Radix radix, const char* prefix, const char* start, const char* step,
                  const char* count) {
    const auto u16 = [](const char* text) { return QString::fromUtf8(text).toStdU16String(); };
    return {radix, u16(prefix), u16(start), std::u16string(), u16(step), u16(count)};
}

struct SeriesCase {
    const char* name;
    SerialInput input;
    std::vector<std::u16string> items;
    const char* preview;
};

class SerialSeriesTest : public testing::TestWithParam<SeriesCase> {};

TEST_P(SerialSeriesTest, GeneratesAndPreviews) {
    const SerialSeries series(GetParam().input);
    EXPECT_EQ(series.items(), GetParam().items);
    EXPECT_EQ(series.preview(), QString::fromUtf8(GetParam().preview).toStdU16String());
}

std::vector<std::u16string> decimalRange(int first, int last, int width) {
    std::vector<std::u16string> list;
    for (int i = first; i <= last; ++i)
        list.push_back(QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')).toStdU16String());
    return list;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialSeriesTest,
    testing::Values(SeriesCase{"Defaults", input(Radix::Decimal, "", "00", "1", "16"),
                               decimalRange(0, 15, 2), "[ 00 ] ～ [ 15 ]"},
                    SeriesCase{"ThreeDigitStart", input(Radix::Decimal, "", "000", "1", "16"),
                               decimalRange(0, 15, 3), "[ 000 ] ～ [ 015 ]"},
                    SeriesCase{"HexUpperCased",
                               input(Radix::Hexadecimal, "io-", "0a", "1", "8"),
                               {u"IO-0A", u"IO-0B", u"IO-0C", u"IO-0D", u"IO-0E", u"IO-0F",
                                u"IO-10", u"IO-11"},
                               "[ IO-0A ] ～ [ IO-11 ]"},
                    SeriesCase{"Octal",
                               input(Radix::Octal, "", "06", "1", "4"),
                               {u"06", u"07", u"10", u"11"},
                               "[ 06 ] ～ [ 11 ]"},
                    SeriesCase{"Step",
                               input(Radix::Decimal, "", "10", "5", "3"),
                               {u"10", u"15", u"20"},
                               "[ 10 ] ～ [ 20 ]"},
                    SeriesCase{"FixedText",
                               input(Radix::Decimal, "sp", "", "1", "3"),
                               {u"SP", u"SP", u"SP"},
                               "[ SP ] x 3"},
                    SeriesCase{"StepAndCountDefaultToOne",
                               input(Radix::Decimal, "", "7", "x", ""),
                               {u"7"},
                               "[ 7 ] ～ [ 7 ]"},
                    SeriesCase{"NegativeDecimalKeepsWidth",
                               input(Radix::Decimal, "", "01", "-1", "3"),
                               {u"01", u"00", u"-1"},
                               "[ 01 ] ～ [ -1 ]"},
                    SeriesCase{"InvalidDecimalStart",
                               input(Radix::Decimal, "A", "1x", "1", "3"),
                               {},
                               "開始数が10進数ではありません"},
                    SeriesCase{"InvalidOctalStart",
                               input(Radix::Octal, "", "08", "1", "3"),
                               {},
                               "開始数が8進数ではありません"},
                    SeriesCase{"InvalidHexStart",
                               input(Radix::Hexadecimal, "", "0g", "1", "3"),
                               {},
                               "開始数が16進数ではありません"},
                    SeriesCase{"HexStartOfNineDigitsThatFits",
                               input(Radix::Hexadecimal, "", "000000001", "1", "2"),
                               {u"000000001", u"000000002"},
                               "[ 000000001 ] ～ [ 000000002 ]"},
                    SeriesCase{"HexStartBeyond32Bits",
                               input(Radix::Hexadecimal, "", "100000000", "1", "2"),
                               {},
                               "開始数が32ビットの範囲を超えています"},
                    SeriesCase{"DecimalStartBeyond32Bits",
                               input(Radix::Decimal, "", "-2147483649", "1", "2"),
                               {},
                               "開始数が32ビットの範囲を超えています"},
                    SeriesCase{"DecimalStartAtTheLowestValue",
                               input(Radix::Decimal, "", "-2147483648", "1", "2"),
                               {u"-2147483648", u"-2147483647"},
                               "[ -2147483648 ] ～ [ -2147483647 ]"},
                    SeriesCase{"BlanksAroundNumbersAreIgnored",
                               input(Radix::Decimal, "", " 5", " 2 ", "\u3000 3\t"),
                               {u"5", u"7", u"9"},
                               "[ 5 ] ～ [ 9 ]"}),
    [](const testing::TestParamInfo<SeriesCase>& info) { return std::string(info.param.name); });

TEST(SerialSeries, SuffixFollowsTheCounterAndOnlyAsciiIsUpperCased) {
    SerialInput fields = input(Radix::Decimal, "ａb", "1", "1", "2");
    fields.suffix = u"-x";
    EXPECT_EQ(SerialSeries(fields).items(), std::vector<std::u16string>({u"ａB1-X", u"ａB2-X"}));
}

} // namespace
} // namespace kalvex
