#include "textaids/NumberHelpers.h"

#include <algorithm>
#include <limits>

namespace kalvex {

namespace {

bool isDecimalDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(char16_t c) {
    return isDecimalDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int hexValue(char16_t c) {
    if (isDecimalDigit(c))
        return c - u'0';
    return (c | 0x20) - u'a' + 10;
}

std::u16string padLeft(std::u16string digits, int width) {
    if (std::ptrdiff_t(digits.size()) < width)
        digits.insert(0, std::size_t(width) - digits.size(), u'0');
    return digits;
}

// The digits of value in the given radix, upper case, most significant first; empty for 0.
std::u16string digitsOf(std::uint32_t value, std::uint32_t radix) {
    std::u16string digits;
    for (; value != 0; value /= radix)
        digits.push_back(u"0123456789ABCDEF"[value % radix]);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::uint32_t magnitude(std::int32_t value) {
    return value < 0 ? 0u - std::uint32_t(value) : std::uint32_t(value);
}

} // namespace

bool IsOctalDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'7'; });
}

bool IsHexDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), isHexDigit);
}

std::optional<std::int32_t> ParseOctal(std::u16string_view text) {
    std::uint32_t value = 0;
    for (const char16_t c : text) {
        if (!isDecimalDigit(c))
            return std::nullopt;
        value = value * 8u + std::uint32_t(c - u'0');
    }
    return std::int32_t(value);
}

std::u16string FormatOctal(std::uint32_t value, int width) {
    return padLeft(digitsOf(value, 8), width);
}

std::optional<std::int32_t> parseDecimal(std::u16string_view text) {
    const bool negative = text.starts_with(u'-');
    const std::u16string_view digits = negative || text.starts_with(u'+') ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDecimalDigit))
        return std::nullopt;
    std::int64_t value = 0;
    for (const char16_t c : digits) {
        value = value * 10 + (c - u'0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(value);
}

// Leading zeros do not count against the eight digits of 32 bits.
std::optional<std::int32_t> parseHex(std::u16string_view text) {
    if (text.empty() || !IsHexDigits(text))
        return std::nullopt;
    while (text.size() > 1 && text.front() == u'0')
        text.remove_prefix(1);
    if (text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char16_t c : text)
        value = value * 16u + std::uint32_t(hexValue(c));
    return std::int32_t(value);
}

std::u16string formatDecimal(std::int32_t value, int width) {
    std::u16string digits = digitsOf(magnitude(value), 10);
    if (digits.empty())
        digits = u"0";
    if (value >= 0)
        return padLeft(std::move(digits), width);
    return u'-' + padLeft(std::move(digits), width - 1);
}

std::u16string formatHex(std::int32_t value, int width) {
    std::u16string digits = digitsOf(std::uint32_t(value), 16);
    if (digits.empty())
        digits = u"0";
    return padLeft(std::move(digits), width);
}

std::u16string formatOctalSigned(std::int32_t value, int width) {
    if (value >= 0)
        return FormatOctal(std::uint32_t(value), width);
    return u'-' + FormatOctal(magnitude(value), width - 1);
}

std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::uint32_t(a) + std::uint32_t(b));
}

std::int32_t wrapMul(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::uint32_t(a) * std::uint32_t(b));
}

BlankTrim blankTrim(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] <= u' ')
        ++first;
    while (last > first && text[last - 1] <= u' ')
        --last;
    return {first, last};
}

std::u16string trimBlank(std::u16string_view text) {
    const BlankTrim kept = blankTrim(text);
    return std::u16string(text.substr(kept.first, kept.last - kept.first));
}

bool isBlank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= u' '; });
}

bool isWhiteSpace(char16_t c) {
    if (c == u' ' || (c >= 0x09 && c <= 0x0D))
        return true;
    if (c < 0x85)
        return false;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::u16string_view trimWhiteSpace(std::u16string_view text) {
    while (!text.empty() && isWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

DigitRun SplitDigitRun(std::u16string_view text, RunEnd which) {
    const std::u16string trimmed = trimBlank(text);
    const std::ptrdiff_t size = std::ptrdiff_t(trimmed.size());
    auto digitAt = [&](std::ptrdiff_t i) { return isDecimalDigit(trimmed[std::size_t(i)]); };
    std::ptrdiff_t start = -1;
    std::ptrdiff_t end = -1;
    if (which == RunEnd::First) {
        for (std::ptrdiff_t i = 0; i < size && end < 0; ++i) {
            if (start < 0 && digitAt(i))
                start = i;
            if (start >= 0 && (i + 1 == size || !digitAt(i + 1)))
                end = i + 1;
        }
    } else {
        for (std::ptrdiff_t i = size - 1; i >= 0 && start < 0; --i) {
            if (end < 0 && digitAt(i))
                end = i + 1;
            if (end >= 0 && (i == 0 || !digitAt(i - 1)))
                start = i;
        }
    }
    if (start < 0)
        return {trimmed, {}, {}};
    return {trimmed.substr(0, std::size_t(start)),
            trimmed.substr(std::size_t(start), std::size_t(end - start)),
            trimmed.substr(std::size_t(end))};
}

} // namespace kalvex
