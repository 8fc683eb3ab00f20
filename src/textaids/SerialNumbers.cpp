#include "textaids/SerialNumbers.h"

#include <algorithm>

namespace kalvex {

namespace {

std::optional<std::int32_t> parseStart(Radix radix, std::u16string_view start) {
    switch (radix) {
    case Radix::Decimal:
        return parseDecimal(start);
    case Radix::Hexadecimal:
        return parseHex(start);
    case Radix::Octal:
        return IsOctalDigits(start) ? ParseOctal(start) : std::nullopt;
    }
    return std::nullopt;
}

// Blanks typed around a number are no part of it, nor of the counter's width.
SerialInput withoutSurroundingBlanks(SerialInput input) {
    input.start = std::u16string(trimWhiteSpace(input.start));
    input.step = std::u16string(trimWhiteSpace(input.step));
    input.count = std::u16string(trimWhiteSpace(input.count));
    return input;
}

// Only digits of the radix (a sign allowed in decimal), whatever their value.
bool writtenInRadix(Radix radix, std::u16string_view start) {
    switch (radix) {
    case Radix::Decimal: {
        const std::u16string_view digits =
            !start.empty() && (start[0] == u'-' || start[0] == u'+') ? start.substr(1) : start;
        return !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                              [](char16_t c) { return c >= u'0' && c <= u'9'; });
    }
    case Radix::Hexadecimal:
        return !start.empty() && IsHexDigits(start);
    case Radix::Octal:
        return false;
    }
    return false;
}

} // namespace

std::u16string upperAscii(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    }
    return text;
}

std::u16string radixDisplay(Radix radix) {
    switch (radix) {
    case Radix::Decimal:
        return u"10進";
    case Radix::Hexadecimal:
        return u"16進";
    case Radix::Octal:
        return u" 8進";
    }
    return {};
}

SerialSeries::SerialSeries(const SerialInput& input)
    : m_input(withoutSurroundingBlanks(input)), m_start(parseStart(m_input.radix, m_input.start)),
      m_step(parseDecimal(m_input.step).value_or(1)),
      m_count(parseDecimal(m_input.count).value_or(1)) {}

std::u16string SerialSeries::formatCounter(std::int32_t value) const {
    const int width = int(m_input.start.size());
    switch (m_input.radix) {
    case Radix::Decimal:
        return formatDecimal(value, width);
    case Radix::Hexadecimal:
        return formatHex(value, width);
    case Radix::Octal:
        return formatOctalSigned(value, width);
    }
    return {};
}

std::u16string SerialSeries::item(std::int32_t b) const {
    if (!hasCounter())
        return upperAscii(m_input.prefix + m_input.suffix);
    const std::int32_t value = wrapAdd(m_start.value_or(0), wrapMul(b, m_step));
    return upperAscii(m_input.prefix + formatCounter(value) + m_input.suffix);
}

std::vector<std::u16string> SerialSeries::items() const {
    std::vector<std::u16string> list;
    if (!isValid())
        return list;
    for (std::int32_t b = 0; b < m_count; ++b)
        list.push_back(item(b));
    return list;
}

std::u16string SerialSeries::preview() const {
    if (!hasCounter())
        return u"[ " + upperAscii(m_input.prefix + m_input.suffix) + u" ] x " +
               formatDecimal(m_count, 0);
    if (!isValid())
        return invalidStartMessage();
    const std::u16string first = m_input.prefix + m_input.start + m_input.suffix;
    return upperAscii(u"[ " + first + u" ] ～ [ " + item(wrapAdd(m_count, -1)) + u" ]");
}

std::u16string SerialSeries::invalidStartMessage() const {
    // A start that is a number of the radix and still unreadable is one too large.
    if (writtenInRadix(m_input.radix, m_input.start))
        return u"開始数が32ビットの範囲を超えています";
    return u"開始数が" + std::u16string(trimWhiteSpace(radixDisplay(m_input.radix))) +
           u"数ではありません";
}

} // namespace kalvex
