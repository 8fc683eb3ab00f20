#pragma once

#include <string>
#include <string_view>

namespace kalvex {

enum class CaseMatch { Exact, IgnoreCase };

// Replaces every occurrence of search in text by replacement, left to right, never rescanning
// inserted text. Ignoring case, the match is made on upper-case forms that keep every string's
// length, so positions in them are positions in the text; unmatched parts keep their case.
std::u16string ReplaceText(std::u16string_view text, std::u16string_view search,
                           std::u16string_view replacement, CaseMatch match);

} // namespace kalvex
