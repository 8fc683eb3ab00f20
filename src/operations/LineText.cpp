#include "operations/LineText.h"

#include <algorithm>
#include <array>

namespace kalvex {

namespace {

// In UTF-8 every byte of a character above code 127 is above 127, so the control characters
// and the space are exactly the bytes up to 32.
bool isControlOrSpace(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// U+2028, U+2029, and QTextDocument's frame marks U+FDD0 and U+FDD1, in UTF-8.
constexpr std::array<std::string_view, 4> kBreakSequences{"\xE2\x80\xA8", "\xE2\x80\xA9",
                                                          "\xEF\xB7\x90", "\xEF\xB7\x91"};

} // namespace

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), isControlOrSpace);
}

bool holdsLineBreak(std::string_view text) {
    if (text.find_first_of("\n\r") != std::string_view::npos)
        return true;
    return std::any_of(
        kBreakSequences.begin(), kBreakSequences.end(),
        [text](std::string_view mark) { return text.find(mark) != std::string_view::npos; });
}

int usedLineCount(const std::vector<std::string>& lines) {
    for (std::size_t k = lines.size(); k > 0; --k) {
        if (!isBlankLine(lines[k - 1]))
            return static_cast<int>(k);
    }
    return 0;
}

} // namespace kalvex
