#include "drawing/tags/CodePage.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "drawing/tags/SystemCodePage.h"

namespace kalvex {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;
constexpr char32_t kLeadByte = 0xFFFFFFFE;
constexpr char32_t kReplacement = 0xFFFD;
constexpr const char* kDefaultName = "ANSI_1252";

struct NameEntry {
    const char* dxfName;
    const char* iconvName;
    unsigned windowsNumber; // 0 where Windows has no such code page
};

// $DWGCODEPAGE spellings and the system converter of each: glibc's name and Windows' number.
// clang-format off
constexpr NameEntry kNames[] = {
    {"ANSI_874", "CP874", 874}, {"ANSI_932", "CP932", 932}, {"ANSI_936", "CP936", 936},
    {"ANSI_949", "CP949", 949}, {"ANSI_950", "CP950", 950}, {"ANSI_1250", "CP1250", 1250},
    {"ANSI_1251", "CP1251", 1251}, {"ANSI_1252", "CP1252", 1252}, {"ANSI_1253", "CP1253", 1253},
    {"ANSI_1254", "CP1254", 1254}, {"ANSI_1255", "CP1255", 1255}, {"ANSI_1256", "CP1256", 1256},
    {"ANSI_1257", "CP1257", 1257}, {"ANSI_1258", "CP1258", 1258}, {"ANSI_1361", "JOHAB", 1361},
    {"dos437", "CP437", 437}, {"dos850", "CP850", 850}, {"dos852", "CP852", 852},
    {"dos855", "CP855", 855}, {"dos857", "CP857", 857}, {"dos860", "CP860", 860},
    {"dos861", "CP861", 861}, {"dos863", "CP863", 863}, {"dos864", "CP864", 864},
    {"dos865", "CP865", 865}, {"dos866", "CP866", 866}, {"dos869", "CP869", 869},
    {"dos932", "CP932", 932}, {"mac-roman", "MACINTOSH", 10000}, {"big5", "BIG5", 950},
    {"ksc5601", "CP949", 949}, {"johab", "JOHAB", 1361}, {"gb2312", "GB2312", 936},
    {"ascii", "ASCII", 20127}, {"iso8859-1", "ISO-8859-1", 28591},
    {"iso8859-2", "ISO-8859-2", 28592}, {"iso8859-3", "ISO-8859-3", 28593},
    {"iso8859-4", "ISO-8859-4", 28594}, {"iso8859-5", "ISO-8859-5", 28595},
    {"iso8859-6", "ISO-8859-6", 28596}, {"iso8859-7", "ISO-8859-7", 28597},
    {"iso8859-8", "ISO-8859-8", 28598}, {"iso8859-9", "ISO-8859-9", 28599},
    {"iso8859-10", "ISO-8859-10", 0},
};
// clang-format on

// The code pages of the \M+n escapes, by n.
constexpr const char* kMultiByteEscapePages[] = {"ANSI_932", "ANSI_950", "ANSI_949", "ANSI_1361",
                                                 "ANSI_936"};

} // namespace

struct CodePageTables {
    std::string name;
    bool utf8 = false;
    bool doubleByte = false;
    std::array<char32_t, 256> single{};
    std::vector<char32_t> pairs; // indexed by lead << 8 | trail, only for double-byte pages
    // Code point to the bytes that hold it: one byte below 0x100, lead << 8 | trail above.
    std::unordered_map<char32_t, std::uint16_t> reverse;
};

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    static constexpr unsigned char kLeadBits[] = {0, 0xC0, 0xE0, 0xF0};
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    const int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLeadBits[extra] | (cp >> (6 * extra)));
    for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6)
        out += static_cast<char>(0x80 | ((cp >> shift) & 0x3F));
}

