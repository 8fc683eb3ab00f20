#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "textaids/AddToNumber.h"

namespace kalvex {

// The fields of the serial number dialog as typed; blanks around the start, the step and the
// count are no part of them.
struct SerialInput {
    Radix radix = Radix::Decimal;
    std::u16string prefix;
    // In the radix; its length is the counter width; empty for fixed text only.
    std::u16string start;
    std::u16string suffix;
    std::u16string step;  // decimal, 1 when not a number
    std::u16string count; // decimal, 1 when not a number
};

// A series of numbered strings: prefix, counter, suffix, upper-cased. A start field that is
// not a number of its radix makes no series: the preview says so and nothing is generated.
class SerialSeries {
public:
    explicit SerialSeries(const SerialInput& input);

    bool hasCounter() const { return !m_input.start.empty(); }
    bool isValid() const { return !hasCounter() || m_start.has_value(); }
    std::int32_t count() const { return m_count; }

    // Item b of the series (the fixed text when there is no counter); only when valid.
    std::u16string item(std::int32_t b) const;
    std::vector<std::u16string> items() const;
    std::u16string preview() const;

    // What the preview and the buttons tell the user when the start number is not valid.
    std::u16string invalidStartMessage() const;

private:
    std::u16string formatCounter(std::int32_t value) const;

    SerialInput m_input;
    std::optional<std::int32_t> m_start;
    std::int32_t m_step = 1;
    std::int32_t m_count = 1;
};

// The letters a to z in upper case, everything else as it is.
std::u16string upperAscii(std::u16string text);

// The radix as the dialogs' large display shows it: "10進", "16進", " 8進".
std::u16string radixDisplay(Radix radix);

} // namespace kalvex
