#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvex::drawing {

// A handle as written in a drawing: hexadecimal digits, either case, surrounding spaces
// allowed. Empty text, zero or anything else is no handle.
std::optional<std::uint64_t> parseHandle(std::string_view text);

// Upper-case hexadecimal without leading zeros, as CAD programs write handles.
std::string formatHandle(std::uint64_t handle);

} // namespace kalvex::drawing
