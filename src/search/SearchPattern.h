#pragma once

#include <QString>

#include "cadlink/SearchPattern.h"

namespace kalvex {

inline const QString kSearchCaption = QStringLiteral("検索");
inline const QString kAbortCaption = QStringLiteral("中止");
inline const QString kIdlePatternCaption = QStringLiteral("検索 (部分一致)");

// The search pattern (cadlink/SearchPattern.h) of the text typed in the tab.
QString searchPattern(const QString& searchText, MatchMode mode);

// What the tab shows of the pattern sent; the suffix stays the same in prefix mode.
QString patternCaption(const QString& pattern);

} // namespace kalvex
