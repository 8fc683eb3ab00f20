#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// A row of a table read back: the line it came from, its handle and its text.
struct TableEntry {
    int line = 0;
    std::string handle;
    std::string text;
};

// A table that cannot be read; the message names the table and the line ("FILE:LINE: ...").
class TableError : public std::runtime_error {
public:
    explicit TableError(const std::string& message) : std::runtime_error(message) {}
};

enum class ByteOrderMark { Omit, Write };

// Tabs, carriage returns, line feeds and backslashes become \t, \r, \n and \\.
std::string escapeField(std::string_view value);
// The reverse; throws std::invalid_argument for a backslash that starts none of the four.
std::string unescapeField(std::string_view field);

// The table's lines, each ended by LF: the header row (after the byte-order mark, if asked
// for) and one line per entry. formatTable is the whole table at once.
std::string formatHeader(ByteOrderMark bom);
std::string formatRow(const TextRow& row);
std::string formatTable(const std::vector<TextRow>& rows, ByteOrderMark bom);

// Reads a table in any column order (`handle` and `text` required, other columns ignored): UTF-8
// (a byte-order mark is skipped) or UTF-16 with a byte-order mark; CR LF line ends and blank lines
// are accepted; a row that is not UTF-8 is an error. `source` names the table in messages.
// Throws TableError.
std::vector<TableEntry> parseTable(std::string_view bytes, const std::string& source);

} // namespace kalvex::dxftool
