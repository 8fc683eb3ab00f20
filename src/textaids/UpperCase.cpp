#include "textaids/UpperCase.h"

#include <algorithm>

namespace kalvex {

char16_t upperCaseUnit(char16_t c) {
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
    // The last run that starts at or before c.
    const auto after =
        std::upper_bound(UpperCaseRuns.begin(), UpperCaseRuns.end(), c,
                         [](char16_t unit, const UpperCaseRun& run) { return unit < run.first; });
    if (after == UpperCaseRuns.begin())
        return c;
    const UpperCaseRun& run = *(after - 1);
    if (c > run.last || (c - run.first) % run.stride != 0)
        return c;
    return char16_t(c + run.delta);
}

} // namespace kalvex
