#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kalvex::dxftool {

// A fault of the input, found while checking before anything is written: the table line it
// concerns (0 when none does) and what is wrong.
struct Problem {
    int line = 0;
    std::string message;
};

using Problems = std::vector<Problem>;

// Writes every problem, by line ("kalvex-dxf: TABLE:LINE: message"), then throws
// std::runtime_error(`outcome`), which says what was therefore not done.
[[noreturn]] void refuse(Problems problems, const std::string& table, const std::string& outcome,
                         std::ostream& err);

// "kalvex-dxf: warning: ..." for each warning.
void printWarnings(const std::vector<std::string>& warnings, std::ostream& err);

} // namespace kalvex::dxftool
