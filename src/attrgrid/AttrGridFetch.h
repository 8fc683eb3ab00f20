#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "attrgrid/AttrGridContext.h"
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

// Sets each column as wide as its widest text plus the margin; empty columns keep theirs.
void FitColumnWidths(StringGrid& grid, int margin);
// Widens the cell's column when its text no longer fits, after an edit or a paste.
void WidenColumnForCell(StringGrid& grid, int col, int row);
// Widens every column whose widest text no longer fits; none is made narrower.
void WidenColumnsForCells(StringGrid& grid, int margin);

// "取得": picks block references, keeps those with a tag of the chosen set and fills the grid.
void SpeedButton10Click(AttrGridContext& context);

} // namespace kalvex
