#pragma once

#include <string>
#include <string_view>

namespace kalvex {

// The width mapping of a Japanese system, applied to the whole string at once. To full width:
// ASCII and the space take their full-width forms, half-width katakana become katakana (a base
// followed by a voiced or semi-voiced mark becomes one letter where one exists), the half-width
// CJK punctuation and the Latin-1 currency and sign characters take their full-width forms.
// To half width: the inverse, voiced letters splitting into base and mark. Everything without
// a counterpart stays, so the result's length may differ from the input's.
//
// Windows maps through the system's locale mapping; elsewhere a built-in table does the same.
std::u16string ToFullWidth(std::u16string_view text);
std::u16string ToHalfWidth(std::u16string_view text);

} // namespace kalvex
