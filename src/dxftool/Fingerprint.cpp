#include "dxftool/Fingerprint.h"

#include <algorithm>
#include <cstdint>

namespace kalvex::dxftool {

namespace {

constexpr std::size_t kKeyDigits = 4;

std::uint32_t fnv1a(std::string_view bytes, std::uint32_t hash = 2166136261u) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

std::string hexDigits(std::uint32_t value, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(count, '0');
    for (std::size_t i = count; i-- > 0; value >>= 4)
        out[i] = kDigits[value & 0xf];
    return out;
}

// 4 digits for one key's value; a missing attribute hashes apart from every text.
std::string keyDigits(const std::string& key, const std::optional<std::string>& value) {
    std::uint32_t hash = fnv1a(key);
    hash = fnv1a(value ? std::string_view("\x01") : std::string_view("\x02"), hash);
    if (value)
        hash = fnv1a(*value, hash);
    return hexDigits((hash >> 16) ^ (hash & 0xffff), kKeyDigits);
}

std::vector<std::size_t> byteOrder(const std::vector<std::string>& keys) {
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

} // namespace

std::string textFingerprint(std::string_view text) {
    return hexDigits(fnv1a(text), 8);
}

std::string rowFingerprint(const std::vector<std::string>& keys, const ValueOfKey& valueOf) {
    std::string fingerprint;
    fingerprint.reserve(keys.size() * kKeyDigits);
    for (const std::size_t k : byteOrder(keys))
        fingerprint += keyDigits(keys[k], valueOf(keys[k]));
    return fingerprint;
}

std::optional<std::vector<std::string>> keysChangedSince(std::string_view fingerprint,
                                                         const std::vector<std::string>& keys,
                                                         const ValueOfKey& valueOf) {
    if (fingerprint.size() != keys.size() * kKeyDigits)
        return std::nullopt;
    std::vector<bool> changed(keys.size(), false);
    const std::vector<std::size_t> order = byteOrder(keys);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::string_view was = fingerprint.substr(i * kKeyDigits, kKeyDigits);
        changed[order[i]] = was != keyDigits(keys[order[i]], valueOf(keys[order[i]]));
    }
    std::vector<std::string> differing;
    for (std::size_t k = 0; k < keys.size(); ++k)
        if (changed[k])
            differing.push_back(keys[k]);
    return differing;
}

std::string fingerprintCell(const std::string& fingerprint) {
    return "'" + fingerprint;
}

std::string fingerprintOfCell(std::string_view cell) {
    if (cell.starts_with('\''))
        cell.remove_prefix(1);
    return std::string(cell);
}

} // namespace kalvex::dxftool
