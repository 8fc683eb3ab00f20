#include "sorting/ExchangeOrder.h"

#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

#include "platform/Utf16.h"

// How the order is found without running the exchange procedure. The result is sorted by key, so
// only the order inside each class of equal keys is in question. Keys greater than a class never
// change the relative order of its members, and smaller keys matter only by how many of them stand
// between two members. Following the procedure on members and smaller keys shows that the members
// form a run that starts with the first member; for each next member, the run rotates left by the
// number of smaller keys since the previous member (modulo its length) and the member is appended;
// a last rotation by the number of smaller keys after the last member gives the class's order.
//
// The rotations never look at the members, so where each member is inserted into the run can be
// worked out first; the run itself is then filled backwards, the last insertion first, each member
// taking the free slot that its insertion index names.

namespace kalvex {
namespace {

// Sums over positions 0 .. n-1: point updates, prefix sums and, when every position holds 0 or 1,
// finding the nth position holding 1, each in O(log n).
class FenwickTree {
public:
    explicit FenwickTree(std::size_t size) : m_tree(size + 1, 0) {}

    void fillWithOnes() {
        for (std::size_t i = 1; i < m_tree.size(); ++i)
            m_tree[i] = static_cast<std::int32_t>(i & (~i + 1));
    }

    void add(std::size_t pos, std::int32_t delta) {
        for (std::size_t i = pos + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += delta;
    }

    // Sum over the positions below pos.
    std::uint32_t sumBelow(std::size_t pos) const {
        std::int32_t sum = 0;
        for (std::size_t i = pos; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return static_cast<std::uint32_t>(sum);
    }

    // The position of the (nth + 1)-th one.
    std::size_t findNth(std::uint32_t nth) const {
        std::size_t pos = 0;
        auto rest = static_cast<std::int32_t>(nth);
        for (std::size_t step = std::bit_floor(m_tree.size() - 1); step > 0; step >>= 1) {
            if (pos + step < m_tree.size() && m_tree[pos + step] <= rest) {
                pos += step;
                rest -= m_tree[pos];
            }
        }
        return pos;
    }

private:
    std::vector<std::int32_t> m_tree;
};

// Orders one class. members: its positions, ascending; gaps[t]: the number of smaller keys between
// members t and t + 1, the last one counting those after the last member. Writes the class's
// order to out.
void orderClass(std::span<const std::uint32_t> members, std::span<const std::uint32_t> gaps,
                std::span<std::size_t> out) {
    const std::size_t k = members.size();
    std::vector<std::uint32_t> insertAt(k, 0);
    std::size_t start = 0; // where the run begins in the linear list that holds it
    for (std::size_t size = 1; size < k; ++size) {
        start = (start + gaps[size - 1] % size) % size;
        insertAt[size] = static_cast<std::uint32_t>(start); // appending = inserting before start
        ++start;
    }
    start = (start + gaps[k - 1] % k) % k;

    FenwickTree freeSlots(k);
    freeSlots.fillWithOnes();
    std::vector<std::uint32_t> linear(k);
    for (std::size_t t = k; t-- > 0;) {
        const std::size_t slot = freeSlots.findNth(insertAt[t]);
        linear[slot] = members[t];
        freeSlots.add(slot, -1);
    }
    for (std::size_t i = 0; i < k; ++i)
        out[i] = linear[(start + i) % k];
}

// Positions grouped by rank, ascending inside each group; classStart[r] is where rank r begins.
void groupByRank(std::span<const std::uint32_t> ranks, std::vector<std::uint32_t>& byClass,
                 std::vector<std::size_t>& classStart) {
    const std::uint32_t rankCount =
        ranks.empty() ? 0 : *std::max_element(ranks.begin(), ranks.end()) + 1;
    classStart.assign(std::size_t{rankCount} + 1, 0);
    for (std::uint32_t rank : ranks)
        ++classStart[rank + 1];
    std::partial_sum(classStart.begin(), classStart.end(), classStart.begin());
    std::vector<std::size_t> next(classStart.begin(), classStart.end() - 1);
    byClass.resize(ranks.size());
    for (std::size_t pos = 0; pos < ranks.size(); ++pos)
        byClass[next[ranks[pos]]++] = static_cast<std::uint32_t>(pos);
}

void checkSize(std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("Too many items to sort.");
}

// Dense ranks of keys under a strict weak order `less`.
template <typename Key, typename Less>
std::vector<std::uint32_t> denseRanks(std::span<const Key> keys, Less less) {
    std::vector<std::uint32_t> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), std::uint32_t{0});
    std::sort(byKey.begin(), byKey.end(),
              [&](std::uint32_t a, std::uint32_t b) { return less(keys[a], keys[b]); });
    std::vector<std::uint32_t> ranks(keys.size());
    std::uint32_t rank = 0;
    for (std::size_t t = 0; t < byKey.size(); ++t) {
        if (t > 0 && less(keys[byKey[t - 1]], keys[byKey[t]]))
            ++rank;
        ranks[byKey[t]] = rank;
    }
    return ranks;
}

template <typename Key, typename Less>
std::vector<std::uint32_t> ranksInOrder(std::span<const Key> keys, SortOrder order, Less less) {
    if (order == SortOrder::Ascending)
        return denseRanks(keys, less);
    return denseRanks(keys, [&less](const Key& a, const Key& b) { return less(b, a); });
}

template <typename Key, typename Less>
std::vector<std::size_t> orderByKeys(std::span<const Key> keys, SortOrder order, Less less) {
    checkSize(keys.size());
    return exchangeSortOrderFromRanks(ranksInOrder(keys, order, less));
}

// Gives equal texts one id in a single pass over the keys. Drawings repeat the same strings a lot,
// and sorting only the distinct ones saves most of the string comparisons, each of which reaches
// two scattered strings. Gives up (returns false) once most texts seen are distinct, as merging
// would then cost more than it saves.
template <typename View>
bool mergeEqualTexts(std::span<const View> keys, std::vector<View>& distinct,
                     std::vector<std::uint32_t>& ids) {
    constexpr std::size_t kTrialLength = 1024;
    std::unordered_map<View, std::uint32_t> idPlusOne;
    idPlusOne.reserve(std::min(keys.size(), kTrialLength));
    ids.resize(keys.size());
    for (std::size_t pos = 0; pos < keys.size(); ++pos) {
        std::uint32_t& slot = idPlusOne[keys[pos]];
        if (slot == 0) {
            distinct.push_back(keys[pos]);
            slot = static_cast<std::uint32_t>(distinct.size());
        }
        ids[pos] = slot - 1;
        if (pos >= kTrialLength && distinct.size() * 2 > pos)
            return false;
    }
    return true;
}

bool utf8Less(std::string_view a, std::string_view b) {
    return a < b; // bytes compared as unsigned
}

// The first eight bytes of a key as a number, zeros after a shorter key: keys whose numbers
// differ compare as their numbers do.
std::uint64_t leadingBytes(std::string_view key) {
    std::uint64_t lead = 0;
    const std::size_t count = std::min<std::size_t>(key.size(), 8);
    for (std::size_t i = 0; i < count; ++i)
        lead |= std::uint64_t{static_cast<unsigned char>(key[i])} << (56 - 8 * i);
    return lead;
}

// Dense ranks of byte-ordered keys. The keys' leading bytes, sorted beside their positions in one
// array, decide most comparisons without reaching the keys themselves, which lie scattered in
// the records.
std::vector<std::uint32_t> byteRanks(std::span<const std::string_view> keys, SortOrder order) {
    struct Entry {
        std::uint64_t lead;
        std::uint32_t pos;
    };
    std::vector<Entry> entries(keys.size());
    for (std::size_t pos = 0; pos < keys.size(); ++pos)
        entries[pos] = {leadingBytes(keys[pos]), static_cast<std::uint32_t>(pos)};
    const auto less = [&keys](const Entry& a, const Entry& b) {
        if (a.lead != b.lead)
            return a.lead < b.lead;
        return utf8Less(keys[a.pos], keys[b.pos]);
    };
    const auto before = [&less, order](const Entry& a, const Entry& b) {
        return order == SortOrder::Ascending ? less(a, b) : less(b, a);
    };
    std::sort(entries.begin(), entries.end(), before);
    std::vector<std::uint32_t> ranks(keys.size());
    std::uint32_t rank = 0;
    for (std::size_t t = 0; t < entries.size(); ++t) {
        if (t > 0 && before(entries[t - 1], entries[t]))
            ++rank;
        ranks[entries[t].pos] = rank;
    }
    return ranks;
}

// Dense ranks of text keys; byte-ordered keys through their leading bytes.
template <typename View, typename Less>
std::vector<std::uint32_t> keyRanks(std::span<const View> keys, SortOrder order, Less less) {
    if constexpr (std::is_same_v<View, std::string_view>)
        return byteRanks(keys, order);
    else
        return ranksInOrder(keys, order, less);
}

template <typename View, typename Less>
std::vector<std::uint32_t> textRanks(std::span<const View> keys, SortOrder order, Less less) {
    std::vector<View> distinct;
    std::vector<std::uint32_t> ids;
    if (!mergeEqualTexts(keys, distinct, ids))
        return keyRanks(keys, order, less);
    const std::vector<std::uint32_t> distinctRanks =
        keyRanks(std::span<const View>(distinct), order, less);
    for (std::uint32_t& id : ids)
        id = distinctRanks[id];
    return ids;
}

// Keys already strictly in order (every key sorts after the one before it) are their own order:
// no two are equal, so none is ever exchanged. Lists fetched from a drawing often come numbered
// in the order they were drawn; the check stops at the first key out of order.
template <typename View, typename Less>
bool strictlyInOrder(std::span<const View> keys, SortOrder order, Less less) {
    for (std::size_t pos = 1; pos < keys.size(); ++pos) {
        const bool after = order == SortOrder::Ascending ? less(keys[pos - 1], keys[pos])
                                                         : less(keys[pos], keys[pos - 1]);
        if (!after)
            return false;
    }
    return true;
}

template <typename View, typename Less>
std::vector<std::size_t> orderOfTexts(std::span<const View> keys, SortOrder order, Less less) {
    checkSize(keys.size());
    if (strictlyInOrder(keys, order, less)) {
        std::vector<std::size_t> identity(keys.size());
        std::iota(identity.begin(), identity.end(), std::size_t{0});
        return identity;
    }
    return exchangeSortOrderFromRanks(textRanks(keys, order, less));
}

// Well-formed UTF-8 of characters up to U+FFFF: its bytes compare in the order of the UTF-16 code
// units of the same text. (Characters beyond U+FFFF are surrogate pairs in UTF-16, which sort
// below U+E000..U+FFFF; a malformed sequence becomes U+FFFD.)
bool bytesSortAsUtf16(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const auto continuation = [&](std::size_t at, unsigned char low, unsigned char high) {
        return at < size && bytes[at] >= low && bytes[at] <= high;
    };
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            if (!continuation(i + 1, 0x80, 0xBF))
                return false;
            i += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            // E0 needs A0.. (no overlong form), ED up to 9F (no surrogate code point).
            const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
            if (!continuation(i + 1, low, high) || !continuation(i + 2, 0x80, 0xBF))
                return false;
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::size_t> exchangeSortOrderFromRanks(std::span<const std::uint32_t> ranks) {
    std::vector<std::uint32_t> byClass;
    std::vector<std::size_t> classStart;
    groupByRank(ranks, byClass, classStart);

    std::vector<std::size_t> order(ranks.size());
    std::vector<std::uint32_t> gaps;
    FenwickTree smaller(ranks.size());
    for (std::size_t rank = 0; rank + 1 < classStart.size(); ++rank) {
        const std::size_t first = classStart[rank];
        const std::span<const std::uint32_t> members(byClass.data() + first,
                                                     classStart[rank + 1] - first);
        if (members.size() == 1) {
            order[first] = members[0];
        } else if (!members.empty()) {
            // `first` keys are smaller than this class; none of this class is counted yet.
            gaps.resize(members.size());
            std::uint32_t below = smaller.sumBelow(members[0]);
            for (std::size_t t = 0; t + 1 < members.size(); ++t) {
                const std::uint32_t belowNext = smaller.sumBelow(members[t + 1]);
                gaps[t] = belowNext - below;
                below = belowNext;
            }
            gaps.back() = static_cast<std::uint32_t>(first) - below;
            orderClass(members, gaps, std::span<std::size_t>(order).subspan(first, members.size()));
        }
        for (std::uint32_t pos : members)
            smaller.add(pos, 1);
    }
    return order;
}

std::vector<std::size_t> exchangeSortOrder(std::span<const double> keys, SortOrder order) {
    const auto less = [](double a, double b) { return a < b; };
    std::vector<std::size_t> comparable;
    comparable.reserve(keys.size());
    for (std::size_t pos = 0; pos < keys.size(); ++pos) {
        if (!std::isnan(keys[pos]))
            comparable.push_back(pos);
    }
    if (comparable.size() == keys.size())
        return orderByKeys(keys, order, less);

    // NaN keys never take part in an exchange: they stay where they are, and the other keys are
    // ordered over the remaining positions.
    std::vector<double> kept;
    kept.reserve(comparable.size());
    for (std::size_t pos : comparable)
        kept.push_back(keys[pos]);
    const std::vector<std::size_t> inner = orderByKeys(std::span<const double>(kept), order, less);
    std::vector<std::size_t> result(keys.size());
    std::iota(result.begin(), result.end(), std::size_t{0});
    for (std::size_t t = 0; t < comparable.size(); ++t)
        result[comparable[t]] = comparable[inner[t]];
    return result;
}

std::vector<std::size_t> exchangeSortOrder(std::span<const std::int64_t> keys, SortOrder order) {
    return orderByKeys(keys, order, [](std::int64_t a, std::int64_t b) { return a < b; });
}

std::vector<std::size_t> exchangeSortOrder(std::span<const std::u16string_view> keys,
                                           SortOrder order) {
    return orderOfTexts(keys, order, utf16Less);
}

std::vector<std::size_t> exchangeSortOrder(std::span<const std::string_view> keys,
                                           SortOrder order) {
    if (std::all_of(keys.begin(), keys.end(), bytesSortAsUtf16))
        return orderOfTexts(keys, order, utf8Less);
    // Converted keys laid end to end in one buffer, viewed once it is complete.
    std::u16string storage;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    spans.reserve(keys.size());
    for (std::string_view key : keys) {
        const std::u16string converted = toUtf16(key);
        spans.emplace_back(storage.size(), converted.size());
        storage.append(converted);
    }
    std::vector<std::u16string_view> views;
    views.reserve(keys.size());
    for (const auto& [offset, length] : spans)
        views.emplace_back(storage.data() + offset, length);
    return orderOfTexts(std::span<const std::u16string_view>(views), order, utf16Less);
}

namespace detail {

std::u16string TextKey<std::string>::hold(const std::string& key) {
    return toUtf16(key);
}

} // namespace detail

} // namespace kalvex
