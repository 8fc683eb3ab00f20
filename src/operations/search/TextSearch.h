#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cadlink/CadLink.h"
#include "cadlink/Records.h"
#include "operations/RunWindow.h"

namespace kalvex {

// The drawing-wide search: every TEXT of the active drawing whose string matches the pattern
// (the CAD's wildcards), sorted by text, those on locked layers marked; `source` is set to the
// drawing searched and `seal`, when given, to what the hits' TEXTs hold. Nothing when there is
// no CAD or the user aborted the search.
std::optional<std::vector<Orvik2>> SearchTexts(CadLink& link, const std::string& pattern,
                                               RunWindow& window, std::string& source,
                                               RecordSeal* seal = nullptr);

} // namespace kalvex
