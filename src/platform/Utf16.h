#pragma once

#include <string>
#include <string_view>

namespace kalvex {

// The tool's strings are UTF-8; the window system and the CAD's automation speak UTF-16. A
// malformed sequence becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

} // namespace kalvex
