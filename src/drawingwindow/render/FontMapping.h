#pragma once

#include <QString>
#include <string_view>

namespace kalvex::drawing {

// The installed font family that stands in for a text style's font: its TrueType family
// name when the style gives one, else its font file; a style with a big font (the
// double-byte SHX fonts of Japanese drawings) gets a CJK font.
const QString& fontFamilyFor(std::string_view fontFile, std::string_view bigFontFile,
                             std::string_view trueTypeFamily);

// The family tried first for text whose style names no font.
const QString& defaultFontFamily();

} // namespace kalvex::drawing
