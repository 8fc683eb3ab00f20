#include "dxftool/TextTable.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

#include <QStringDecoder>

namespace kalvex::dxftool {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr const char* kColumns[] = {"handle", "kind", "block", "tag", "layer",
                                    "locked", "x",    "y",     "text"};

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == line.npos ? line.npos : tab - start));
        if (tab == line.npos)
            return fields;
        start = tab + 1;
    }
}

bool isUtf8(std::string_view bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(QByteArrayView(bytes));
    return !decoder.hasError();
}

// The table as UTF-8 without byte-order mark. Spreadsheets save "Unicode text" as UTF-16 with
// a byte-order mark; that is accepted too.
std::string utf8Table(std::string_view content) {
    if (content.starts_with(kBom))
        return std::string(content.substr(kBom.size()));
    const bool little = content.starts_with("\xFF\xFE"), big = content.starts_with("\xFE\xFF");
    if (!little && !big)
        return std::string(content);
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    const QString text = decoder.decode(QByteArrayView(content.substr(2)));
    return text.toStdString();
}

std::string formatCoordinate(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

std::string joinLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + escapeField(fields[i]);
    return line + '\n';
}

struct Header {
    std::size_t handleColumn = 0;
    std::size_t textColumn = 0;
    std::size_t fieldCount = 0;
};

[[noreturn]] void fail(const std::string& source, int line, const std::string& message) {
    throw TableError(source + ":" + std::to_string(line) + ": " + message);
}

Header parseHeader(std::string_view line, int number, const std::string& source) {
    const auto fields = splitFields(line);
    std::optional<std::size_t> handle, text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::optional<std::size_t>* target = fields[i] == "handle" ? &handle
                                             : fields[i] == "text" ? &text
                                                                   : nullptr;
        if (target && target->has_value())
            fail(source, number, "the column \"" + std::string(fields[i]) + "\" appears twice");
        if (target)
            *target = i;
    }
    if (!handle || !text)
        fail(source, number, "the header row needs the columns \"handle\" and \"text\"");
    return {*handle, *text, fields.size()};
}

TableEntry parseRow(std::string_view line, int number, const Header& header,
                    const std::string& source) {
    // A table saved in a legacy code page would put mojibake into the drawing.
    if (!isUtf8(line))
        fail(source, number, "the line is not UTF-8 text");
    const auto fields = splitFields(line);
    if (fields.size() != header.fieldCount)
        fail(source, number,
             "expected " + std::to_string(header.fieldCount) + " fields, found " +
                 std::to_string(fields.size()));
    try {
        TableEntry entry{number, unescapeField(fields[header.handleColumn]),
                         unescapeField(fields[header.textColumn])};
        if (entry.handle.empty())
            fail(source, number, "the handle is empty");
        return entry;
    } catch (const std::invalid_argument& error) {
        fail(source, number, error.what());
    }
}

} // namespace

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

std::string formatHeader(ByteOrderMark bom) {
    const std::string mark = bom == ByteOrderMark::Write ? std::string(kBom) : std::string();
    return mark + joinLine(std::vector<std::string>(std::begin(kColumns), std::end(kColumns)));
}

std::string formatRow(const TextRow& row) {
    return joinLine({row.handle, row.kind, row.block, row.tag, row.layer, row.locked ? "1" : "0",
                     formatCoordinate(row.x), formatCoordinate(row.y), row.text});
}

std::string formatTable(const std::vector<TextRow>& rows, ByteOrderMark bom) {
    std::string out = formatHeader(bom);
    for (const TextRow& row : rows)
        out += formatRow(row);
    return out;
}

std::vector<TableEntry> parseTable(std::string_view bytes, const std::string& source) {
    const std::string text = utf8Table(bytes);
    const std::string_view content = text;
    std::vector<TableEntry> entries;
    std::optional<Header> header;
    int number = 0;
    for (std::size_t start = 0; start < content.size();) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        std::string_view line = content.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (!header)
            header = parseHeader(line, number, source);
        else
            entries.push_back(parseRow(line, number, *header, source));
    }
    if (!header)
        fail(source, 1, "the table is empty");
    return entries;
}

} // namespace kalvex::dxftool
