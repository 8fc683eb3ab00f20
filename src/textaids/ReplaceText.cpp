#include "textaids/ReplaceText.h"

#include "textaids/UpperCase.h"

namespace kalvex {

namespace {

// Upper case one UTF-16 unit at a time: a letter whose upper case is longer (ß) stays as it is,
// so the string keeps its length.
std::u16string upperSameLength(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper)
        c = upperCaseUnit(c);
    return upper;
}

} // namespace

std::u16string ReplaceText(std::u16string_view text, std::u16string_view search,
                           std::u16string_view replacement, CaseMatch match) {
    if (search.empty())
        return std::u16string(text);
    const bool ignoreCase = match == CaseMatch::IgnoreCase;
    const std::u16string upperText = ignoreCase ? upperSameLength(text) : std::u16string();
    const std::u16string upperSearch = ignoreCase ? upperSameLength(search) : std::u16string();
    const std::u16string_view haystack = ignoreCase ? std::u16string_view(upperText) : text;
    const std::u16string_view needle = ignoreCase ? std::u16string_view(upperSearch) : search;
    std::u16string result;
    std::size_t from = 0;
    for (std::size_t at = haystack.find(needle); at != std::u16string_view::npos;
         at = haystack.find(needle, from)) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + needle.size();
    }
    result.append(text.substr(from));
    return result;
}

} // namespace kalvex
