#pragma once

namespace kalvex {

// The version as the program reports it (command line and version box).
inline constexpr char kVersionText[] = "Kalvex 2.3b 2025.06.04";

} // namespace kalvex
