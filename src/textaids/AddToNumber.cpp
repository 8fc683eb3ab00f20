#include "textaids/AddToNumber.h"

#include <algorithm>

namespace kalvex {

namespace {

std::optional<std::u16string> addDecimal(std::u16string_view text, RunEnd run,
                                         std::int32_t addend) {
    const DigitRun split = SplitDigitRun(text, run);
    if (split.digits.empty())
        return std::nullopt;
    const std::int32_t value = parseDecimal(split.digits).value_or(0);
    const std::u16string sum = formatDecimal(wrapAdd(value, addend), int(split.digits.size()));
    return split.head + sum + split.tail;
}

std::optional<std::u16string> addInField(std::u16string_view text, const NumberRule& rule,
                                         std::int32_t addend) {
    // The whole text when it is no longer than the field (a negative width counts as endless).
    const std::size_t fieldSize =
        rule.width < 0 ? text.size() : std::min(text.size(), std::size_t(rule.width));
    const std::u16string_view field = text.substr(text.size() - fieldSize);
    const std::u16string head(text.substr(0, text.size() - fieldSize));
    if (field.empty())
        return std::nullopt;
    if (rule.radix == Radix::Hexadecimal) {
        const std::optional<std::int32_t> value = parseHex(field);
        if (!value)
            return std::nullopt;
        return head + formatHex(wrapAdd(*value, addend), rule.width);
    }
    if (!IsOctalDigits(field))
        return std::nullopt;
    const std::int32_t value = ParseOctal(field).value_or(0);
    return head + formatOctalSigned(wrapAdd(value, addend), rule.width);
}

} // namespace

std::optional<std::u16string> AddToNumber(std::u16string_view text, const NumberRule& rule,
                                          std::int32_t addend) {
    if (rule.radix == Radix::Decimal)
        return addDecimal(text, rule.run, addend);
    return addInField(text, rule, addend);
}

} // namespace kalvex