// Reads the UTF-8 character at `at`; returns its length, or 0 for a byte that starts no valid
// character (overlong forms, surrogates and values above U+10FFFF are invalid).
std::size_t readUtf8(std::string_view s, std::size_t at, char32_t& cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = byte(at);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, minimum = 0x80, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, minimum = 0x800, cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, minimum = 0x10000, cp = b & 0x07;
    } else {
        return 0;
    }
    if (at + length > s.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(at + i) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

using Outcome = SystemCodePage::Outcome;

// The code point of `bytes` when they hold exactly one character, or kInvalid.
char32_t decodeWith(const SystemCodePage& system, std::string_view bytes, Outcome& outcome) {
    const SystemCodePage::Decoded decoded = system.decode(bytes);
    outcome = decoded.outcome;
    return outcome == Outcome::Converted ? decoded.character : kInvalid;
}

void fillDecodingTables(CodePageTables& tables, const SystemCodePage& decoder) {
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        Outcome outcome;
        const char32_t cp = decodeWith(decoder, std::string_view(&byte, 1), outcome);
        tables.single[b] = b < 0x80 ? char32_t(b) : outcome == Outcome::Incomplete ? kLeadByte : cp;
        tables.doubleByte = tables.doubleByte || tables.single[b] == kLeadByte;
    }
    if (!tables.doubleByte)
        return;
    tables.pairs.assign(0x10000, kInvalid);
    for (int lead = 0x80; lead < 256; ++lead) {
        if (tables.single[lead] != kLeadByte)
            continue;
        for (int trail = 0; trail < 256; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            Outcome outcome;
            tables.pairs[lead << 8 | trail] =
                decodeWith(decoder, std::string_view(pair, 2), outcome);
        }
    }
}

char32_t decodeBytes(const CodePageTables& tables, std::uint16_t bytes) {
    if (bytes < 0x100)
        return tables.single[bytes];
    return tables.doubleByte ? tables.pairs[bytes] : kInvalid;
}

// Where several byte sequences decode to one character, the converter's own choice wins (CP932
// holds some symbols and kanji twice); a choice that would not decode back is ignored.
void addReverse(CodePageTables& tables, const SystemCodePage& encoder, char32_t cp,
                std::uint16_t bytes) {
    if (tables.reverse.contains(cp))
        return;
    const std::optional<std::uint16_t> chosen = encoder.encode(cp);
    if (chosen && decodeBytes(tables, *chosen) == cp)
        bytes = *chosen;
    tables.reverse.emplace(cp, bytes);
}

void fillEncodingTable(CodePageTables& tables, const SystemCodePage& encoder) {
    for (int b = 0x80; b < 256; ++b) {
        if (tables.single[b] != kInvalid && tables.single[b] != kLeadByte)
            addReverse(tables, encoder, tables.single[b], static_cast<std::uint16_t>(b));
    }
    for (std::size_t i = 0; i < tables.pairs.size(); ++i) {
        if (tables.pairs[i] != kInvalid)
            addReverse(tables, encoder, tables.pairs[i], static_cast<std::uint16_t>(i));
    }
}

std::shared_ptr<CodePageTables> buildTables(const std::string& name, const NameEntry* entry) {
    auto tables = std::make_shared<CodePageTables>();
    tables->name = name;
    if (!entry) {
        tables->utf8 = true;
        return tables;
    }
    const auto system = SystemCodePage::open(entry->iconvName, entry->windowsNumber);
    if (!system)
        return nullptr;
    fillDecodingTables(*tables, *system);
    fillEncodingTable(*tables, *system);
    return tables;
}

std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    return first == s.npos ? std::string_view()
                           : s.substr(first, s.find_last_not_of(" \t\r") + 1 - first);
}

char foldName(char c) {
    if (c == '_')
        return '-';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldName(a[i]) != foldName(b[i]))
            return false;
    }
    return true;
}

const NameEntry* findName(std::string_view name) {
    for (const auto& entry : kNames) {
        if (sameName(name, entry.dxfName))
            return &entry;
    }
    return nullptr;
}

// The tables of a code page (UTF-8 for no entry), built on first use; nullptr when the system
// cannot convert it.
std::shared_ptr<const CodePageTables> tablesFor(const std::string& name, const NameEntry* entry) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const CodePageTables>> registry;
    std::lock_guard lock(mutex);
    auto it = registry.find(name);
    if (it == registry.end())
        it = registry.emplace(name, buildTables(name, entry)).first;
    return it->second;
}

std::shared_ptr<const CodePageTables> defaultTables() {
    // ISO-8859-1 is built into glibc; it stands in if the CP1252 module is missing.
    auto tables = tablesFor(kDefaultName, findName(kDefaultName));
    return tables ? tables : tablesFor("iso8859-1", findName("iso8859-1"));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = static_cast<char>(c & ~0x20);
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

std::optional<std::uint16_t> readHex4(std::string_view s, std::size_t at) {
    if (at + 4 > s.size())
        return std::nullopt;
    std::uint16_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        if (hexDigit(s[i]) < 0)
            return std::nullopt;
        value = static_cast<std::uint16_t>(value << 4 | hexDigit(s[i]));
    }
    return value;
}

bool startsWith(std::string_view s, std::size_t at, std::string_view prefix) {
    return at <= s.size() && s.substr(at, prefix.size()) == prefix;
}

