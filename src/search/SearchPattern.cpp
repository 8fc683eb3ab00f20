#include "search/SearchPattern.h"

namespace kalvex {

QString searchPattern(const QString& searchText, MatchMode mode) {
    if (searchText.isEmpty())
        return QStringLiteral("*");
    if (mode == MatchMode::Prefix)
        return searchText + u'*';
    return u'*' + searchText + u'*';
}

QString patternCaption(const QString& pattern) {
    return u'[' + pattern + QStringLiteral("] (部分一致)");
}

} // namespace kalvex
