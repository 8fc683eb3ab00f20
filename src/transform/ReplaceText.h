#pragma once

#include <QString>

namespace kalvex {

enum class CaseMatch { Exact, IgnoreCase };

// Replaces every occurrence of search in text by replacement, left to right, never rescanning
// inserted text. Ignoring case, the match is made on upper-case forms that keep every string's
// length, so positions in them are positions in the text; unmatched parts keep their case.
QString ReplaceText(const QString& text, const QString& search, const QString& replacement,
                    CaseMatch match);

} // namespace kalvex
