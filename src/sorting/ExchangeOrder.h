#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace kalvex {

// The order in which the records are listed. The lists of this program are ordered by an exchange
// sort: for i < j, items i and j are exchanged when item i sorts after item j. Ascending exchanges
// when key(i) > key(j), Descending when key(i) < key(j). The order of equal keys is the one that
// procedure leaves behind, which is not the input order (it is not a stable sort); the functions
// below compute exactly that order in O(n log n) instead of running the quadratic procedure.
enum class SortOrder { Ascending, Descending };

// Ordinal comparison of UTF-16 code units, independent of case rules and locale; a string that is
// a prefix of another sorts first.
inline bool utf16Less(std::u16string_view a, std::u16string_view b) {
    // Equal runs are passed four code units at a time; the first unequal unit decides. Keys
    // sharing a long prefix (numbered labels) are compared several times faster than unit by unit.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + 4 <= common; i += 4) {
        std::uint64_t left = 0;
        std::uint64_t right = 0;
        std::memcpy(&left, a.data() + i, sizeof left);
        std::memcpy(&right, b.data() + i, sizeof right);
        if (left != right)
            break;
    }
    for (; i < common; ++i)
        if (a[i] != b[i])
            return a[i] < b[i];
    return a.size() < b.size();
}

// The order the exchange sort gives to keys that fall into ordered classes: ranks[i] < ranks[j]
// when key i sorts before key j, equal ranks for equal keys. Ranks must be dense (0 .. R-1).
// Element k of the result is the input index of the item that ends at position k.
std::vector<std::size_t> exchangeSortOrderFromRanks(std::span<const std::uint32_t> ranks);

// The exchange-sort order of a sequence of keys. A NaN never sorts after anything nor anything
// after it, so a NaN key is never exchanged and keeps its position; the other keys are ordered
// around it as if it were not there.
std::vector<std::size_t> exchangeSortOrder(std::span<const double> keys, SortOrder order);
std::vector<std::size_t> exchangeSortOrder(std::span<const std::int64_t> keys, SortOrder order);
std::vector<std::size_t> exchangeSortOrder(std::span<const std::u16string_view> keys,
                                           SortOrder order);
// UTF-8 keys in the order of their UTF-16 forms (a malformed sequence counts as U+FFFD). Keys of
// characters up to U+FFFF, well formed, compare byte by byte in that order and are not converted.
std::vector<std::size_t> exchangeSortOrder(std::span<const std::string_view> keys, SortOrder order);

