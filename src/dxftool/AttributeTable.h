#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxftool/Problems.h"
#include "dxftool/TextTable.h"

namespace kalvex::dxftool {

// The attribute table: one row per block reference, the columns FILE (when it covers several
// drawings), HANDLE (written with a leading apostrophe, so that a spreadsheet keeps it text),
// BLOCKNAME, FINGERPRINT (the row's values when the table was written, see rowFingerprint), then
// one column per attribute key. A key is the attribute's tag; the second
// attribute with the same tag in one block reference has the key TAG(1), the third TAG(2), and so
// on. A cell of a tag the block reference does not have holds <>. Fields that hold a tab, a line
// break or a double quote are quoted as spreadsheets quote them.
inline constexpr std::string_view kNoAttribute = "<>";

// The keys of attributes with these tags, in the same order.
std::vector<std::string> attributeKeys(const std::vector<std::string>& tags);

struct AttributeValue {
    std::string tag;
    std::string key;
    std::string text;
};

// One block reference with its attributes, in drawing order.
struct AttributeRow {
    std::string handle;
    std::string block;
    std::vector<AttributeValue> values;
};

// The header row (after the byte-order mark, if asked for) and the rows, each ended by LF.
std::string formatAttributeHeader(const std::vector<std::string>& keys, FileColumn file,
                                  ByteOrderMark bom);
std::string formatAttributeRow(const std::string& file, const AttributeRow& row,
                               const std::vector<std::string>& keys, FileColumn fileColumn);

// A row read back. `cells` follow the table's keys; an empty one (<>) leaves that attribute alone.
struct AttributeEntry {
    int line = 0;
    std::string file; // empty without FILE column
    std::string handle;
    std::string block;
    std::vector<std::optional<std::string>> cells;
    std::string fingerprint; // empty when the table has none for the row
};

struct AttributeTable {
    bool namesFiles = false;
    std::vector<std::string> keys;
    std::vector<AttributeEntry> entries;
};

// Reads an attribute table in any encoding decodeTable() knows. The header decides the columns:
// FILE when it is the first one, the first HANDLE, BLOCKNAME and FINGERPRINT (which tables of
// other tools may lack), and every other one is a key. A header without HANDLE or BLOCKNAME throws
// TableError; each malformed row is added to `problems`, by line, and left out.
AttributeTable parseAttributeTable(std::string_view bytes, const std::string& source,
                                   Problems& problems);

} // namespace kalvex::dxftool
