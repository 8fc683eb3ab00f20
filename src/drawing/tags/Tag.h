#pragma once

#include <cstdint>
#include <vector>

namespace kalvex::dxf {

// One group-code/value pair, kept as a byte range of the code line and the value line that
// follow each other in a store: either the file that was read or the side store that holds
// every value written since. The code line keeps its padding and both line ends stay as
// they were, so an unchanged pair writes back byte for byte.
struct Tag {
    std::uint32_t begin = 0;         // first byte of the code line
    std::uint32_t end = 0;           // past the value line's line end
    std::int16_t code = 0;           // the group code as a number
    std::uint8_t codeLineLength = 0; // bytes of the code line, its line end included
    std::uint8_t bits = 0;           // line-end length of the value line; kSideBit

    static constexpr std::uint8_t kSideBit = 0x80;
    static constexpr std::uint8_t kLineEndMask = 0x03;

    bool inSideStore() const { return (bits & kSideBit) != 0; }
    std::uint32_t valueBegin() const { return begin + codeLineLength; }
    std::uint32_t valueEnd() const { return end - (bits & kLineEndMask); }
};

// The pairs of one record: from a code-0 pair up to the next one, in file order.
using TagList = std::vector<Tag>;

} // namespace kalvex::dxf