bool isSurrogate(char32_t unit, char32_t kind) {
    return (unit & 0xFC00) == kind;
}

// The index into kMultiByteEscapePages of a "\M+n" at `at`, or -1.
int multiByteEscapePage(std::string_view s, std::size_t at) {
    if (!startsWith(s, at, "\\M+") || at + 4 > s.size() || s[at + 3] < '1' || s[at + 3] > '5')
        return -1;
    return s[at + 3] - '1';
}

// A "\U+XXXX" escape at `at` (which holds the backslash): the bytes it takes, 0 for none.
std::size_t decodeUnicodeEscape(std::string_view s, std::size_t at, std::string& out) {
    if (!startsWith(s, at, "\\U+"))
        return 0;
    const auto unit = readHex4(s, at + 3);
    if (!unit || *unit == 0)
        return 0;
    if (isSurrogate(*unit, 0xD800) && startsWith(s, at + 7, "\\U+")) {
        const auto low = readHex4(s, at + 10);
        if (low && isSurrogate(*low, 0xDC00)) {
            appendUtf8(out, 0x10000 + ((char32_t(*unit) - 0xD800) << 10) + (*low - 0xDC00));
            return 14;
        }
    }
    const bool lone = (*unit & 0xF800) == 0xD800;
    appendUtf8(out, lone ? kReplacement : char32_t(*unit));
    return 7;
}

// A "\M+nXXXX" escape at `at`: the bytes it takes, 0 for none.
std::size_t decodeMultiByteEscape(std::string_view s, std::size_t at, std::string& out) {
    const int page = multiByteEscapePage(s, at);
    const auto bytes = page < 0 ? std::nullopt : readHex4(s, at + 4);
    if (!bytes)
        return 0;
    const NameEntry* entry = findName(kMultiByteEscapePages[page]);
    const auto tables = tablesFor(entry->dxfName, entry);
    const char32_t cp = tables && *bytes >= 0x80 ? decodeBytes(*tables, *bytes) : kInvalid;
    appendUtf8(out, cp >= kLeadByte ? kReplacement : cp);
    return 8;
}

bool startsEscape(std::string_view s, std::size_t at) {
    if (startsWith(s, at, "\\U+"))
        return readHex4(s, at + 3).has_value();
    return multiByteEscapePage(s, at) >= 0 && readHex4(s, at + 4).has_value();
}

void appendUnicodeEscape(std::string& out, char32_t cp) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto appendUnit = [&](char32_t unit) {
        out += "\\U+";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += kHex[(unit >> shift) & 0xF];
    };
    if (cp < 0x10000) {
        appendUnit(cp);
        return;
    }
    appendUnit(0xD800 + ((cp - 0x10000) >> 10));
    appendUnit(0xDC00 + ((cp - 0x10000) & 0x3FF));
}

enum class Stops { Backslash, BackslashAndLineBreaks };

// Where the run of ASCII bytes that need no conversion, starting at `from`, ends.
template <Stops kStops> std::size_t plainRunEnd(std::string_view s, std::size_t from) {
    for (; from < s.size(); ++from) {
        const auto b = static_cast<unsigned char>(s[from]);
        const bool lineBreak = kStops == Stops::BackslashAndLineBreaks && (b == '\r' || b == '\n');
        if (b >= 0x80 || b == '\\' || lineBreak)
            break;
    }
    return from;
}

// A backslash at `at`: an escape, or the backslash itself. Returns the bytes taken.
std::size_t decodeBackslash(std::string_view s, std::size_t at, std::string& out) {
    std::size_t taken = decodeUnicodeEscape(s, at, out);
    taken = taken ? taken : decodeMultiByteEscape(s, at, out);
    if (!taken)
        out += '\\';
    return taken ? taken : 1;
}

// The character at `at`, whose byte is above 0x7F. Returns the bytes taken.
std::size_t decodeHighByte(const CodePageTables& t, std::string_view s, std::size_t at,
                           std::string& out) {
    const auto b = static_cast<unsigned char>(s[at]);
    if (t.utf8) {
        char32_t cp = 0;
        const std::size_t length = readUtf8(s, at, cp);
        out.append(length ? s.substr(at, length) : std::string_view("\xEF\xBF\xBD")); // U+FFFD
        return length ? length : 1;
    }
    if (t.single[b] != kLeadByte) {
        appendUtf8(out, t.single[b] == kInvalid ? kReplacement : t.single[b]);
        return 1;
    }
    const char32_t pair =
        at + 1 < s.size() ? t.pairs[b << 8 | static_cast<unsigned char>(s[at + 1])] : kInvalid;
    appendUtf8(out, pair == kInvalid ? kReplacement : pair);
    return pair == kInvalid ? 1 : 2;
}

