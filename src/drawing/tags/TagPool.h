#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/tags/Tag.h"

namespace kalvex::dxf {

// Room for pairs that lives as long as its owner and never moves.
class TagBlocks {
public:
    // Room for `capacity` pairs, left uninitialised.
    Tag* add(std::size_t capacity);
    // Takes over the blocks of another store (filled by another thread).
    void takeFrom(TagBlocks& other);

private:
    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
};

// Owns the bytes that tags point into: the file as read, untouched, and an append-only side
// store for pairs made or changed since. Tags stay valid for the pool's whole life, so an
// old tag list (an undo image) can always be written again.
class TagPool {
public:
    TagPool() = default;
    explicit TagPool(std::string fileBytes) : m_file(std::move(fileBytes)) {}

    const std::string& fileBytes() const { return m_file; }
    std::string_view bytes(const Tag& tag) const;
    std::string_view value(const Tag& tag) const;
    std::string_view codeLine(const Tag& tag) const;
    std::string_view lineEnd(const Tag& tag) const;
    // Where the value begins in the tag's store (the file for a tag that was read).
    std::uint32_t valueBegin(const Tag& tag) const;

    // The line end used for pairs made from nothing; a read file sets it to its own.
    void setDefaultLineEnd(std::string_view lineEnd) { m_lineEnd = lineEnd; }
    const std::string& defaultLineEnd() const { return m_lineEnd; }

    // A new pair with the code right-aligned in three columns, as CAD programs write it.
    Tag make(std::int16_t code, std::string_view value);
    // The same pair with another value: code line and line end are kept as they were.
    Tag withValue(const Tag& tag, std::string_view value);

    std::size_t sideSize() const { return m_side.size(); }

    // Where records read from the file keep their pairs (TagList::inBlock).
    TagBlocks& blocks() { return m_blocks; }

private:
    const std::string& store(const Tag& tag) const { return tag.inSideStore() ? m_side : m_file; }
    std::uint32_t valueEnd(const Tag& tag) const;
    Tag append(std::string_view codeLine, std::int16_t code, std::string_view value,
               std::string_view lineEnd);

    std::string m_file;
    TagBlocks m_blocks;
    std::string m_side;
    // The lengths of long values in the side store, by where their pair begins: a value
    // written through the program could hold a line feed.
    std::unordered_map<std::uint32_t, std::uint32_t> m_longSideValues;
    std::string m_lineEnd = "\n";
};

} // namespace kalvex::dxf
