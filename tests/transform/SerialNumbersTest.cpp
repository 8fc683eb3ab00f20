#include <gtest/gtest.h>

#include "transform/SerialNumbers.h"

namespace kalvex {
namespace {

SerialInput input(Radix radix, const char* prefix, const char* start, const char* step,
                  const char* count) {
    return {radix,     QString::fromUtf8(prefix), QString::fromUtf8(start),
            QString(), QString::fromUtf8(step),   QString::fromUtf8(count)};
}

struct SeriesCase {
    const char* name;
    SerialInput input;
    QStringList items;
    const char* preview;
};

class SerialSeriesTest : public testing::TestWithParam<SeriesCase> {};

TEST_P(SerialSeriesTest, GeneratesAndPreviews) {
    const SerialSeries series(GetParam().input);
    EXPECT_EQ(series.items(), GetParam().items);
    EXPECT_EQ(series.preview(), QString::fromUtf8(GetParam().preview));
}

QStringList decimalRange(int first, int last, int width) {
    QStringList list;
    for (int i = first; i <= last; ++i)
        list.append(QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')));
    return list;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialSeriesTest,
    testing::Values(SeriesCase{"Defaults", input(Radix::Decimal, "", "00", "1", "16"),
                               decimalRange(0, 15, 2), "[ 00 ] ～ [ 15 ]"},
                    SeriesCase{"ThreeDigitStart", input(Radix::Decimal, "", "000", "1", "16"),
                               decimalRange(0, 15, 3), "[ 000 ] ～ [ 015 ]"},
                    SeriesCase{
                        "HexUpperCased",
                        input(Radix::Hexadecimal, "io-", "0a", "1", "8"),
                        {"IO-0A", "IO-0B", "IO-0C", "IO-0D", "IO-0E", "IO-0F", "IO-10", "IO-11"},
                        "[ IO-0A ] ～ [ IO-11 ]"},
                    SeriesCase{"Octal",
                               input(Radix::Octal, "", "06", "1", "4"),
                               {"06", "07", "10", "11"},
                               "[ 06 ] ～ [ 11 ]"},
                    SeriesCase{"Step",
                               input(Radix::Decimal, "", "10", "5", "3"),
                               {"10", "15", "20"},
                               "[ 10 ] ～ [ 20 ]"},
                    SeriesCase{"FixedText",
                               input(Radix::Decimal, "sp", "", "1", "3"),
                               {"SP", "SP", "SP"},
                               "[ SP ] x 3"},
                    SeriesCase{"StepAndCountDefaultToOne",
                               input(Radix::Decimal, "", "7", "x", ""),
                               {"7"},
                               "[ 7 ] ～ [ 7 ]"},
                    SeriesCase{"NegativeDecimalKeepsWidth",
                               input(Radix::Decimal, "", "01", "-1", "3"),
                               {"01", "00", "-1"},
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
                               {"000000001", "000000002"},
                               "[ 000000001 ] ～ [ 000000002 ]"},
                    SeriesCase{"HexStartBeyond32Bits",
                               input(Radix::Hexadecimal, "", "100000000", "1", "2"),
                               {},
                               "開始数が16進数ではありません"},
                    SeriesCase{"BlanksAroundNumbersAreIgnored",
                               input(Radix::Decimal, "", " 5", " 2 ", "\u3000 3\t"),
                               {"5", "7", "9"},
                               "[ 5 ] ～ [ 9 ]"}),
    [](const testing::TestParamInfo<SeriesCase>& info) { return std::string(info.param.name); });

TEST(SerialSeries, SuffixFollowsTheCounterAndOnlyAsciiIsUpperCased) {
    SerialInput fields = input(Radix::Decimal, "ａb", "1", "1", "2");
    fields.suffix = QStringLiteral("-x");
    EXPECT_EQ(SerialSeries(fields).items(), QStringList({"ａB1-X", "ａB2-X"}));
}

} // namespace
} // namespace kalvex
