#pragma once

#include <string>
#include <string_view>

namespace kalvex {

enum class MatchMode { Contains, Prefix };

// The wildcard pattern the CAD matches TEXT strings against when searching for a text: an empty
// search text matches every string; the wildcards typed pass unchanged.
std::string searchPattern(std::string_view searchText, MatchMode mode);

} // namespace kalvex
