#pragma once

#include <cstdint>
#include <vector>

namespace kalvex::dxf {

// One group-code/value pair, kept as a byte range of the code line and the value line that
// follow each other in a store: either the file that was read or the side store that holds
// every value written since. The code line keeps its padding and both line ends stay as
// they were, so an unchanged pair writes back byte for byte.
//
// A drawing holds millions of pairs, so a pair takes eight bytes: the lengths of the code line
// and of the value are kept when they are short, as nearly all are; a longer one is found again
// by the line end that closes it (a code line or a value never holds a line feed).
struct Tag {
    std::uint32_t begin = 0; // first byte of the code line
    std::int16_t code = 0;   // the group code as a number
    std::uint8_t lines = 0;  // code line length, line end of the value line, store
    std::uint8_t valueSize = 0;

    static constexpr std::uint8_t kLongCodeLine = 0x1F; // the code line is found by its line end
    static constexpr std::uint8_t kLongValue = 0xFF;    // the value is found by its line end
    static constexpr std::uint8_t kLineEndShift = 5;
    static constexpr std::uint8_t kSideBit = 0x80;

    enum class Store { File, Side };
    // `codeLine` counts the code line's line end; `lineEnd` is the value line's (0, 1 or 2).
    static Tag of(std::uint32_t begin, std::int16_t code, std::size_t codeLine,
                  std::size_t valueLength, std::size_t lineEnd, Store store) {
        Tag tag;
        tag.begin = begin;
        tag.code = code;
        tag.lines = static_cast<std::uint8_t>(
            (codeLine < kLongCodeLine ? codeLine : kLongCodeLine) | (lineEnd << kLineEndShift) |
            (store == Store::Side ? kSideBit : 0));
        tag.valueSize =
            static_cast<std::uint8_t>(valueLength < kLongValue ? valueLength : kLongValue);
        return tag;
    }

    bool inSideStore() const { return (lines & kSideBit) != 0; }
    std::uint32_t lineEndLength() const { return (lines >> kLineEndShift) & 0x03; }
    bool hasShortCodeLine() const { return (lines & kLongCodeLine) != kLongCodeLine; }
    std::uint32_t shortCodeLine() const { return lines & kLongCodeLine; }
    bool hasShortValue() const { return valueSize != kLongValue; }
};

// The pairs of one record: from a code-0 pair up to the next one, in file order.
using TagList = std::vector<Tag>;

} // namespace kalvex::dxf
