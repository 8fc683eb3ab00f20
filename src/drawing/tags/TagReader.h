#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drawing/tags/Tag.h"
#include "drawing/tags/TagPool.h"

namespace kalvex::dxf {

// The file as records of pairs. Each record starts with a code-0 pair, except a first record
// of comments before it. Bytes after the EOF record are kept as they were.
struct TagFile {
    TagPool pool;
    std::vector<TagList> records;
    std::uint32_t trailingBegin = 0; // bytes of the file from here on follow EOF
    bool endsWithEof = false;
    std::vector<std::string> warnings;
};

// Splits an ASCII DXF file into pairs. Lines end at LF; a CR before it belongs to the line
// end, so UTF-8 text holding the byte 0x85 stays whole. Throws DxfError naming the file and
// the line for input that is no ASCII DXF or is damaged.
TagFile readTags(std::string bytes, const std::string& fileName);
// From a file of `twoHalvesFrom` bytes on, on a machine of more than one core, the second half
// is read by a thread of its own from a record guessed near the middle; it is used when the
// first half's reading arrives there on a code line, so the pairs, records and errors are
// those of reading the file in one go.
constexpr std::size_t kTwoHalvesFrom = std::size_t{16} << 20;
TagFile readTags(std::string bytes, const std::string& fileName, std::size_t twoHalvesFrom);

// The line (1-based) of a byte offset of the file.
std::size_t lineOfOffset(std::string_view bytes, std::size_t offset);

} // namespace kalvex::dxf
