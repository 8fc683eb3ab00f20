#include "dxftool/Problems.h"

#include <algorithm>
#include <stdexcept>

namespace kalvex::dxftool {

void refuse(Problems problems, const std::string& table, const std::string& outcome,
            std::ostream& err) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    for (const Problem& problem : problems) {
        err << "kalvex-dxf: ";
        if (problem.line > 0)
            err << table << ':' << problem.line << ": ";
        err << problem.message << '\n';
    }
    throw std::runtime_error(outcome);
}

void printWarnings(const std::vector<std::string>& warnings, std::ostream& err) {
    for (const std::string& warning : warnings)
        err << "kalvex-dxf: warning: " << warning << '\n';
}

} // namespace kalvex::dxftool
