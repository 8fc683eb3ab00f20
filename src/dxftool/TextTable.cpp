#include "dxftool/TextTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <optional>

#include "drawing/tags/GroupCodeTypes.h"
#include "dxftool/Fingerprint.h"
#include "dxftool/LargeVectors.h"
#include "dxftool/TableText.h"

namespace kalvex::dxftool {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kFileColumn = "file";
constexpr std::string_view kFingerprintColumn = "fingerprint";
constexpr const char* kColumns[] = {"handle", "kind", "block", "tag",  "layer",
                                    "locked", "x",    "y",     "text", "fingerprint"};

// The tab-separated fields of a line, into `fields` (kept from line to line, so that reading a
// row allocates nothing for them).
void splitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    const char* start = line.data();
    const char* const end = start + line.size();
    while (const auto* tab = static_cast<const char*>(
               std::memchr(start, '\t', static_cast<std::size_t>(end - start)))) {
        fields.emplace_back(start, static_cast<std::size_t>(tab - start));
        start = tab + 1;
    }
    fields.emplace_back(start, static_cast<std::size_t>(end - start));
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    fields.reserve(std::size(kColumns) + 1);
    splitFields(line, fields);
    return fields;
}

std::size_t lineCount(std::string_view text) {
    std::size_t count = 1;
    for (const char *c = text.data(), *end = c + text.size();
         (c = static_cast<const char*>(std::memchr(c, '\n', static_cast<std::size_t>(end - c))));
         ++c)
        ++count;
    return count;
}

// Three decimals, as "%.3f" prints them in the C locale.
void appendCoordinate(std::string& out, double value) {
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    out.append(buffer, error == std::errc() ? end : buffer);
}

