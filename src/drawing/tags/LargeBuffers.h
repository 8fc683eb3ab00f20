#pragma once

#include <cstddef>
#include <string>

namespace kalvex::dxf {

// Reserves `size` bytes in `bytes` for a whole drawing (the file read, the file written) and, for
// a buffer of several megabytes, asks the kernel to back it with huge pages: filling 200 MB in
// 4 KB pages costs some 50 000 page faults, a good part of the time a large drawing takes.
void reserveLarge(std::string& bytes, std::size_t size);
// The same advice for other memory of several megabytes that is filled once.
void adviseLarge(void* data, std::size_t size);

} // namespace kalvex::dxf
