#pragma once

#include <cstdint>
#include <optional>

#include "drawing/tags/Tag.h"

namespace kalvex::dxf {

// Index lookups in a record's pairs by position. The "main part" of a record is what comes
// before its extended data (codes 1000 and up) and before an embedded object (code 101):
// both repeat codes of the record itself.
std::size_t mainPartEnd(const TagList& tags);

// The first pair with this code in [from, to), skipping application groups ("102 {...}"
// up to "102 }"), whose codes belong to another application.
std::optional<std::size_t> findCode(const TagList& tags, std::int16_t code, std::size_t from,
                                    std::size_t to);

// The first pair with this code in the main part.
std::optional<std::size_t> findInMain(const TagList& tags, std::int16_t code);

} // namespace kalvex::dxf
