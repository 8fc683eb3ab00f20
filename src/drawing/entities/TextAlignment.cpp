#include "drawing/entities/TextAlignment.h"

#include <string>

#include "cadlink/CadError.h"

namespace kalvex::drawing {

int alignmentFromCodes(AlignmentCodes codes) {
    if (codes.vertical <= 0 || codes.vertical > 3 || codes.horizontal > 2 || codes.horizontal < 0)
        return codes.horizontal;
    return 6 + (3 - codes.vertical) * 3 + codes.horizontal;
}

AlignmentCodes codesFromAlignment(int alignment) {
    if (alignment < 0 || alignment > 14)
        throw cad::CadError("The alignment " + std::to_string(alignment) + " is out of range.");
    if (alignment <= 5)
        return {alignment, 0};
    return {(alignment - 6) % 3, 3 - (alignment - 6) / 3};
}

} // namespace kalvex::drawing
