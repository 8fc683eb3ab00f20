#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "textaids/NumberHelpers.h"

namespace kalvex {

enum class Radix { Decimal, Hexadecimal, Octal };

// Where the number of a string is: in decimal the first or last digit run of the trimmed
// string; in hexadecimal and octal the last `width` characters of the string as it is.
struct NumberRule {
    Radix radix = Radix::Decimal;
    RunEnd run = RunEnd::Last;
    int width = 2;
};

// The string with addend added to its number (32-bit wrapping), or nothing when it has none.
// A decimal result is padded to the length of the digit run and the string comes back
// trimmed; a hexadecimal or octal result has at least `width` digits.
std::optional<std::u16string> AddToNumber(std::u16string_view text, const NumberRule& rule,
                                          std::int32_t addend);

} // namespace kalvex
