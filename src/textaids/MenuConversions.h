#pragma once

#include <string>
#include <string_view>

namespace kalvex {

// The conversions of the editor's and the grid's menus that are more than one call of the
// width mapping or a table. Each takes a whole string, so that the menus and the command-line
// converter give the same result for the same string.

// Every half-width parenthesis to its full-width form: '(' to '（', ')' to '）'.
std::u16string ParensToFullWidth(std::u16string_view text);

// The width mapping to full width, but every space, typed as an ideographic space or made one
// by the mapping, comes out as U+0020.
std::u16string ToFullWidthButSpaces(std::u16string_view text);

} // namespace kalvex
