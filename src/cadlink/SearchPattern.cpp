#include "cadlink/SearchPattern.h"

namespace kalvex {

std::string searchPattern(std::string_view searchText, MatchMode mode) {
    if (searchText.empty())
        return "*";
    if (mode == MatchMode::Prefix)
        return std::string(searchText) + '*';
    return '*' + std::string(searchText) + '*';
}

} // namespace kalvex
