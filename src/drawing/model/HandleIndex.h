#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "drawing/model/Record.h"

namespace kalvex::drawing {

// Records by handle. The handles of a file mostly come in rising order, section by section;
// those are kept in two plain lists searched by halving, the few others in a hash. A large
// drawing's handles take a third of the memory a hash of all of them would.
class HandleIndex {
public:
    void reserve(std::size_t count);
    // A handle already indexed is not indexed again.
    void add(std::uint64_t handle, RecordId id);
    std::optional<RecordId> find(std::uint64_t handle) const;
    bool contains(std::uint64_t handle) const { return find(handle).has_value(); }

private:
    std::vector<std::uint64_t> m_rising;
    std::vector<RecordId> m_risingRecords;
    std::unordered_map<std::uint64_t, RecordId> m_others;
    std::uint64_t m_largest = 0;
};

} // namespace kalvex::drawing
