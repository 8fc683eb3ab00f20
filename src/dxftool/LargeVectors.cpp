#include "dxftool/LargeVectors.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kalvex::dxftool {

void adviseHugePages([[maybe_unused]] const void* data, [[maybe_unused]] std::size_t size) {
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t{1} << 21;
    if (size < 4 * kHugePage)
        return;
    // Only the whole huge pages inside the buffer: its first and last bytes share their pages
    // with other allocations.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace kalvex::dxftool
