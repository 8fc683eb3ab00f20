#pragma once

namespace kalvex::drawing {

// The CAD's single alignment number and the two DXF codes it is stored as: the horizontal
// code (72: left, center, right, aligned, middle, fit) and the vertical code (73 for TEXT,
// 74 for attributes: baseline, bottom, middle, top). 0 is left on the baseline; 6..14 are
// top-left .. bottom-right.
struct AlignmentCodes {
    int horizontal = 0;
    int vertical = 0;
    friend bool operator==(const AlignmentCodes&, const AlignmentCodes&) = default;
};

int alignmentFromCodes(AlignmentCodes codes);
// Throws CadError for a number outside 0..14.
AlignmentCodes codesFromAlignment(int alignment);

} // namespace kalvex::drawing
