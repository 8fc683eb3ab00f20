#pragma once

#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "dxftool/AttributeTable.h"
#include "dxftool/Problems.h"
#include "dxftool/WriteBack.h"

namespace kalvex::dxftool {

// Which block references and attributes the attribute table shows.
struct AttributeChoice {
    std::string blocks = "*";      // block names, in the CAD's wildcard syntax, any case
    std::vector<std::string> tags; // these tags only, compared exactly; all when empty
};

// The block references of model space that hold an attribute the choice takes, in drawing order.
std::vector<AttributeRow> readAttributeRows(cad::Document& document, const AttributeChoice& choice);

// Checks every entry against the drawing first: an unknown handle, one that is no block
// reference or one of another block (the drawing changed since the table was made), a value for
// an attribute the reference does not have, or a line break where a DXF text cannot hold one is
// added to `problems` by line; so is, unless staleness says to overwrite, a row whose fingerprint
// shows that the block reference's values changed since the table was made. When there is none,
// writes each value that differs; cells left empty (<>) are not touched.
ApplySummary applyAttributes(cad::Document& document, const std::vector<std::string>& keys,
                             const std::vector<const AttributeEntry*>& entries, Staleness staleness,
                             Problems& problems);

} // namespace kalvex::dxftool
