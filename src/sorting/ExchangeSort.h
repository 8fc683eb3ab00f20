#pragma once

#include <QString>
#include <QStringView>

#include "sorting/ExchangeOrder.h"

namespace kalvex {

inline std::u16string_view utf16View(QStringView text) {
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

// Ordinal comparison of UTF-16 code units, independent of case rules and locale; a string that is
// a prefix of another sorts first.
inline bool textLess(QStringView a, QStringView b) {
    return utf16Less(utf16View(a), utf16View(b));
}

inline std::vector<std::size_t> exchangeSortOrder(std::span<const QStringView> keys,
                                                  SortOrder order) {
    std::vector<std::u16string_view> views;
    views.reserve(keys.size());
    for (QStringView key : keys)
        views.push_back(utf16View(key));
    return exchangeSortOrder(std::span<const std::u16string_view>(views), order);
}

namespace detail {

template <> struct TextKey<QString> {
    using Held = QString;
    static constexpr bool kViewsKey = true;
    static Held hold(QString key) { return key; }
    static std::u16string_view view(const QString& key) { return utf16View(key); }
};

} // namespace detail

} // namespace kalvex
