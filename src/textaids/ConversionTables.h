#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace kalvex {

// One pair of a conversion table: the full-width string and its half-width string, each one or
// two UTF-16 units long.
struct WidthPair {
    char16_t full[3];
    char16_t half[3];
};

using ConversionTable = std::span<const WidthPair>;

enum class Direction { HalfToFull, FullToHalf };

extern const std::array<WidthPair, 10> DigitTable;
extern const std::array<WidthPair, 52> AlphabetTable;
extern const std::array<WidthPair, 14> NumberTable;
extern const std::array<WidthPair, 33> SymbolTable;
extern const std::array<WidthPair, 84> KanaTable;

// Applies every pair of the table in table order, each as a plain case-sensitive substring
// replacement of the pair's source side by its target side. The order matters: voiced kana
// pairs come before the plain kana so that a base and its mark become one letter.
std::u16string ReplaceByTable(std::u16string text, ConversionTable table, Direction direction);

} // namespace kalvex
