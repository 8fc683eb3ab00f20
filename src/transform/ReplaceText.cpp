#include "transform/ReplaceText.h"

namespace kalvex {

namespace {

// Upper case one UTF-16 unit at a time: a letter whose upper case is longer (ß) stays as it is,
// so the string keeps its length.
QString upperSameLength(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        if (!c.isSurrogate())
            c = c.toUpper();
    }
    return upper;
}

} // namespace

QString ReplaceText(const QString& text, const QString& search, const QString& replacement,
                    CaseMatch match) {
    if (search.isEmpty())
        return text;
    const bool ignoreCase = match == CaseMatch::IgnoreCase;
    const QString haystack = ignoreCase ? upperSameLength(text) : text;
    const QString needle = ignoreCase ? upperSameLength(search) : search;
    QString result;
    qsizetype from = 0;
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, from)) {
        result.append(QStringView(text).mid(from, at - from));
        result.append(replacement);
        from = at + needle.size();
    }
    result.append(QStringView(text).mid(from));
    return result;
}

} // namespace kalvex
