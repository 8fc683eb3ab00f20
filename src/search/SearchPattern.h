#pragma once

#include <QString>

namespace kalvex {

enum class MatchMode { Contains, Prefix };

inline const QString kSearchCaption = QStringLiteral("検索");
inline const QString kAbortCaption = QStringLiteral("中止");
inline const QString kIdlePatternCaption = QStringLiteral("検索 (部分一致)");

// The wildcard pattern the CAD matches the TEXT strings against. An empty search text
// matches every string; the wildcards the user typed pass unchanged.
QString searchPattern(const QString& searchText, MatchMode mode);

// What the tab shows of the pattern sent; the suffix stays the same in prefix mode.
QString patternCaption(const QString& pattern);

} // namespace kalvex
