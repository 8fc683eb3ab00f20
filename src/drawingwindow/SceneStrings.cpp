#include "drawingwindow/SceneStrings.h"

#include <QStringDecoder>
#include <algorithm>

namespace kalvex::drawing {

namespace {

// A string longer than this share of a block gets a block of its own, so that a block is not
// left mostly empty when a long one no longer fits.
constexpr std::size_t kLargeUnits = SceneStrings::kBlockUnits / 16;

} // namespace

char16_t* SceneStrings::room(std::size_t units) {
    if (units > kLargeUnits) {
        m_large.push_back(std::make_unique_for_overwrite<char16_t[]>(units));
        m_largeUnits += units;
        return m_large.back().get();
    }
    if (m_blocks.empty() || kBlockUnits - m_used < units) {
        m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(kBlockUnits));
        m_used = 0;
    }
    return m_blocks.back().get() + m_used;
}

QString SceneStrings::commit(const char16_t* start, std::size_t units) {
    if (units <= kLargeUnits)
        m_used += units;
    return QString::fromRawData(reinterpret_cast<const QChar*>(start),
                                static_cast<qsizetype>(units));
}

QString SceneStrings::keep(QStringView text) {
    const auto units = static_cast<std::size_t>(text.size());
    if (units == 0)
        return text.toString();
    char16_t* start = room(units);
    std::copy(text.utf16(), text.utf16() + units, start);
    return commit(start, units);
}

// UTF-8 never takes more UTF-16 units than it has bytes (a faulty byte becomes one
// replacement character), so that much room is asked for and the rest given back.
QString SceneStrings::decode(std::string_view utf8) {
    if (utf8.empty())
        return QString::fromUtf8(QByteArrayView(utf8.data(), 0));
    char16_t* start = room(utf8.size());
    // Stateless and dropping a leading byte-order mark, as QString::fromUtf8 decodes.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar* end = decoder.appendToBuffer(reinterpret_cast<QChar*>(start),
                                              QByteArrayView(utf8.data(), utf8.size()));
    const auto units = static_cast<std::size_t>(end - reinterpret_cast<const QChar*>(start));
    if (utf8.size() > kLargeUnits && units <= kLargeUnits) {
        // Decoded to a share that fits a block after all: kept there instead.
        const QString kept = keep(QStringView(start, static_cast<qsizetype>(units)));
        m_largeUnits -= utf8.size();
        m_large.pop_back();
        return kept;
    }
    return commit(start, units);
}

void SceneStrings::clear() {
    m_blocks.clear();
    m_large.clear();
    m_used = 0;
    m_largeUnits = 0;
}

std::size_t SceneStrings::bytes() const {
    return (m_blocks.size() * kBlockUnits + m_largeUnits) * sizeof(char16_t);
}

} // namespace kalvex::drawing
