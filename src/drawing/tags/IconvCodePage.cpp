#include "drawing/tags/SystemCodePage.h"

#include <cerrno>
#include <string>

#include <iconv.h>

namespace kalvex {

namespace {

using Outcome = SystemCodePage::Outcome;

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(cd); }
};
using Converter = std::unique_ptr<void, IconvCloser>; // null when glibc lacks the conversion

Converter openConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    return Converter(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts a whole short input from the initial state, flushing what the converter holds back
// (glibc's CP1255 and CP1258 wait for combining marks).
Outcome convert(const Converter& cd, std::string_view in, std::string& out) {
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    char buffer[32];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return errno == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
    if (iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return Outcome::Invalid;
    out.assign(buffer, outPtr);
    return Outcome::Converted;
}

class IconvCodePage : public SystemCodePage {
public:
    IconvCodePage(Converter decoder, Converter encoder)
        : m_decoder(std::move(decoder)), m_encoder(std::move(encoder)) {}

    Decoded decode(std::string_view bytes) const override {
        std::string utf32;
        Decoded decoded;
        decoded.outcome = convert(m_decoder, bytes, utf32);
        if (decoded.outcome != Outcome::Converted)
            return decoded;
        if (utf32.size() != 4)
            return {Outcome::Invalid, 0};
        const auto* b = reinterpret_cast<const unsigned char*>(utf32.data());
        decoded.character =
            char32_t(b[0]) | char32_t(b[1]) << 8 | char32_t(b[2]) << 16 | char32_t(b[3]) << 24;
        return decoded;
    }

    std::optional<std::uint16_t> encode(char32_t cp) const override {
        const char utf32[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                               static_cast<char>((cp >> 16) & 0xFF), static_cast<char>(cp >> 24)};
        std::string encoded;
        if (!m_encoder ||
            convert(m_encoder, std::string_view(utf32, 4), encoded) != Outcome::Converted ||
            (encoded.size() != 1 && encoded.size() != 2))
            return std::nullopt;
        const auto* e = reinterpret_cast<const unsigned char*>(encoded.data());
        return encoded.size() == 1 ? e[0] : std::uint16_t(e[0] << 8 | e[1]);
    }

private:
    Converter m_decoder;
    Converter m_encoder;
};

} // namespace

std::unique_ptr<SystemCodePage> SystemCodePage::open(const char* iconvName, unsigned) {
    Converter decoder = openConverter("UTF-32LE", iconvName);
    if (!decoder)
        return nullptr;
    return std::make_unique<IconvCodePage>(std::move(decoder),
                                           openConverter(iconvName, "UTF-32LE"));
}

} // namespace kalvex
