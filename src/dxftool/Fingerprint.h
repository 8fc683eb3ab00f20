#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvex::dxftool {

// Fingerprints let a table that is read back tell a value changed in the table from one changed
// in the drawing since the table was written. They are written with a leading apostrophe, so that
// a spreadsheet keeps them as text; the hash is the same on every run and machine (FNV-1a).

// The export table's fingerprint of a text: 8 hexadecimal digits.
std::string textFingerprint(std::string_view text);

// The value of an attribute key of a block reference, or nothing when it has no such attribute.
using ValueOfKey = std::function<std::optional<std::string>(const std::string& key)>;

// The attribute table's fingerprint of a row: 4 hexadecimal digits for each key, the keys taken
// in byte order, so that moving columns in a spreadsheet does not change it.
std::string rowFingerprint(const std::vector<std::string>& keys, const ValueOfKey& valueOf);

// The keys whose value differs from what the fingerprint holds, in the order of `keys`; nothing
// when the fingerprint does not fit the keys (a tag column added or removed, or not a fingerprint).
std::optional<std::vector<std::string>> keysChangedSince(std::string_view fingerprint,
                                                         const std::vector<std::string>& keys,
                                                         const ValueOfKey& valueOf);

// A fingerprint as a cell holds it, and back (the apostrophe is optional when read).
std::string fingerprintCell(const std::string& fingerprint);
std::string fingerprintOfCell(std::string_view cell);

} // namespace kalvex::dxftool
