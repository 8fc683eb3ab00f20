#include "drawing/tags/GroupCodeTypes.h"

#include <charconv>
#include <cmath>

namespace kalvex::dxf {

namespace {

bool within(std::int16_t code, int low, int high) {
    return code >= low && code <= high;
}

bool isInteger(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// from_chars reports a value too close to zero as out of range, just as one too large; the
// first is 0 to any reader, the second no finite number.
bool underflows(std::string_view text) {
    const std::size_t exponent = text.find_first_of("eE");
    return exponent != std::string_view::npos && exponent + 1 < text.size() &&
           text[exponent + 1] == '-';
}

// Whether the text is a plain decimal ("-12.5", "3", ".25") short enough to be finite: the form
// nearly every real of a drawing has, checked without converting it.
bool isPlainDecimal(std::string_view text) {
    constexpr std::size_t kFiniteDigits = 300;
    std::size_t i = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() > kFiniteDigits)
        return false;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

ValueFault readReal(std::string_view value, double& number) {
    std::string_view text = trimSpaces(value);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return ValueFault::NotANumber;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (end != text.data() + text.size() || error == std::errc::invalid_argument)
        return ValueFault::NotANumber;
    if (error == std::errc::result_out_of_range && underflows(text)) {
        number = text.front() == '-' ? -0.0 : 0.0;
        return ValueFault::None;
    }
    return error == std::errc() && std::isfinite(number) ? ValueFault::None : ValueFault::NotFinite;
}

} // namespace

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

ValueType valueTypeOf(std::int16_t code) {
    if (within(code, 10, 59) || within(code, 110, 149) || within(code, 210, 239) ||
        within(code, 460, 469) || within(code, 1010, 1059))
        return ValueType::Real;
    if (within(code, 60, 99) || within(code, 160, 179) || within(code, 270, 299) ||
        within(code, 370, 389) || within(code, 400, 409) || within(code, 420, 429) ||
        within(code, 440, 459) || within(code, 1060, 1071))
        return ValueType::Integer;
    return ValueType::Text;
}

ValueFault valueFault(std::int16_t code, std::string_view value) {
    switch (valueTypeOf(code)) {
    case ValueType::Text:
        return ValueFault::None;
    case ValueType::Integer:
        return isInteger(trimSpaces(value)) ? ValueFault::None : ValueFault::NotANumber;
    case ValueType::Real: {
        if (isPlainDecimal(value))
            return ValueFault::None;
        double number = 0;
        return readReal(value, number);
    }
    }
    return ValueFault::None;
}

std::optional<double> parseReal(std::string_view value) {
    double number = 0;
    if (readReal(value, number) != ValueFault::None)
        return std::nullopt;
    return number;
}

bool parseGroupCode(std::string_view line, std::int16_t& code) {
    const std::string_view digits = trimSpaces(line);
    std::size_t i = 0;
    const bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
        i = 1;
    if (i == digits.size() || digits.size() - i > 6)
        return false;
    int number = 0;
    for (; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            return false;
        number = number * 10 + (digits[i] - '0');
    }
    number = negative ? -number : number;
    if (number < -32768 || number > 32767)
        return false;
    code = static_cast<std::int16_t>(number);
    return true;
}

} // namespace kalvex::dxf
