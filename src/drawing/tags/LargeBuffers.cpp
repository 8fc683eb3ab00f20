#include "drawing/tags/LargeBuffers.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kalvex::dxf {

void reserveLarge(std::string& bytes, std::size_t size) {
    bytes.reserve(size);
    adviseLarge(bytes.data(), bytes.capacity());
}

void adviseLarge([[maybe_unused]] void* data, [[maybe_unused]] std::size_t size) {
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t{1} << 21;
    if (size < 4 * kHugePage)
        return;
    // Only the whole huge pages inside the buffer: the advice applies to pages, and the
    // buffer's first and last bytes share theirs with other allocations.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace kalvex::dxf
