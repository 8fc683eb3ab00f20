#include "transform/AddToNumber.h"

namespace kalvex {

namespace {

std::optional<QString> addDecimal(const QString& text, RunEnd run, std::int32_t addend) {
    const DigitRun split = SplitDigitRun(text, run);
    if (split.digits.isEmpty())
        return std::nullopt;
    const std::int32_t value = parseDecimal(split.digits).value_or(0);
    const QString sum = formatDecimal(wrapAdd(value, addend), int(split.digits.size()));
    return split.head + sum + split.tail;
}

std::optional<QString> addInField(const QString& text, const NumberRule& rule,
                                  std::int32_t addend) {
    const QStringView field = QStringView(text).right(rule.width);
    const QStringView head = QStringView(text).chopped(field.size());
    if (field.isEmpty())
        return std::nullopt;
    if (rule.radix == Radix::Hexadecimal) {
        const std::optional<std::int32_t> value = parseHex(field);
        if (!value)
            return std::nullopt;
        return head.toString() + formatHex(wrapAdd(*value, addend), rule.width);
    }
    if (!IsOctalDigits(field))
        return std::nullopt;
    const std::int32_t value = ParseOctal(field).value_or(0);
    return head.toString() + formatOctalSigned(wrapAdd(value, addend), rule.width);
}

} // namespace

std::optional<QString> AddToNumber(const QString& text, const NumberRule& rule,
                                   std::int32_t addend) {
    if (rule.radix == Radix::Decimal)
        return addDecimal(text, rule.run, addend);
    return addInField(text, rule, addend);
}

} // namespace kalvex
