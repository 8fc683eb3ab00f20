#include "textaids/WidthMapping.h"

#include <array>
#include <optional>
#include <string_view>

namespace kalvex {

namespace {

constexpr char16_t kVoicedMark = 0xFF9E;
constexpr char16_t kSemiVoicedMark = 0xFF9F;
constexpr char16_t kFullVoicedMark = 0x309B;
constexpr char16_t kFullSemiVoicedMark = 0x309C;
constexpr char16_t kFirstHalfKana = 0xFF61;

// Full-width forms of U+FF61..U+FF9D, in code order: punctuation, then the katakana.
constexpr std::u16string_view kHalfKanaToFull =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    u"マミムメモヤユヨラリルレロワン";

// Latin-1 characters with a full-width form in U+FFE0..U+FFE5, in the order of those forms.
constexpr std::u16string_view kLatinSigns = u"\u00A2\u00A3\u00AC\u00AF\u00A6\u00A5";

// Bases whose voiced letter is the next code point and whose semi-voiced letter, if any, the
// second next. ウ is voiced apart, as ヴ.
constexpr std::u16string_view kVoicedBases = u"カキクケコサシスセソタチツテトハヒフヘホ";
constexpr std::u16string_view kSemiVoicedBases = u"ハヒフヘホ";

bool contains(std::u16string_view set, char16_t c) {
    return set.find(c) != std::u16string_view::npos;
}

bool hasVoiced(char16_t base) {
    return base == u'ウ' || contains(kVoicedBases, base);
}

char16_t voicedOf(char16_t base) {
    return base == u'ウ' ? u'ヴ' : char16_t(base + 1);
}

std::optional<char16_t> halfKanaToFull(char16_t c) {
    const std::size_t index = std::size_t(c - kFirstHalfKana);
    if (c < kFirstHalfKana || index >= kHalfKanaToFull.size())
        return std::nullopt;
    return kHalfKanaToFull[index];
}

char16_t fullOfSingle(char16_t c) {
    if (c == u' ')
        return 0x3000;
    if (c >= 0x21 && c <= 0x7E)
        return char16_t(c - 0x21 + 0xFF01);
    if (c == kVoicedMark)
        return kFullVoicedMark;
    if (c == kSemiVoicedMark)
        return kFullSemiVoicedMark;
    if (const auto kana = halfKanaToFull(c))
        return *kana;
    if (const std::size_t sign = kLatinSigns.find(c); sign != std::u16string_view::npos)
        return char16_t(0xFFE0 + sign);
    return c;
}

} // namespace

std::u16string ToFullWidth(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = fullOfSingle(text[i]);
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (next == kVoicedMark && hasVoiced(c)) {
            result.push_back(voicedOf(c));
            ++i;
        } else if (next == kSemiVoicedMark && contains(kSemiVoicedBases, c)) {
            result.push_back(char16_t(c + 2));
            ++i;
        } else {
            result.push_back(c);
        }
    }
    return result;
}

namespace {

// The half-width form of a full-width character that has a one-character form; 0 when none.
char16_t halfOfSingle(char16_t c) {
    if (c == 0x3000)
        return u' ';
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char16_t(c - 0xFF01 + 0x21);
    if (c == kFullVoicedMark)
        return kVoicedMark;
    if (c == kFullSemiVoicedMark)
        return kSemiVoicedMark;
    if (c >= 0xFFE0 && c <= 0xFFE5)
        return kLatinSigns[c - 0xFFE0];
    if (const std::size_t kana = kHalfKanaToFull.find(c); kana != std::u16string_view::npos)
        return char16_t(kFirstHalfKana + kana);
    return 0;
}

// A voiced or semi-voiced letter as its half-width base and mark; empty when c is neither.
std::array<char16_t, 2> splitVoiced(char16_t c) {
    if (c == u'ヴ')
        return {halfOfSingle(u'ウ'), kVoicedMark};
    if (contains(kVoicedBases, char16_t(c - 1)))
        return {halfOfSingle(char16_t(c - 1)), kVoicedMark};
    if (contains(kSemiVoicedBases, char16_t(c - 2)))
        return {halfOfSingle(char16_t(c - 2)), kSemiVoicedMark};
    return {0, 0};
}

} // namespace

std::u16string ToHalfWidth(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char16_t c : text) {
        if (const char16_t single = halfOfSingle(c)) {
            result.push_back(single);
        } else if (const auto pair = splitVoiced(c); pair[0] != 0) {
            result.push_back(pair[0]);
            result.push_back(pair[1]);
        } else {
            result.push_back(c);
        }
    }
    return result;
}

} // namespace kalvex
