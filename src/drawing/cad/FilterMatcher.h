#pragma once

#include <vector>

#include "cadlink/SelectionFilter.h"
#include "drawing/cad/Wildcard.h"
#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// A selection filter read once for matching many entities. Every condition must hold: group 0
// against the entity type, any other code against the entity's value of that code. Text
// values (1) match with case; type names, block names and other names without.
class FilterMatcher {
public:
    // Throws CadError when codes and values differ in number.
    explicit FilterMatcher(const cad::SelectionFilter& filter);
    bool matches(const Drawing& drawing, RecordId id) const;

private:
    struct Condition {
        std::int16_t code;
        WildcardPattern pattern;
    };
    std::vector<Condition> m_conditions;
};

} // namespace kalvex::drawing
