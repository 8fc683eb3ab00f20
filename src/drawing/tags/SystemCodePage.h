#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace kalvex {

// A code page of the system's own converter, asked one character at a time (CodePage builds its
// tables so): iconv on POSIX systems, MultiByteToWideChar and WideCharToMultiByte on Windows.
class SystemCodePage {
public:
    // The code page by its iconv name and its Windows number; nullptr when the system cannot
    // convert it.
    static std::unique_ptr<SystemCodePage> open(const char* iconvName, unsigned windowsNumber);
    virtual ~SystemCodePage() = default;

    enum class Outcome { Converted, Incomplete, Invalid };
    struct Decoded {
        Outcome outcome = Outcome::Invalid;
        char32_t character = 0; // when Converted
    };
    // The character of one or two bytes: Converted when they hold exactly one character,
    // Incomplete for a lead byte alone, Invalid for anything else.
    virtual Decoded decode(std::string_view bytes) const = 0;
    // The one or two bytes the converter writes for a character (lead << 8 | trail for two),
    // or nothing when the code page does not hold it.
    virtual std::optional<std::uint16_t> encode(char32_t character) const = 0;
};

} // namespace kalvex
