#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <utility>

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

    bool operator==(const Tag&) const = default;

    bool inSideStore() const { return (lines & kSideBit) != 0; }
    std::uint32_t lineEndLength() const { return (lines >> kLineEndShift) & 0x03; }
    bool hasShortCodeLine() const { return (lines & kLongCodeLine) != kLongCodeLine; }
    std::uint32_t shortCodeLine() const { return lines & kLongCodeLine; }
    bool hasShortValue() const { return valueSize != kLongValue; }
};

// The pairs of one record: from a code-0 pair up to the next one, in file order.
//
// A list behaves as a vector of pairs that owns its storage alone. The lists of a read file
// start out in place in one of the blocks of pairs the reader fills (TagPool keeps them), so
// reading makes no allocation per record; such a list is changed in place there and moves to
// storage of its own only when it grows. A copy always has storage of its own.
class TagList {
public:
    using value_type = Tag;
    using size_type = std::size_t;
    using iterator = Tag*;
    using const_iterator = const Tag*;

    TagList() = default;
    TagList(const Tag* first, const Tag* last) { assign(first, last); }
    TagList(std::initializer_list<Tag> tags) { assign(tags.begin(), tags.end()); }
    // A list using `size` pairs at `first` in a block that outlives it.
    static TagList inBlock(Tag* first, std::size_t size) {
        TagList list;
        list.m_data = first;
        list.m_size = static_cast<std::uint32_t>(size);
        return list;
    }

    TagList(const TagList& other) { assign(other.begin(), other.end()); }
    TagList(TagList&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
          m_capacity(std::exchange(other.m_capacity, 0)) {}
    TagList& operator=(const TagList& other) {
        if (this != &other) {
            TagList copy(other);
            swap(copy);
        }
        return *this;
    }
    TagList& operator=(TagList&& other) noexcept {
        TagList taken(std::move(other));
        swap(taken);
        return *this;
    }
    ~TagList() { release(); }
    void swap(TagList& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }
    friend void swap(TagList& a, TagList& b) noexcept { a.swap(b); }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    Tag* data() { return m_data; }
    const Tag* data() const { return m_data; }
    Tag* begin() { return m_data; }
    Tag* end() { return m_data + m_size; }
    const Tag* begin() const { return m_data; }
    const Tag* end() const { return m_data + m_size; }
    Tag& operator[](std::size_t i) { return m_data[i]; }
    const Tag& operator[](std::size_t i) const { return m_data[i]; }
    Tag& at(std::size_t i) {
        if (i >= m_size)
            throw std::out_of_range("TagList::at");
        return m_data[i];
    }
    const Tag& at(std::size_t i) const { return const_cast<TagList&>(*this).at(i); }
    Tag& front() { return m_data[0]; }
    const Tag& front() const { return m_data[0]; }
    Tag& back() { return m_data[m_size - 1]; }
    const Tag& back() const { return m_data[m_size - 1]; }

    void reserve(std::size_t capacity) {
        if (capacity > m_capacity)
            reallocate(capacity > m_size ? capacity : m_size);
    }
    void clear() { m_size = 0; }
    void push_back(const Tag& tag) {
        const Tag copy = tag; // `tag` may lie in this list
        if (m_size >= m_capacity)
            reallocate(grown()); // a list in a block has no room to grow
        m_data[m_size++] = copy;
    }
    Tag* insert(const Tag* position, const Tag& tag) {
        const auto index = static_cast<std::size_t>(position - m_data);
        const Tag copy = tag;
        if (m_size >= m_capacity)
            reallocate(grown());
        std::memmove(m_data + index + 1, m_data + index, (m_size - index) * sizeof(Tag));
        m_data[index] = copy;
        ++m_size;
        return m_data + index;
    }
    Tag* erase(const Tag* position) {
        const auto index = static_cast<std::size_t>(position - m_data);
        std::memmove(m_data + index, m_data + index + 1, (m_size - index - 1) * sizeof(Tag));
        --m_size;
        return m_data + index;
    }

private:
    void assign(const Tag* first, const Tag* last) {
        const auto size = static_cast<std::size_t>(last - first);
        if (size == 0)
            return;
        reallocate(size);
        std::memcpy(m_data, first, size * sizeof(Tag));
        m_size = static_cast<std::uint32_t>(size);
    }
    std::size_t grown() const { return m_size < 4 ? 8 : std::size_t{m_size} * 2; }
    // Moves the pairs into storage of their own for `capacity` pairs.
    void reallocate(std::size_t capacity) {
        Tag* fresh = std::allocator<Tag>().allocate(capacity);
        if (m_size > 0)
            std::memcpy(fresh, m_data, std::size_t{m_size} * sizeof(Tag));
        release();
        m_data = fresh;
        m_capacity = static_cast<std::uint32_t>(capacity);
    }
    void release() {
        if (m_capacity > 0)
            std::allocator<Tag>().deallocate(m_data, m_capacity);
        m_capacity = 0;
    }

    Tag* m_data = nullptr;
    std::uint32_t m_size = 0;
    std::uint32_t m_capacity = 0; // 0: the pairs lie in a block (or there are none)
};

} // namespace kalvex::dxf
