#include "transform/WidthMapping.h"

#include "platform/WidthMapping.h"

namespace kalvex {

namespace {

std::u16string_view viewOf(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

} // namespace

QString ToFullWidth(const QString& text) {
    return QString::fromStdU16String(ToFullWidth(viewOf(text)));
}

QString ToHalfWidth(const QString& text) {
    return QString::fromStdU16String(ToHalfWidth(viewOf(text)));
}

} // namespace kalvex
