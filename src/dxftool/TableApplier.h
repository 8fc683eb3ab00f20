#pragma once

#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "dxftool/Problems.h"
#include "dxftool/TextTable.h"
#include "dxftool/WriteBack.h"

namespace kalvex::dxftool {

// Checks every entry against the drawing first: an unknown handle, a handle that is not a TEXT
// or ATTRIB, or a line break where a DXF text cannot hold one is added to `problems` by line;
// so is, unless staleness says to overwrite, a row whose fingerprint shows that the entity's
// text changed since the table was made. When there is none, writes each text that differs into
// its entity.
ApplySummary applyTable(cad::Document& document, const std::vector<const TableEntry*>& entries,
                        Staleness staleness, Problems& problems);

} // namespace kalvex::dxftool
