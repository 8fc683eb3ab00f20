#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace kalvex {

// True when every character is one of 0-7 (true for an empty text).
bool IsOctalDigits(QStringView text);
// True when every character is a hexadecimal digit of either case (true for an empty text).
bool IsHexDigits(QStringView text);

// Each character read as a decimal digit, weighted by 8 to the power of its place; 8 and 9
// count at face value. Nothing when a character is not a decimal digit. Wraps like int32.
std::optional<std::int32_t> ParseOctal(QStringView text);

// The octal digits of a non-negative value, padded on the left with 0 to width characters.
// The value 0 gives width zeros (nothing for width 0).
QString FormatOctal(std::uint32_t value, int width);

// A decimal integer with an optional sign and nothing else; nothing when it is not one or does
// not fit 32 bits.
std::optional<std::int32_t> parseDecimal(QStringView text);

// Hexadecimal digits whose value fits 32 bits, leading zeros allowed, read as a 32-bit pattern
// (FFFFFFFF is -1); nothing otherwise.
std::optional<std::int32_t> parseHex(QStringView text);

// A decimal number padded with 0 to width characters; a negative one keeps its minus sign in
// front and pads its magnitude so that the whole keeps the width where it can (-2 at width 3
// is -02).
QString formatDecimal(std::int32_t value, int width);

// Upper-case hexadecimal with at least width digits; a negative value as its 32-bit two's
// complement.
QString formatHex(std::int32_t value, int width);

// Octal padded to width; a negative value as a minus sign and its magnitude padded so that
// the whole keeps the width where it can.
QString formatOctalSigned(std::int32_t value, int width);

// Wrapping 32-bit arithmetic.
std::int32_t wrapAdd(std::int32_t a, std::int32_t b);
std::int32_t wrapMul(std::int32_t a, std::int32_t b);

// Characters up to U+0020 are blank: spaces, tabs, line breaks, control characters.
QString trimBlank(QStringView text);
// What trimming the blanks at both ends keeps: the characters from first up to (not
// including) last.
struct BlankTrim {
    qsizetype first;
    qsizetype last;
};
BlankTrim blankTrim(QStringView text);
bool isBlank(QStringView text);

// A text split around its first or last run of the digits 0-9 after trimming.
struct DigitRun {
    QString head;
    QString digits; // empty when the text holds no digit
    QString tail;
};

enum class RunEnd { First, Last };

DigitRun SplitDigitRun(QStringView text, RunEnd which);

} // namespace kalvex
