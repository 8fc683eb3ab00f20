#include "dxftool/AttributeTable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <variant>

#include "dxftool/Fingerprint.h"
#include "dxftool/TableText.h"

namespace kalvex::dxftool {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kFile = "FILE";
constexpr std::string_view kHandle = "HANDLE";
constexpr std::string_view kBlockName = "BLOCKNAME";
constexpr std::string_view kFingerprint = "FINGERPRINT";

// A field as a spreadsheet writes it: quoted when it holds a tab, a line break or a double quote.
std::string quoted(std::string_view value) {
    if (value.find_first_of("\t\r\n\"") == std::string_view::npos)
        return std::string(value);
    std::string out = "\"";
    for (const char c : value)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + '"';
}

std::string joinLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += '\t';
        line += quoted(fields[i]);
    }
    return line + '\n';
}

struct Header {
    std::optional<std::size_t> file;
    std::size_t handle = 0;
    std::size_t block = 0;
    std::optional<std::size_t> fingerprint;
    std::vector<std::size_t> keyColumns;
    std::size_t fieldCount = 0;
};

Header parseHeader(const std::vector<std::string>& fields, int line, AttributeTable& table,
                   const std::string& source) {
    Header header;
    header.fieldCount = fields.size();
    std::optional<std::size_t> handle, block;
    std::unordered_set<std::string> keys;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i == 0 && fields[i] == kFile)
            header.file = i;
        else if (!handle && fields[i] == kHandle)
            handle = i;
        else if (!block && fields[i] == kBlockName)
            block = i;
        else if (!header.fingerprint && fields[i] == kFingerprint)
            header.fingerprint = i;
        else if (fields[i].empty())
            failAt(source, line, "column " + std::to_string(i + 1) + " has no name");
        else if (!keys.insert(fields[i]).second)
            failAt(source, line, "the column \"" + fields[i] + "\" appears twice");
        else
            header.keyColumns.push_back(i), table.keys.push_back(fields[i]);
    }
    if (!handle || !block)
        failAt(source, line, "the header row needs the columns HANDLE and BLOCKNAME");
    header.handle = *handle;
    header.block = *block;
    table.namesFiles = header.file.has_value();
    return header;
}

std::variant<AttributeEntry, Problem> parseRow(std::vector<std::string>& fields, int line,
                                               const Header& header) {
    if (fields.size() != header.fieldCount)
        return Problem{line, "expected " + std::to_string(header.fieldCount) + " fields, found " +
                                 std::to_string(fields.size())};
    AttributeEntry entry{line,
                         header.file ? fields[*header.file] : "",
                         fields[header.handle],
                         fields[header.block],
                         {},
                         header.fingerprint ? fingerprintOfCell(fields[*header.fingerprint]) : ""};
    if (entry.handle.starts_with('\''))
        entry.handle.erase(0, 1);
    if (entry.handle.empty())
        return Problem{line, "the handle is empty"};
    if (header.file && entry.file.empty())
        return Problem{line, "the file is empty"};
    for (const std::size_t column : header.keyColumns) {
        std::string& cell = fields[column];
        entry.cells.push_back(cell == kNoAttribute ? std::nullopt
                                                   : std::optional<std::string>(std::move(cell)));
    }
    return entry;
}

} // namespace

std::vector<std::string> attributeKeys(const std::vector<std::string>& tags) {
    std::unordered_map<std::string, int> seen;
    std::vector<std::string> keys;
    for (const std::string& tag : tags) {
        const int count = seen[tag]++;
        keys.push_back(count == 0 ? tag : tag + "(" + std::to_string(count) + ")");
    }
    return keys;
}

std::string formatAttributeHeader(const std::vector<std::string>& keys, FileColumn file,
                                  ByteOrderMark bom) {
    std::vector<std::string> fields;
    if (file == FileColumn::Write)
        fields.emplace_back(kFile);
    fields.emplace_back(kHandle);
    fields.emplace_back(kBlockName);
    fields.emplace_back(kFingerprint);
    fields.insert(fields.end(), keys.begin(), keys.end());
    return (bom == ByteOrderMark::Write ? std::string(kBom) : std::string()) + joinLine(fields);
}

std::string formatAttributeRow(const std::string& file, const AttributeRow& row,
                               const std::vector<std::string>& keys, FileColumn fileColumn) {
    std::vector<std::string> fields;
    if (fileColumn == FileColumn::Write)
        fields.push_back(file);
    fields.push_back("'" + row.handle);
    fields.push_back(row.block);
    const ValueOfKey valueOf = [&](const std::string& key) -> std::optional<std::string> {
        const auto value = std::find_if(row.values.begin(), row.values.end(),
                                        [&](const AttributeValue& v) { return v.key == key; });
        return value == row.values.end() ? std::nullopt : std::optional(value->text);
    };
    fields.push_back(fingerprintCell(rowFingerprint(keys, valueOf)));
    for (const std::string& key : keys)
        fields.push_back(valueOf(key).value_or(std::string(kNoAttribute)));
    return joinLine(fields);
}

AttributeTable parseAttributeTable(std::string_view bytes, const std::string& source,
                                   Problems& problems) {
    const std::string text = decodeTable(bytes, source);
    SpreadsheetRecords records(text, source);
    std::vector<std::string> fields;
    int line = 0;
    AttributeTable table;
    if (!records.next(fields, line))
        failAt(source, 1, "the table is empty");
    const Header header = parseHeader(fields, line, table, source);
    while (records.next(fields, line)) {
        auto row = parseRow(fields, line, header);
        if (auto* entry = std::get_if<AttributeEntry>(&row))
            table.entries.push_back(std::move(*entry));
        else
            problems.push_back(std::get<Problem>(std::move(row)));
    }
    return table;
}

} // namespace kalvex::dxftool
