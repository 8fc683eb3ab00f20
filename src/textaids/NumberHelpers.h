#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvex {

// True when every character is one of 0-7 (true for an empty text).
bool IsOctalDigits(std::u16string_view text);
// True when every character is a hexadecimal digit of either case (true for an empty text).
bool IsHexDigits(std::u16string_view text);

// Each character read as a decimal digit, weighted by 8 to the power of its place; 8 and 9
// count at face value. Nothing when a character is not a decimal digit. Wraps like int32.
std::optional<std::int32_t> ParseOctal(std::u16string_view text);

// The octal digits of a non-negative value, padded on the left with 0 to width characters.
// The value 0 gives width zeros (nothing for width 0).
std::u16string FormatOctal(std::uint32_t value, int width);

// A decimal integer with an optional sign and nothing else; nothing when it is not one or does
// not fit 32 bits.
std::optional<std::int32_t> parseDecimal(std::u16string_view text);

// Hexadecimal digits whose value fits 32 bits, leading zeros allowed, read as a 32-bit pattern
// (FFFFFFFF is -1); nothing otherwise.
std::optional<std::int32_t> parseHex(std::u16string_view text);

// A decimal number padded with 0 to width characters; a negative one keeps its minus sign in
// front and pads its magnitude so that the whole keeps the width where it can (-2 at width 3
// is -02).
std::u16string formatDecimal(std::int32_t value, int width);

// Upper-case hexadecimal with at least width digits; a negative value as its 32-bit two's
// complement.
std::u16string formatHex(std::int32_t value, int width);

// Octal padded to width; a negative value as a minus sign and its magnitude padded so that
// the whole keeps the width where it can.
std::u16string formatOctalSigned(std::int32_t value, int width);

// Wrapping 32-bit arithmetic.
std::int32_t wrapAdd(std::int32_t a, std::int32_t b);
std::int32_t wrapMul(std::int32_t a, std::int32_t b);

// Characters up to U+0020 are blank: spaces, tabs, line breaks, control characters.
std::u16string trimBlank(std::u16string_view text);
// What trimming the blanks at both ends keeps: the characters from first up to (not
// including) last.
struct BlankTrim {
    std::size_t first;
    std::size_t last;
};
BlankTrim blankTrim(std::u16string_view text);
bool isBlank(std::u16string_view text);

// White space in the Unicode sense: tab to carriage return, the space, U+0085, and the space,
// line and paragraph separators (no-break and ideographic space among them).
bool isWhiteSpace(char16_t c);
// The text without white space at both ends, as typed numbers are read.
std::u16string_view trimWhiteSpace(std::u16string_view text);

// A text split around its first or last run of the digits 0-9 after trimming.
struct DigitRun {
    std::u16string head;
    std::u16string digits; // empty when the text holds no digit
    std::u16string tail;
};

enum class RunEnd { First, Last };

DigitRun SplitDigitRun(std::u16string_view text, RunEnd which);

} // namespace kalvex
