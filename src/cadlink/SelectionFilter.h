#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvex::cad {

// The two parallel arrays of a selection filter: group codes (0 = entity type, 1 = text value,
// 2 = block name) and values in the CAD's wildcard syntax.
struct SelectionFilter {
    std::vector<std::int16_t> codes;
    std::vector<std::string> values;

    enum Code : std::int16_t { EntityType = 0, TextValue = 1, BlockName = 2 };

    static SelectionFilter of(std::initializer_list<std::pair<std::int16_t, std::string>> items) {
        SelectionFilter f;
        for (const auto& [code, value] : items) {
            f.codes.push_back(code);
            f.values.push_back(value);
        }
        return f;
    }
};

} // namespace kalvex::cad
