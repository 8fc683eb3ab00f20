#include "drawing/tags/FileFormat.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "drawing/tags/DxfError.h"
#include "drawing/tags/GroupCodeTypes.h"

namespace kalvex::dxf {

namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kSniffedBytes = 512;

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

bool isDwg(std::string_view bytes) {
    return bytes.size() >= 6 && startsWith(bytes, "AC10") &&
           std::all_of(bytes.begin() + 4, bytes.begin() + 6,
                       [](char c) { return c >= '0' && c <= '9'; });
}

// UTF-16 text has a byte-order mark or, where it holds ASCII, a zero byte in every pair.
bool isUtf16(std::string_view bytes) {
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"))
        return true;
    return bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0');
}

// The first line of a DXF file is a group code: control characters other than tab and the
// line end do not occur in it. (Old files may end in Ctrl+Z after EOF, so only the first line
// is looked at.)
bool holdsBinary(std::string_view bytes) {
    const std::string_view first = bytes.substr(0, std::min(bytes.find('\n'), kSniffedBytes));
    return std::any_of(first.begin(), first.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r';
    });
}

bool linesEndInCrOnly(std::string_view bytes) {
    const std::size_t end = bytes.find_first_of("\r\n");
    return end != std::string_view::npos && bytes[end] == '\r' &&
           (end + 1 == bytes.size() || bytes[end + 1] != '\n');
}

// A DXF file opens with a record (group code 0) or a comment (group code 999).
bool beginsWithGroupCode(std::string_view bytes) {
    std::string_view first = bytes.substr(0, bytes.find('\n'));
    if (!first.empty() && first.back() == '\r')
        first.remove_suffix(1);
    std::int16_t code = -1;
    return parseGroupCode(first, code) && (code == 0 || code == 999);
}

// Why the bytes are no DXF text at all, in plain words; nothing when they are text.
std::optional<std::string> foreignFormat(std::string_view bytes) {
    if (startsWith(bytes, kPngSignature))
        return "it is a PNG image";
    if (isUtf16(bytes))
        return "it is UTF-16 text; a DXF file is ASCII or UTF-8 text";
    if (holdsBinary(bytes))
        return "it holds binary data, not lines of text";
    if (startsWith(bytes, kUtf8Mark))
        return "it begins with a UTF-8 byte-order mark, which a DXF file does not have";
    return std::nullopt;
}

[[noreturn]] void refuse(const std::string& fileName, const std::string& reason) {
    throw DxfError(fileName + ": not a DXF file (" + reason + ")");
}

} // namespace

void refuseOtherFormats(std::string_view bytes, const std::string& fileName) {
    if (startsWith(bytes, kBinarySentinel))
        throw DxfError(fileName + ": this is a binary DXF file; only ASCII DXF can be opened.");
    if (isDwg(bytes))
        throw DxfError(fileName + ": this is a DWG file; only ASCII DXF can be opened.");
    if (bytes.size() > UINT32_MAX / 2)
        throw DxfError(fileName + ": the file is too large to open (over 2 GB).");
    if (bytes.empty())
        return; // reported as a file without DXF data
    if (const auto reason = foreignFormat(bytes))
        refuse(fileName, *reason);
    if (linesEndInCrOnly(bytes))
        throw DxfError(fileName + ": lines end in CR only");
    if (!beginsWithGroupCode(bytes))
        refuse(fileName, "its first line is not the group code a DXF file begins with");
}

} // namespace kalvex::dxf
