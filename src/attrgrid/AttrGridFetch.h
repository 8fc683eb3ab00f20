#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "attrgrid/AttrGridContext.h"
#include "cadlink/Document.h"
#include "cadlink/Records.h"

namespace kalvex {

class StringGrid;

// One line of the tag set list: the caption, the block-name pattern taken from the caption's
// "[...]" ("*" without one) and the tags in column order.
struct TagSet {
    QString caption;
    std::string pattern = "*";
    std::vector<std::string> tags;
};

TagSet parseTagSet(const QString& line);

// The prompt of the attribute definition with the tag in the first block definition of that
// name; empty when there is none.
std::string GetAttributePrompt(cad::Document& document, const std::string& blockName,
                               const std::string& tag);

// Orders the blocks by X ascending (mode 0) or Y descending (mode 1); mode 3 and above picks
// the axis of the larger spread, Y when the spreads are equal; other modes leave them.
void SortBlocksByPosition(std::vector<nBlk>& blocks, int mode);

// Sets each column as wide as its widest text plus the margin; empty columns keep theirs.
void FitColumnWidths(StringGrid& grid, int margin);
// Widens the cell's column when its text no longer fits, after an edit or a paste.
void WidenColumnForCell(StringGrid& grid, int col, int row);

// "取得": picks block references, keeps those with a tag of the chosen set and fills the grid.
void SpeedButton10Click(AttrGridContext& context);

} // namespace kalvex
