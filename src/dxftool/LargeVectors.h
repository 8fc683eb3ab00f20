#pragma once

#include <cstddef>
#include <vector>

namespace kalvex::dxftool {

// Asks the kernel to back the whole huge pages inside a buffer of several megabytes with huge
// pages. The rows of a large table fill a hundred megabytes; in 4 KB pages that is some 25 000
// page faults, each dear on a virtual machine, where a few dozen huge pages do.
void adviseHugePages(const void* data, std::size_t size);

// Room for `count` items, in huge pages where the system offers them. Call it before the items
// are written: a page already touched stays as it was.
template <class T> void reserveLarge(std::vector<T>& items, std::size_t count) {
    items.reserve(count);
    adviseHugePages(items.data(), items.capacity() * sizeof(T));
}

} // namespace kalvex::dxftool