void encodeCharacter(const CodePageTables& t, char32_t cp, std::string& out) {
    if (t.utf8) {
        appendUtf8(out, cp);
        return;
    }
    const auto found = t.reverse.find(cp);
    if (found == t.reverse.end()) {
        appendUnicodeEscape(out, cp);
        return;
    }
    if (found->second >= 0x100)
        out += static_cast<char>(found->second >> 8);
    out += static_cast<char>(found->second & 0xFF);
}

} // namespace

CodePage::CodePage(std::shared_ptr<const CodePageTables> tables, bool known)
    : m_tables(std::move(tables)), m_known(known) {}

CodePage CodePage::utf8() {
    return CodePage(tablesFor("UTF-8", nullptr), true);
}

CodePage CodePage::fromName(std::string_view dwgCodePage) {
    const std::string_view name = trimmed(dwgCodePage);
    if (sameName(name, "UTF-8") || sameName(name, "UTF8"))
        return utf8();
    if (const NameEntry* entry = findName(name)) {
        if (auto tables = tablesFor(entry->dxfName, entry))
            return CodePage(std::move(tables), true);
    }
    return CodePage(defaultTables(), false);
}

bool CodePage::isUnicodeVersion(std::string_view acadVersion) {
    const std::string_view version = trimmed(acadVersion);
    if (version.size() != 6 || !startsWith(version, 0, "AC"))
        return false;
    int number = 0;
    for (const char c : version.substr(2)) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
    }
    return number >= 1021;
}

CodePage CodePage::forDrawing(std::string_view acadVersion, std::string_view dwgCodePage) {
    if (isUnicodeVersion(acadVersion))
        return utf8();
    return fromName(trimmed(dwgCodePage).empty() ? kDefaultName : dwgCodePage);
}

const std::string& CodePage::name() const {
    return m_tables->name;
}

bool CodePage::isUtf8() const {
    return m_tables->utf8;
}

namespace {

// Where the run of bytes below 0x80 that starts at `from` ends; eight bytes at a time, as a whole
// file is checked on every load.
std::size_t asciiRunEnd(std::string_view s, std::size_t from) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    while (from + 8 <= s.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + from, 8);
        if (word & kHighBits)
            break;
        from += 8;
    }
    while (from < s.size() && static_cast<unsigned char>(s[from]) < 0x80)
        ++from;
    return from;
}

} // namespace

bool CodePage::isValid(std::string_view bytes) const {
    const CodePageTables& t = *m_tables;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            i = asciiRunEnd(bytes, i + 1);
            continue;
        }
        if (t.utf8) {
            char32_t cp = 0;
            const std::size_t length = readUtf8(bytes, i, cp);
            if (length == 0)
                return false;
            i += length;
        } else if (t.single[b] != kLeadByte) {
            if (t.single[b] == kInvalid)
                return false;
            ++i;
        } else {
            if (i + 1 >= bytes.size() ||
                t.pairs[b << 8 | static_cast<unsigned char>(bytes[i + 1])] == kInvalid)
                return false;
            i += 2;
        }
    }
    return true;
}

std::string CodePage::decode(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t plainEnd = plainRunEnd<Stops::Backslash>(bytes, i);
        out.append(bytes.substr(i, plainEnd - i));
        i = plainEnd;
        if (i == bytes.size())
            break;
        i += bytes[i] == '\\' ? decodeBackslash(bytes, i, out)
                              : decodeHighByte(*m_tables, bytes, i, out);
    }
    return out;
}

std::string CodePage::encode(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t plainEnd = plainRunEnd<Stops::BackslashAndLineBreaks>(text, i);
        out.append(text.substr(i, plainEnd - i));
        i = plainEnd;
        if (i == text.size())
            break;
        if (text[i] == '\\') {
            out += startsEscape(text, i) ? "\\U+005C" : "\\";
        } else if (text[i] == '\r' || text[i] == '\n') {
            appendUnicodeEscape(out, static_cast<char32_t>(text[i])); // a value is one line
        } else {
            char32_t cp = kReplacement;
            const std::size_t length = readUtf8(text, i, cp);
            encodeCharacter(*m_tables, length ? cp : kReplacement, out);
            i += length ? length - 1 : 0;
        }
        ++i;
    }
    return out;
}

} // namespace kalvex
