#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kalvex::dxf {

enum class ValueType { Text, Integer, Real };

// What kind of value a group code holds; every code not listed as a number holds text.
ValueType valueTypeOf(std::int16_t code);

enum class ValueFault { None, NotANumber, NotFinite };

// What is wrong with a value line for its group code; spaces around numbers are allowed.
ValueFault valueFault(std::int16_t code, std::string_view value);

// A real value as every DXF reader takes it, whatever the user's locale: spaces around it and
// a leading '+' are allowed, and a value too close to zero for a double reads as 0. Empty for
// text that is no number and for numbers that are not finite (nan, inf, 1e999).
std::optional<double> parseReal(std::string_view value);

// Parses a group code line ("  0", "10 "); false when it is no number in range.
bool parseGroupCode(std::string_view line, std::int16_t& code);

std::string_view trimSpaces(std::string_view text);

} // namespace kalvex::dxf
