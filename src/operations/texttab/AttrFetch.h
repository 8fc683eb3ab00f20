#pragma once

#include <string>

#include "cadlink/CadLink.h"
#include "cadlink/Document.h"
#include "cadlink/Records.h"
#include "operations/RunWindow.h"
#include "operations/texttab/TextFetch.h"

namespace kalvex {

// The attribute tag to fetch and the pattern the block names must match.
struct TagSelection {
    std::string tag;
    std::string blockPattern;
};

// The user picks block references in the drawing; the values of the chosen tag become the
// TEXT tab's records, in pick order or by position. Values holding a line break are left out,
// and the user is told how many. Returns the number of block references picked; with none the
// records stay as they were.
int FetchAttributes(cad::Document& document, CadLink& link, const TagSelection& wanted,
                    FetchOrder order, RunWindow& window, EntityRecords& records);

} // namespace kalvex
