#pragma once

#include <QString>

namespace kalvex {

// The platform's width mapping (platform/WidthMapping.h) for the tool's own strings.
QString ToFullWidth(const QString& text);
QString ToHalfWidth(const QString& text);

} // namespace kalvex
