#pragma once

#include <string>
#include <vector>

#include "cadlink/CadLink.h"
#include "cadlink/Document.h"
#include "cadlink/Records.h"
#include "operations/RunWindow.h"

namespace kalvex {

// A grid cell that shows an attribute: column 1 is the first tag; `attribute` is the 1-based
// index of the attribute's record, the tag the cell carries in its object slot.
struct GridCell {
    int col = 0;
    int row = 0;
    int attribute = 0;
};

// How far a grid fetch came. An abort ends a pass early but counts as done; a failure it cannot
// skip ends the fetch, before the rows were laid out or while they were filled.
enum class GridFetchEnd { NothingPicked, FailedBeforeRows, FailedInRows, Done };

// What the grid shows after a fetch: one row per block record (row 0 is the header), the
// cells, and over each tag column the prompt of the first of its attributes that has one.
struct GridFetch {
    GridFetchEnd end = GridFetchEnd::NothingPicked;
    int picked = 0;
    int rowsReached = 0; // rows 1 .. rowsReached were read, fully or up to a failure
    std::vector<GridCell> cells;
    std::vector<std::string> prompts; // by tag column, the first at index 0
};

// The user picks block references whose name matches the pattern; those with an attribute of
// one of the tags become the grid's block records, ordered by position, and their attributes of
// those tags its attribute records. Runs under the window's run flag.
GridFetch FetchGrid(cad::Document& document, CadLink& link, const std::string& pattern,
                    const std::vector<std::string>& tags, RunWindow& window,
                    EntityRecords& records);

// The prompt of the attribute definition with the tag in the first block definition of that
// name; empty when there is none.
std::string GetAttributePrompt(cad::Document& document, const std::string& blockName,
                               const std::string& tag);

// Orders the blocks by X ascending (mode 0) or Y descending (mode 1); mode 3 and above picks
// the axis of the larger spread, Y when the spreads are equal; other modes leave them.
void SortBlocksByPosition(std::vector<nBlk>& blocks, int mode);

} // namespace kalvex
