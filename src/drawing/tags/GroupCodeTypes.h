#pragma once

#include <cstdint>
#include <string_view>

namespace kalvex::dxf {

enum class ValueType { Text, Integer, Real };

// What kind of value a group code holds; every code not listed as a number holds text.
ValueType valueTypeOf(std::int16_t code);

// Whether a value line holds what its group code needs; spaces around numbers are allowed.
bool valueFitsCode(std::int16_t code, std::string_view value);

// Parses a group code line ("  0", "10 "); false when it is no number in range.
bool parseGroupCode(std::string_view line, std::int16_t& code);

std::string_view trimSpaces(std::string_view text);

} // namespace kalvex::dxf
