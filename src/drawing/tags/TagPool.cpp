#include "drawing/tags/TagPool.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "drawing/tags/LargeBuffers.h"

namespace kalvex::dxf {

namespace {

// Past the line feed that ends the line starting at `from`, or the end of the store.
std::uint32_t endOfLine(const std::string& store, std::uint32_t from) {
    const void* lf = std::memchr(store.data() + from, '\n', store.size() - from);
    return lf ? static_cast<std::uint32_t>(static_cast<const char*>(lf) - store.data()) + 1
              : static_cast<std::uint32_t>(store.size());
}

} // namespace

std::uint32_t TagPool::valueBegin(const Tag& tag) const {
    return tag.hasShortCodeLine() ? tag.begin + tag.shortCodeLine()
                                  : endOfLine(store(tag), tag.begin);
}

std::uint32_t TagPool::valueEnd(const Tag& tag) const {
    const std::uint32_t begin = valueBegin(tag);
    if (tag.hasShortValue())
        return begin + tag.valueSize;
    if (tag.inSideStore())
        return begin + m_longSideValues.at(tag.begin);
    return endOfLine(store(tag), begin) - tag.lineEndLength();
}

std::string_view TagPool::bytes(const Tag& tag) const {
    const std::uint32_t end = valueEnd(tag) + tag.lineEndLength();
    return std::string_view(store(tag)).substr(tag.begin, end - tag.begin);
}

std::string_view TagPool::value(const Tag& tag) const {
    const std::uint32_t begin = valueBegin(tag);
    return std::string_view(store(tag)).substr(begin, valueEnd(tag) - begin);
}

std::string_view TagPool::codeLine(const Tag& tag) const {
    return std::string_view(store(tag)).substr(tag.begin, valueBegin(tag) - tag.begin);
}

std::string_view TagPool::lineEnd(const Tag& tag) const {
    return std::string_view(store(tag)).substr(valueEnd(tag), tag.lineEndLength());
}

Tag* TagBlocks::add(std::size_t capacity) {
    // Left uninitialised: a large block's pages are only touched as pairs are written there.
    const std::size_t size = capacity * sizeof(Tag);
    m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    adviseLarge(m_blocks.back().get(), size);
    return reinterpret_cast<Tag*>(m_blocks.back().get());
}

void TagBlocks::takeFrom(TagBlocks& other) {
    for (auto& block : other.m_blocks)
        m_blocks.push_back(std::move(block));
    other.m_blocks.clear();
}

Tag TagPool::make(std::int16_t code, std::string_view value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%3d", static_cast<int>(code));
    std::string line(buffer, static_cast<std::size_t>(length));
    line += m_lineEnd;
    return append(line, code, value, m_lineEnd);
}

Tag TagPool::withValue(const Tag& tag, std::string_view value) {
    const std::string line(codeLine(tag));
    std::string ending(lineEnd(tag));
    if (ending.empty())
        ending = m_lineEnd; // the file's last line had no line end; a changed value gets one
    return append(line, tag.code, value, ending);
}

Tag TagPool::append(std::string_view codeLine, std::int16_t code, std::string_view value,
                    std::string_view lineEnd) {
    if (m_side.size() + codeLine.size() + value.size() + lineEnd.size() > UINT32_MAX)
        throw std::length_error("The drawing has grown beyond 4 GB.");
    // The value may point into the side store itself, which the append below can move.
    const std::string valueCopy(value);
    const Tag tag = Tag::of(static_cast<std::uint32_t>(m_side.size()), code, codeLine.size(),
                            valueCopy.size(), lineEnd.size(), Tag::Store::Side);
    if (!tag.hasShortValue())
        m_longSideValues.emplace(tag.begin, static_cast<std::uint32_t>(valueCopy.size()));
    m_side.append(codeLine).append(valueCopy).append(lineEnd);
    return tag;
}

} // namespace kalvex::dxf
