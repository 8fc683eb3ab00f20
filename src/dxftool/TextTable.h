#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "dxftool/Problems.h"

namespace kalvex::dxftool {

// One TEXT or ATTRIB of model space as the export table shows it (UTF-8, unescaped).
struct TextRow {
    std::string handle;
    std::string kind; // "TEXT" or "ATTRIB"
    std::string block;
    std::string tag;
    std::string layer;
    bool locked = false;
    double x = 0.0;
    double y = 0.0;
    std::string text;
};

// A coordinate of a row: its number, or the text of the drawing's value it is read from (the
// number a missing or unreadable value gives is 0), which often gives the table's three decimals
// without converting.
struct RowCoordinate {
    double value = 0.0;
    std::optional<std::string_view> text;
};

// A row's fields as the drawing's records give them, without copies (UTF-8, unescaped).
struct RowFields {
    std::string_view handle;
    std::string_view kind;
    std::string_view block;
    std::string_view tag;
    std::string_view layer;
    bool locked = false;
    RowCoordinate x;
    RowCoordinate y;
    std::string_view text;
};

// A row of a table read back: the line it came from, the drawing it names (empty when the table
// has no file column), its handle, its text and the fingerprint of the text the entity held when
// the table was made (empty when the table has none).
struct TableEntry {
    int line = 0;
    std::string file;
    std::string handle;
    std::string text;
    std::string fingerprint;
};

// A table read back: whether it has a file column, and its rows.
struct ReadTable {
    bool namesFiles = false;
    std::vector<TableEntry> entries;
};

// A table that cannot be read; the message names the table and the line ("FILE:LINE: ...").
class TableError : public std::runtime_error {
public:
    explicit TableError(const std::string& message) : std::runtime_error(message) {}
};

// Throws TableError("SOURCE:LINE: message").
[[noreturn]] void failAt(const std::string& source, int line, const std::string& message);

enum class ByteOrderMark { Omit, Write };
// Whether a table has a first column naming the drawing of each row (when it covers several).
enum class FileColumn { Omit, Write };

// Tabs, carriage returns, line feeds and backslashes become \t, \r, \n and \\.
std::string escapeField(std::string_view value);
// The reverse; throws std::invalid_argument for a backslash that starts none of the four.
std::string unescapeField(std::string_view field);

// The table's lines, each ended by LF: the header row (after the byte-order mark, if asked
// for) and one line per entry, which a table with a file column starts with the escaped path.
// The last column, "fingerprint", holds textFingerprint of the text.
// formatTable is the whole table at once, without file column.
std::string formatHeader(ByteOrderMark bom, FileColumn file = FileColumn::Omit);
std::string formatRow(const TextRow& row);
void appendRow(std::string& out, const TextRow& row);
void appendRow(std::string& out, const RowFields& row);
std::string formatTable(const std::vector<TextRow>& rows, ByteOrderMark bom);

// Reads a table in any column order (`handle` and `text` required, `file` and `fingerprint` read
// when present, other columns ignored) in any encoding decodeTable() knows; CR LF line ends and
// blank lines are accepted. `source` names the table in messages. A table that cannot be read at
// all throws TableError; each malformed row is added to `problems`, by line, and left out.
ReadTable parseTable(std::string_view bytes, const std::string& source, Problems& problems);

} // namespace kalvex::dxftool
