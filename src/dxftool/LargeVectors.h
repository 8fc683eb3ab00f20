#pragma once

#include <cstddef>
#include <vector>

#include "drawing/tags/LargeBuffers.h"

namespace kalvex::dxftool {

// Room for `count` items, in huge pages where the system offers them: the rows of a large table
// fill a hundred megabytes, some 25 000 page faults in 4 KB pages, each dear on a virtual
// machine, where a few dozen huge pages do. Call it before the items are written: a page already
// touched stays as it was.
template <class T> void reserveLarge(std::vector<T>& items, std::size_t count) {
    items.reserve(count);
    dxf::adviseLarge(items.data(), items.capacity() * sizeof(T));
}

} // namespace kalvex::dxftool
