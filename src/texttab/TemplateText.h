#pragma once

#include <memory>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/Records.h"
#include "cadlink/Text.h"

namespace kalvex {

using TextPtr = std::shared_ptr<cad::Text>;

// Opens the TEXT of the last record that has a handle into `templateText`. True when such a
// record exists, also when its TEXT could not be opened (then `templateText` is left as it was).
bool FindTemplateText(const std::vector<Orvik>& records, cad::Document& document,
                      TextPtr& templateText);

// A copy of the template, the CAD's own copy with every property of the original.
TextPtr copyText(cad::Text& templateText);

// Places a TEXT by its alignment point, or by its insertion point when it is left-aligned.
void placeText(cad::Text& text, const cad::CadPoint& point);

// The point that places the TEXT, read back from the CAD.
cad::CadPoint placingPoint(const cad::Text& text);

} // namespace kalvex