namespace detail {

template <typename Record, typename KeyOf>
using ProjectedKey = std::invoke_result_t<KeyOf&, const Record&>;

// How a text key is compared: as UTF-16 code units. `Held` is what a key returned by value is
// kept as while the order is computed, `view` shows it as UTF-16, and `kViewsKey` tells that a
// key returned by reference can be viewed in place. Specialised for each kind of text key.
template <typename Key> struct TextKey;

template <> struct TextKey<std::u16string> {
    using Held = std::u16string;
    static constexpr bool kViewsKey = true;
    static Held hold(std::u16string key) { return key; }
    static std::u16string_view view(const std::u16string& key) { return key; }
};

// UTF-8 keys are converted once each, so that they sort as the same texts in UTF-16 do.
template <> struct TextKey<std::string> {
    using Held = std::u16string;
    static constexpr bool kViewsKey = false;
    static Held hold(const std::string& key);
    static std::u16string_view view(const std::u16string& key) { return key; }
};

// The keys of the records as the order computation takes them. Text keys are viewed in place when
// the projection returns a reference into the record; otherwise the keys are kept in `storage`
// for as long as the views are used.
template <typename Record, typename KeyOf>
std::vector<std::size_t> orderOfTextKeys(const std::vector<Record>& records, KeyOf& keyOf,
                                         SortOrder order) {
    using Projected = ProjectedKey<Record, KeyOf>;
    using Traits = TextKey<std::remove_cvref_t<Projected>>;
    constexpr bool inPlace = std::is_reference_v<Projected> && Traits::kViewsKey;
    if constexpr (std::is_reference_v<Projected> &&
                  std::is_same_v<std::remove_cvref_t<Projected>, std::string>) {
        // UTF-8 keys held by the records are viewed where they are.
        std::vector<std::string_view> utf8Keys;
        utf8Keys.reserve(records.size());
        for (const Record& record : records)
            utf8Keys.emplace_back(std::invoke(keyOf, record));
        return exchangeSortOrder(std::span<const std::string_view>(utf8Keys), order);
    }
    std::vector<std::u16string_view> keys;
    keys.reserve(records.size());
    if constexpr (inPlace) {
        for (const Record& record : records)
            keys.push_back(Traits::view(std::invoke(keyOf, record)));
        return exchangeSortOrder(std::span<const std::u16string_view>(keys), order);
    } else {
        // Converted keys are laid end to end in one buffer: one allocation for them all, and
        // neighbouring records' keys side by side in memory while they are compared.
        std::u16string storage;
        std::vector<std::pair<std::size_t, std::size_t>> spans; // offset and length of each
        spans.reserve(records.size());
        for (const Record& record : records) {
            const typename Traits::Held held = Traits::hold(std::invoke(keyOf, record));
            const std::u16string_view key = Traits::view(held);
            spans.emplace_back(storage.size(), key.size());
            storage.append(key);
        }
        for (const auto& [offset, length] : spans)
            keys.emplace_back(storage.data() + offset, length);
        return exchangeSortOrder(std::span<const std::u16string_view>(keys), order);
    }
}

template <typename Record, typename KeyOf>
std::vector<std::size_t> orderOfRecords(const std::vector<Record>& records, KeyOf& keyOf,
                                        SortOrder order) {
    using Key = std::remove_cvref_t<ProjectedKey<Record, KeyOf>>;
    if constexpr (!std::is_arithmetic_v<Key>) {
        return orderOfTextKeys(records, keyOf, order);
    } else {
        static_assert(!std::is_unsigned_v<Key> || sizeof(Key) < sizeof(std::int64_t),
                      "64-bit unsigned keys would not keep their order as signed numbers.");
        using Stored = std::conditional_t<std::is_floating_point_v<Key>, double, std::int64_t>;
        std::vector<Stored> keys;
        keys.reserve(records.size());
        for (const Record& record : records)
            keys.push_back(static_cast<Stored>(std::invoke(keyOf, record)));
        return exchangeSortOrder(std::span<const Stored>(keys), order);
    }
}

} // namespace detail

// Rearranges the records so that position k holds the record that was at order[k]. Records are
// moved, never copied: each moves once, plus one move through a temporary per cycle.
template <typename Record>
void applyOrder(std::vector<Record>& records, std::span<const std::size_t> order) {
    std::vector<bool> placed(records.size(), false);
    for (std::size_t start = 0; start < records.size(); ++start) {
        if (placed[start] || order[start] == start)
            continue;
        Record held = std::move(records[start]);
        std::size_t at = start;
        while (order[at] != start) {
            records[at] = std::move(records[order[at]]);
            placed[at] = true;
            at = order[at];
        }
        records[at] = std::move(held);
        placed[at] = true;
    }
}

// Orders records in place by the key keyOf(record) returns (a number or a text), giving the
// order the exchange sort gives. All keys are read before anything moves, so a projection that
// throws leaves the records as they were. Sorting text records left to right is one line:
//     exchangeSortBy(records, [](const Orvik& r) { return r.insPt.x(); }, SortOrder::Ascending);
template <typename Record, typename KeyOf>
void exchangeSortBy(std::vector<Record>& records, KeyOf keyOf, SortOrder order) {
    if (records.size() < 2)
        return;
    const std::vector<std::size_t> permutation = detail::orderOfRecords(records, keyOf, order);
    applyOrder(records, std::span<const std::size_t>(permutation));
}

} // namespace kalvex
