#include "dxftool/TextTable.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <variant>

#include "dxftool/Fingerprint.h"
#include "dxftool/TableText.h"

namespace kalvex::dxftool {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kFileColumn = "file";
constexpr std::string_view kFingerprintColumn = "fingerprint";
constexpr const char* kColumns[] = {"handle", "kind", "block", "tag",  "layer",
                                    "locked", "x",    "y",     "text", "fingerprint"};

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    fields.reserve(std::size(kColumns) + 1);
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == line.npos ? line.npos : tab - start));
        if (tab == line.npos)
            return fields;
        start = tab + 1;
    }
}

// Three decimals, as "%.3f" prints them in the C locale.
void appendCoordinate(std::string& out, double value) {
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    out.append(buffer, error == std::errc() ? end : buffer);
}

bool needsEscape(char c) {
    return c == '\t' || c == '\r' || c == '\n' || c == '\\';
}

void appendEscaped(std::string& out, std::string_view value) {
    if (std::none_of(value.begin(), value.end(), needsEscape))
        out += value;
    else
        out += escapeField(value);
}

// The fields escaped, each but the first after a tab.
void appendFields(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += '\t';
        appendEscaped(out, field);
        first = false;
    }
}

struct Header {
    std::size_t handleColumn = 0;
    std::size_t textColumn = 0;
    std::optional<std::size_t> fileColumn;
    std::optional<std::size_t> fingerprintColumn;
    std::size_t fieldCount = 0;
};

Header parseHeader(std::string_view line, int number, const std::string& source) {
    const auto fields = splitFields(line);
    std::optional<std::size_t> handle, text, file, fingerprint;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::optional<std::size_t>* target = fields[i] == "handle"             ? &handle
                                             : fields[i] == "text"             ? &text
                                             : fields[i] == kFileColumn        ? &file
                                             : fields[i] == kFingerprintColumn ? &fingerprint
                                                                               : nullptr;
        if (target && target->has_value())
            failAt(source, number, "the column \"" + std::string(fields[i]) + "\" appears twice");
        if (target)
            *target = i;
    }
    if (!handle || !text)
        failAt(source, number, "the header row needs the columns \"handle\" and \"text\"");
    return {*handle, *text, file, fingerprint, fields.size()};
}

// The row's entry, or the problem that keeps it out.
std::variant<TableEntry, Problem> parseRow(std::string_view line, int number,
                                           const Header& header) {
    const auto fields = splitFields(line);
    if (fields.size() != header.fieldCount)
        return Problem{number, "expected " + std::to_string(header.fieldCount) + " fields, found " +
                                   std::to_string(fields.size())};
    try {
        TableEntry entry{number, header.fileColumn ? unescapeField(fields[*header.fileColumn]) : "",
                         unescapeField(fields[header.handleColumn]),
                         unescapeField(fields[header.textColumn]),
                         header.fingerprintColumn
                             ? fingerprintOfCell(unescapeField(fields[*header.fingerprintColumn]))
                             : ""};
        if (entry.handle.empty())
            return Problem{number, "the handle is empty"};
        if (header.fileColumn && entry.file.empty())
            return Problem{number, "the file is empty"};
        return entry;
    } catch (const std::invalid_argument& error) {
        return Problem{number, error.what()};
    }
}

} // namespace

void failAt(const std::string& source, int line, const std::string& message) {
    throw TableError(source + ":" + std::to_string(line) + ": " + message);
}

std::string escapeField(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescapeField(std::string_view field) {
    if (field.find('\\') == std::string_view::npos)
        return std::string(field);
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        const char next = i + 1 < field.size() ? field[++i] : '\0';
        switch (next) {
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            throw std::invalid_argument("a backslash must be followed by t, r, n or \\");
        }
    }
    return out;
}

std::string formatHeader(ByteOrderMark bom, FileColumn file) {
    std::string header = bom == ByteOrderMark::Write ? std::string(kBom) : std::string();
    if (file == FileColumn::Write)
        header += std::string(kFileColumn) + '\t';
    for (const char* column : kColumns)
        header += std::string(column) + (column == kColumns[std::size(kColumns) - 1] ? "\n" : "\t");
    return header;
}

void appendRow(std::string& out, const TextRow& row) {
    appendFields(out,
                 {row.handle, row.kind, row.block, row.tag, row.layer, row.locked ? "1" : "0"});
    out += '\t';
    appendCoordinate(out, row.x);
    out += '\t';
    appendCoordinate(out, row.y);
    out += '\t';
    appendEscaped(out, row.text);
    out += '\t';
    appendEscaped(out, fingerprintCell(textFingerprint(row.text)));
    out += '\n';
}

std::string formatRow(const TextRow& row) {
    std::string line;
    appendRow(line, row);
    return line;
}

std::string formatTable(const std::vector<TextRow>& rows, ByteOrderMark bom) {
    std::string out = formatHeader(bom);
    for (const TextRow& row : rows)
        appendRow(out, row);
    return out;
}

ReadTable parseTable(std::string_view bytes, const std::string& source, Problems& problems) {
    const std::string text = decodeTable(bytes, source);
    TableLines lines(text);
    std::string_view line;
    std::optional<Header> header;
    ReadTable table;
    table.entries.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    while (lines.next(line)) {
        if (line.empty())
            continue;
        if (!header) {
            header = parseHeader(line, lines.number(), source);
            table.namesFiles = header->fileColumn.has_value();
            continue;
        }
        auto row = parseRow(line, lines.number(), *header);
        if (auto* entry = std::get_if<TableEntry>(&row))
            table.entries.push_back(std::move(*entry));
        else
            problems.push_back(std::get<Problem>(std::move(row)));
    }
    if (!header)
        failAt(source, 1, "the table is empty");
    return table;
}

} // namespace kalvex::dxftool