// A value of the usual shape, an optional minus, whole digits and decimals ("-12.5", "3",
// "0.125000", ".5"), is written with three decimals from its text, rounded as converting and
// printing it would be. The number read lies within |x|·2^-53 of what the text says: for up to
// 12 whole digits and at most three decimals that is far less than the half thousandth that
// would round it another way; with more decimals and up to 9 whole digits it is less than
// 1.2·10^-7, so only decimals past the third within that of a half thousandth are left to the
// conversion. False for those and for any other shape.
bool appendPlainCoordinate(std::string& out, std::string_view text) {
    constexpr std::size_t kDecimals = 3;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    // Blanks around it and a plus sign are passed over, as reading the number does.
    const char* at = text.data();
    const char* end = at + text.size();
    while (at != end && (*at == ' ' || *at == '\t'))
        ++at;
    while (end != at && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r'))
        --end;
    if (at != end && *at == '+')
        ++at;
    const bool negative = at != end && *at == '-';
    if (negative)
        ++at;
    const char* const wholeBegin = at;
    while (at != end && isDigit(*at))
        ++at;
    std::string_view whole(wholeBegin, static_cast<std::size_t>(at - wholeBegin));
    std::string_view decimals;
    if (at != end && *at == '.') {
        const char* const decimalsBegin = ++at;
        while (at != end && isDigit(*at))
            ++at;
        decimals = std::string_view(decimalsBegin, static_cast<std::size_t>(at - decimalsBegin));
    }
    if (at != end || whole.size() + decimals.size() == 0)
        return false;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    const std::string_view kept = decimals.substr(0, kDecimals);
    std::string_view past = decimals.substr(kept.size());
    past = past.substr(0, past.find_last_not_of('0') + 1); // empty when all are zeros
    bool roundUp = false;
    if (past.empty()) {
        if (whole.size() > 12)
            return false;
    } else {
        if (whole.size() > 9)
            return false;
        // The first four decimals past the third, as a number of ten-thousandths of the last
        // kept one: 4998..5001 lie too near the half to decide here.
        int tenThousandths = 0;
        for (std::size_t i = 0; i < 4; ++i)
            tenThousandths = tenThousandths * 10 + (i < past.size() ? past[i] - '0' : 0);
        if (tenThousandths >= 4998 && tenThousandths <= 5001)
            return false;
        roundUp = tenThousandths > 5001;
    }
    // The digits without the point, the decimals padded to three, then rounded up if need be.
    char number[16];
    std::size_t size = 0;
    if (whole.empty())
        number[size++] = '0';
    for (const char c : whole)
        number[size++] = c;
    for (std::size_t i = 0; i < kDecimals; ++i)
        number[size++] = i < kept.size() ? kept[i] : '0';
    bool carry = roundUp;
    for (std::size_t i = size; carry && i-- > 0;) {
        carry = number[i] == '9';
        number[i] = carry ? '0' : static_cast<char>(number[i] + 1);
    }
    char written[24];
    std::size_t length = 0;
    if (negative)
        written[length++] = '-';
    if (carry)
        written[length++] = '1';
    for (std::size_t i = 0; i < size; ++i) {
        if (i == size - kDecimals)
            written[length++] = '.';
        written[length++] = number[i];
    }
    out.append(written, length);
    return true;
}

void appendCoordinate(std::string& out, const RowCoordinate& coordinate) {
    if (!coordinate.text) {
        appendCoordinate(out, coordinate.value);
        return;
    }
    if (!appendPlainCoordinate(out, *coordinate.text))
        appendCoordinate(out, dxf::parseReal(*coordinate.text).value_or(0.0));
}

void appendEscaped(std::string& out, std::string_view value) {
    // Most fields hold none of the four: a byte at a time through a table, no call per byte.
    static constexpr auto kEscaped = [] {
        std::array<bool, 256> escaped{};
        for (const char c : {'\t', '\r', '\n', '\\'})
            escaped[static_cast<unsigned char>(c)] = true;
        return escaped;
    }();
    bool plain = true;
    for (const char c : value)
        plain &= !kEscaped[static_cast<unsigned char>(c)];
    if (plain)
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

// Reads the row into `entry`; the problem that keeps it out when there is one.
std::optional<Problem> parseRow(std::string_view line, int number, const Header& header,
                                std::vector<std::string_view>& fields, TableEntry& entry) {
    splitFields(line, fields);
    if (fields.size() != header.fieldCount)
        return Problem{number, "expected " + std::to_string(header.fieldCount) + " fields, found " +
                                   std::to_string(fields.size())};
    try {
        entry.line = number;
        if (header.fileColumn)
            entry.file = unescapeField(fields[*header.fileColumn]);
        entry.handle = unescapeField(fields[header.handleColumn]);
        entry.text = unescapeField(fields[header.textColumn]);
        if (header.fingerprintColumn)
            entry.fingerprint = fingerprintOfCell(unescapeField(fields[*header.fingerprintColumn]));
    } catch (const std::invalid_argument& error) {
        return Problem{number, error.what()};
    }
    if (entry.handle.empty())
        return Problem{number, "the handle is empty"};
    if (header.fileColumn && entry.file.empty())
        return Problem{number, "the file is empty"};
    return std::nullopt;
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
    appendRow(out, RowFields{row.handle, row.kind, row.block, row.tag, row.layer, row.locked,
                             RowCoordinate{row.x, std::nullopt}, RowCoordinate{row.y, std::nullopt},
                             row.text});
}

void appendRow(std::string& out, const RowFields& row) {
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
    std::string converted;
    const std::string_view text = decodeTable(bytes, source, converted);
    TableLines lines(text);
    std::string_view line;
    std::optional<Header> header;
    ReadTable table;
    std::vector<std::string_view> fields;
    reserveLarge(table.entries, lineCount(text));
    while (lines.next(line)) {
        if (line.empty())
            continue;
        if (!header) {
            header = parseHeader(line, lines.number(), source);
            table.namesFiles = header->fileColumn.has_value();
            continue;
        }
        TableEntry& entry = table.entries.emplace_back();
        if (auto problem = parseRow(line, lines.number(), *header, fields, entry)) {
            table.entries.pop_back();
            problems.push_back(std::move(*problem));
        }
    }
    if (!header)
        failAt(source, 1, "the table is empty");
    return table;
}

} // namespace kalvex::dxftool
