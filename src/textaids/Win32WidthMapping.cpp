#include <windows.h>

#include "textaids/WidthMapping.h"

namespace kalvex {

namespace {

// Maps through the system's locale mapping: first asked for the length, then into a buffer of
// that length. An empty text or a failed mapping gives an empty string.
std::u16string mapWidth(std::u16string_view text, DWORD flag) {
    if (text.empty())
        return {};
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    const int length = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, source, sourceLength, nullptr, 0);
    if (length <= 0)
        return {};
    std::u16string result(static_cast<std::size_t>(length), u'\0');
    const int written = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, source, sourceLength,
                                     reinterpret_cast<wchar_t*>(result.data()), length);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

} // namespace

std::u16string ToFullWidth(std::u16string_view text) {
    return mapWidth(text, LCMAP_FULLWIDTH);
}

std::u16string ToHalfWidth(std::u16string_view text) {
    return mapWidth(text, LCMAP_HALFWIDTH);
}

} // namespace kalvex
