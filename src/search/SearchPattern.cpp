#include "search/SearchPattern.h"

namespace kalvex {

QString searchPattern(const QString& searchText, MatchMode mode) {
    return QString::fromStdString(searchPattern(searchText.toStdString(), mode));
}

QString patternCaption(const QString& pattern) {
    return u'[' + pattern + QStringLiteral("] (部分一致)");
}

} // namespace kalvex
