#include "drawing/tags/LargeBuffers.h"

#include <cstdint>
#include <string_view>

#if defined(__linux__)
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
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

std::optional<std::string> tunablesWithHugePageHeap(const char* given) {
    constexpr std::string_view kTunable = "glibc.malloc.hugetlb";
    std::string tunables = given ? given : "";
    if (tunables.find(kTunable) != std::string::npos)
        return std::nullopt;
    if (!tunables.empty())
        tunables += ':';
    return tunables.append(kTunable).append("=1");
}

void restartWithHugePageHeap([[maybe_unused]] char** argv) {
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    const std::optional<std::string> tunables =
        tunablesWithHugePageHeap(std::getenv("GLIBC_TUNABLES"));
    if (!tunables || ::setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Not started again: the variable stays set, so nothing here tries a second time.
#endif
}

} // namespace kalvex::dxf
