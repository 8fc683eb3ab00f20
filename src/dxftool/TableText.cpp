#include "dxftool/TableText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "drawing/tags/SystemCodePage.h"
#include "dxftool/TextTable.h"

namespace kalvex::dxftool {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class ByteOrder { LittleEndian, BigEndian };

int lineAt(std::string_view text, std::size_t offset) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// The length of the UTF-8 sequence that starts at `i`, or 0 when none does (overlong forms,
// surrogates and code points above U+10FFFF included).
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    }
    const unsigned char second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

std::size_t firstInvalidUtf8(std::string_view text) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    for (std::size_t i = 0; i < text.size();) {
        // Runs of ASCII, most of a table, are passed eight bytes at a time.
        std::uint64_t word = 0;
        if (i + kWord <= text.size()) {
            std::memcpy(&word, text.data() + i, kWord);
            if ((word & 0x8080808080808080ull) == 0) {
                i += kWord;
                continue;
            }
        }
        const std::size_t length = sequenceLength(text, i);
        if (length == 0)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

void appendUtf8(std::string& out, char32_t c) {
    const auto add = [&](unsigned byte) { out += static_cast<char>(byte); };
    if (c < 0x80) {
        add(c);
        return;
    }
    if (c < 0x800) {
        add(0xC0 | c >> 6);
    } else if (c < 0x10000) {
        add(0xE0 | c >> 12);
        add(0x80 | (c >> 6 & 0x3F));
    } else {
        add(0xF0 | c >> 18);
        add(0x80 | (c >> 12 & 0x3F));
        add(0x80 | (c >> 6 & 0x3F));
    }
    add(0x80 | (c & 0x3F));
}

std::string fromUtf16(std::string_view bytes, ByteOrder order, const std::string& source) {
    if (bytes.size() % 2 != 0)
        failAt(source, 1, "the table looks like UTF-16 text but has an odd number of bytes");
    const auto unit = [&](std::size_t i) -> char16_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return order == ByteOrder::LittleEndian ? first | second << 8 : first << 8 | second;
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        const bool high = c >= 0xD800 && c < 0xDC00;
        const bool low = i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000;
        if (high && low)
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i += 2) - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            failAt(source, lineAt(out, out.size()),
                   "the UTF-16 text holds a broken surrogate pair");
        appendUtf8(out, c);
    }
    return out;
}

// The text of a CP932 table, or nothing, with `failedAt` set to the offset of the first byte
// that starts no CP932 character.
std::optional<std::string> fromCp932(std::string_view bytes, std::size_t& failedAt) {
    failedAt = 0;
    const auto cp932 = SystemCodePage::open("CP932", 932);
    if (!cp932)
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out += bytes[i++];
            continue;
        }
        auto decoded = cp932->decode(bytes.substr(i, 1));
        std::size_t length = 1;
        if (decoded.outcome == SystemCodePage::Outcome::Incomplete && i + 1 < bytes.size())
            decoded = cp932->decode(bytes.substr(i, length = 2));
        if (decoded.outcome != SystemCodePage::Outcome::Converted) {
            failedAt = i;
            return std::nullopt;
        }
        appendUtf8(out, decoded.character);
        i += length;
    }
    return out;
}

std::optional<ByteOrder> utf16Order(std::string_view bytes, std::size_t& markLength) {
    markLength = 2;
    if (bytes.starts_with("\xFF\xFE"))
        return ByteOrder::LittleEndian;
    if (bytes.starts_with("\xFE\xFF"))
        return ByteOrder::BigEndian;
    // Without a mark: the header row starts with a letter, whose high byte is zero.
    markLength = 0;
    if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0')
        return ByteOrder::LittleEndian;
    if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] != '\0')
        return ByteOrder::BigEndian;
    return std::nullopt;
}

} // namespace

std::string_view decodeTable(std::string_view bytes, const std::string& source,
                             std::string& storage) {
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    std::size_t markLength = 0;
    if (const auto order = utf16Order(bytes, markLength))
        return storage = fromUtf16(bytes.substr(markLength), *order, source);
    if (bytes.find('\0') != std::string_view::npos || bytes.starts_with("PK\x03\x04"))
        failAt(source, 1, "the table is not a text file; save it as tab-separated text");
    const std::size_t invalid = firstInvalidUtf8(bytes);
    if (invalid == std::string_view::npos)
        return bytes;
    std::size_t cp932FailedAt = 0;
    if (auto text = fromCp932(bytes, cp932FailedAt))
        return storage = std::move(*text);
    // The line where the encoding that read further stopped is where the table goes wrong.
    failAt(source, lineAt(bytes, std::max(invalid, cp932FailedAt)),
           "the table is neither UTF-8, UTF-16 nor CP932 text");
}

std::string decodeTable(std::string_view bytes, const std::string& source) {
    std::string storage;
    const std::string_view text = decodeTable(bytes, source, storage);
    return text.data() == storage.data() ? std::move(storage) : std::string(text);
}

bool TableLines::next(std::string_view& line) {
    if (m_position >= m_text.size())
        return false;
    const std::size_t end = std::min(m_text.find('\n', m_position), m_text.size());
    line = m_text.substr(m_position, end - m_position);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    m_position = end + 1;
    ++m_number;
    return true;
}

bool SpreadsheetRecords::next(std::vector<std::string>& fields, int& line) {
    while (m_position < m_text.size()) {
        line = m_line;
        fields.clear();
        readRecord(fields);
        if (fields.size() > 1 || !fields[0].empty())
            return true;
    }
    return false;
}

void SpreadsheetRecords::readRecord(std::vector<std::string>& fields) {
    for (;;) {
        std::string field;
        if (m_position < m_text.size() && m_text[m_position] == '"')
            readQuoted(field);
        readPlain(field);
        fields.push_back(std::move(field));
        if (m_position >= m_text.size())
            return;
        if (m_text[m_position++] == '\n') {
            ++m_line;
            return;
        }
    }
}

void SpreadsheetRecords::readQuoted(std::string& field) {
    const int start = m_line;
    for (++m_position;;) {
        const std::size_t quote = m_text.find('"', m_position);
        if (quote == std::string_view::npos)
            failAt(m_source, start, "a double quote opens a field here that never ends");
        const std::string_view part = m_text.substr(m_position, quote - m_position);
        m_line += static_cast<int>(std::count(part.begin(), part.end(), '\n'));
        field += part;
        m_position = quote + 1;
        if (m_position >= m_text.size() || m_text[m_position] != '"')
            return;
        field += '"';
        ++m_position;
    }
}

// Up to the tab or line end that ends the field; a CR before the LF belongs to the line end.
void SpreadsheetRecords::readPlain(std::string& field) {
    const std::size_t end = std::min(m_text.find_first_of("\t\n", m_position), m_text.size());
    std::string_view part = m_text.substr(m_position, end - m_position);
    if (part.ends_with('\r') && (end == m_text.size() || m_text[end] == '\n'))
        part.remove_suffix(1);
    field += part;
    m_position = end;
}

} // namespace kalvex::dxftool
