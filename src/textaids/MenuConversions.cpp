#include "textaids/MenuConversions.h"

#include <algorithm>

#include "textaids/WidthMapping.h"

namespace kalvex {

std::u16string ParensToFullWidth(std::u16string_view text) {
    std::u16string result(text);
    std::replace(result.begin(), result.end(), u'(', u'（');
    std::replace(result.begin(), result.end(), u')', u'）');
    return result;
}

std::u16string ToFullWidthButSpaces(std::u16string_view text) {
    std::u16string result = ToFullWidth(text);
    std::replace(result.begin(), result.end(), char16_t(0x3000), u' ');
    return result;
}

} // namespace kalvex
