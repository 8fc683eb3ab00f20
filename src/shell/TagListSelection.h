#pragma once

class QComboBox;

namespace kalvex {

// Selects a tag list item restored from an earlier run: the stored index when the list has
// that many items (a negative index selects nothing), otherwise the first item.
void selectStoredIndex(QComboBox& list, int storedIndex);

} // namespace kalvex
