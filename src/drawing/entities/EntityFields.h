#pragma once

#include <optional>
#include <string_view>

#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// The values the drawing window needs of one entity record, read in one pass over its main
// part (application groups, extended data and embedded objects are passed over). Looking
// each code up on its own would walk the record a dozen times per entity.
struct EntityFields {
    std::string_view text;      // 1, as in the file
    std::string_view name;      // 2 (block name of an INSERT)
    std::string_view layer;     // 8, as in the file
    double x = 0, y = 0;        // 10, 20
    double x2 = 0, y2 = 0;      // 11, 21
    double height = 1.0;        // 40
    double scaleX = 1.0;        // 41: width factor of a text, X scale of an INSERT
    double scaleY = 1.0;        // 42
    double angle = 0.0;         // 50
    double angle2 = 0.0;        // 51
    int color = 256;            // 62, 256 = by layer
    int flags = 0;              // 70
    int horizontal = 0;         // 72
    int vertical = 0;           // 73 for a TEXT, 74 for an ATTRIB or ATTDEF
    bool paperSpace = false;    // 67 = 1
    std::string_view style;     // 7: text style of a text, dimension style of a DIMENSION
    std::string_view lineType;  // 6, empty for BYLAYER
    double lineTypeScale = 1.0; // 48
    int lineWeight = -1;        // 370 in hundredths of a millimetre; -1 BYLAYER, -2 BYBLOCK
    int trueColor = -1;         // 420 as 0xRRGGBB; -1 when the entity has none
    int code71 = 0; // 71: text generation flags, MTEXT attachment point, MINSERT row count
    double ex = 0, ey = 0, ez = 1; // 210, 220, 230: extrusion direction

    static EntityFields read(const Drawing& drawing, RecordId id);
};

// A number's text without the blanks and the plus sign some writers put around it.
std::string_view trimmedNumber(std::string_view value);

} // namespace kalvex::drawing
