#pragma once

#include <cstdint>

namespace kalvex {

// An opaque handle of a window of the window system; 0 is no window.
using WindowHandle = std::uintptr_t;

} // namespace kalvex
