#include "drawing/tags/TagLookup.h"

namespace kalvex::dxf {

std::size_t mainPartEnd(const TagList& tags) {
    for (std::size_t i = 1; i < tags.size(); ++i)
        if (tags[i].code == 101 || tags[i].code >= 1000)
            return i;
    return tags.size();
}

std::optional<std::size_t> findCode(const TagList& tags, std::int16_t code, std::size_t from,
                                    std::size_t to) {
    bool inGroup = false;
    for (std::size_t i = from; i < to && i < tags.size(); ++i) {
        if (tags[i].code == 102 && code != 102) {
            // Application groups open with "102 {NAME" and close with "102 }"; they never
            // nest, so every 102 pair opens or closes one.
            inGroup = !inGroup;
            continue;
        }
        if (!inGroup && tags[i].code == code)
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> findInMain(const TagList& tags, std::int16_t code) {
    // One pass: the main part ends where mainPartEnd() says, groups are skipped as findCode()
    // skips them.
    bool inGroup = false;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::int16_t found = tags[i].code;
        if (i > 0 && (found == 101 || found >= 1000))
            return std::nullopt;
        if (found == 102 && code != 102) {
            inGroup = !inGroup;
            continue;
        }
        if (!inGroup && found == code)
            return i;
    }
    return std::nullopt;
}

} // namespace kalvex::dxf
