#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kalvex::dxf {

// Reserves `size` bytes in `bytes` for a whole drawing (the file read, the file written) and, for
// a buffer of several megabytes, asks the kernel to back it with huge pages: filling 200 MB in
// 4 KB pages costs some 50 000 page faults, a good part of the time a large drawing takes.
void reserveLarge(std::string& bytes, std::size_t size);
// The same advice for other memory of several megabytes that is filled once.
void adviseLarge(void* data, std::size_t size);

// A large drawing is also millions of small allocations (records, scene shapes, strings), and
// the first touch of every 4 KB page of them costs a page fault: a third of the time a drawing of
// 500 000 entities takes to open. The GNU C library backs its heap with huge pages when the
// tunable glibc.malloc.hugetlb=1 is set, which it reads only when a program starts; so the
// program starts itself again, once, with the tunable added to those it was given. To be called
// first thing in main with main's argv. It returns (and the program runs on as it is) where the
// tunable was already given, e.g. set to 0 by the user, on other systems and C libraries, and
// when starting again fails.
void restartWithHugePageHeap(char** argv);
// The tunables to start again with: those given (GLIBC_TUNABLES, null when unset) and the huge
// page heap after them; nothing when the heap's tunable is among those given.
std::optional<std::string> tunablesWithHugePageHeap(const char* given);

} // namespace kalvex::dxf
