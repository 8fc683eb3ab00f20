#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace kalvex {

// The text aids work on UTF-16 strings of the standard library; the dialogs, the editor and the
// grid hold QStrings. Both are UTF-16, so a conversion copies the units unchanged.
inline std::u16string toU16(const QString& text) {
    return text.toStdU16String();
}

inline std::u16string_view viewOf(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

} // namespace kalvex
