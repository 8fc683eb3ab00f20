#pragma once

#include <QString>

namespace kalvex {

// The user's copy of the bundled sample drawing, made on first use so that the sample itself
// is never written. Empty when the sample cannot be found or copied.
QString sampleDrawingCopy();

} // namespace kalvex
