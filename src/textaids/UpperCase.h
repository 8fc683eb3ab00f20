#pragma once

#include <array>
#include <cstdint>

namespace kalvex {

// Units first..last, every stride-th one, whose upper case is the unit plus delta (modulo 2^16).
struct UpperCaseRun {
    char16_t first;
    char16_t last;
    std::uint8_t stride;
    std::uint16_t delta;
};

// Generated from the Unicode Character Database (scripts/gen_upper_case.py), sorted by first;
// the runs do not overlap.
extern const std::array<UpperCaseRun, 184> UpperCaseRuns;

// The upper case of one UTF-16 unit when it is one unit of the Basic Multilingual Plane;
// otherwise (ß, ŉ, a surrogate, anything without case) the unit itself. Upper-casing a string
// unit by unit thus keeps its length, and positions in the result are positions in the text.
char16_t upperCaseUnit(char16_t c);

} // namespace kalvex
