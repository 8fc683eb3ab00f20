#include "drawing/model/HandleIndex.h"

#include <algorithm>

namespace kalvex::drawing {

void HandleIndex::reserve(std::size_t count) {
    m_rising.reserve(count);
    m_risingRecords.reserve(count);
}

void HandleIndex::add(std::uint64_t handle, RecordId id) {
    if (contains(handle))
        return;
    m_largest = std::max(m_largest, handle);
    if (m_rising.empty() || handle > m_rising.back()) {
        m_rising.push_back(handle);
        m_risingRecords.push_back(id);
    } else {
        m_others.emplace(handle, id);
    }
}

std::optional<RecordId> HandleIndex::find(std::uint64_t handle) const {
    if (handle > m_largest)
        return std::nullopt; // as a handle being added mostly is
    const auto at = std::lower_bound(m_rising.begin(), m_rising.end(), handle);
    if (at != m_rising.end() && *at == handle)
        return m_risingRecords[static_cast<std::size_t>(at - m_rising.begin())];
    const auto other = m_others.find(handle);
    if (other == m_others.end())
        return std::nullopt;
    return other->second;
}

} // namespace kalvex::drawing
