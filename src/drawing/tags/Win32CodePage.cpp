#include "drawing/tags/SystemCodePage.h"

#include <windows.h>

namespace kalvex {

namespace {

using Outcome = SystemCodePage::Outcome;

bool isSurrogate(wchar_t unit, wchar_t kind) {
    return (unit & 0xFC00) == kind;
}

// Windows fills the bytes that its ANSI, OEM and double-byte code pages leave undefined with
// characters of their own: the C1 control of the same value (0x81 of code page 1252) or one of
// the private use area (0xA0 and 0xFD to 0xFF of code page 932). Such a byte holds no character
// of the code page, as glibc's converters say too. The Macintosh and ISO 8859 pages (from 10000)
// hold what they map such bytes to.
bool isFilledHole(unsigned number, unsigned char byte, char32_t character) {
    if (number >= 10000)
        return false;
    return (byte >= 0x80 && byte <= 0x9F && character == byte) ||
           (character >= 0xE000 && character <= 0xF8FF);
}

class Win32CodePage : public SystemCodePage {
public:
    explicit Win32CodePage(unsigned number) : m_number(number) {}

    Decoded decode(std::string_view bytes) const override {
        const auto first = static_cast<unsigned char>(bytes.empty() ? 0 : bytes[0]);
        if (bytes.size() == 1 && ::IsDBCSLeadByteEx(m_number, first))
            return {Outcome::Incomplete, 0};
        wchar_t units[4];
        const int count = ::MultiByteToWideChar(m_number, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), units, 4);
        char32_t character = 0;
        if (count == 1)
            character = units[0];
        else if (count == 2 && isSurrogate(units[0], 0xD800) && isSurrogate(units[1], 0xDC00))
            character = 0x10000 + ((char32_t(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
        else
            return {Outcome::Invalid, 0};
        if (bytes.size() == 1 && isFilledHole(m_number, first, character))
            return {Outcome::Invalid, 0};
        return {Outcome::Converted, character};
    }

    // Without best fit: a character the code page lacks is not written as a look-alike.
    std::optional<std::uint16_t> encode(char32_t character) const override {
        wchar_t units[2] = {static_cast<wchar_t>(character), 0};
        int length = 1;
        if (character >= 0x10000) {
            units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
            units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
            length = 2;
        }
        char bytes[8];
        BOOL usedDefault = FALSE;
        const int count = ::WideCharToMultiByte(m_number, WC_NO_BEST_FIT_CHARS, units, length,
                                                bytes, sizeof bytes, nullptr, &usedDefault);
        if (usedDefault || count < 1 || count > 2)
            return std::nullopt;
        const auto* b = reinterpret_cast<const unsigned char*>(bytes);
        return count == 1 ? b[0] : std::uint16_t(b[0] << 8 | b[1]);
    }

private:
    unsigned m_number;
};

} // namespace

std::unique_ptr<SystemCodePage> SystemCodePage::open(const char*, unsigned windowsNumber) {
    if (windowsNumber == 0 || !::IsValidCodePage(windowsNumber))
        return nullptr;
    return std::make_unique<Win32CodePage>(windowsNumber);
}

} // namespace kalvex
