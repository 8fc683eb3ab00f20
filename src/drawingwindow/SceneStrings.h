#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <string_view>
#include <vector>

namespace kalvex::drawing {

// The characters of the texts a scene's entries draw, kept side by side in large blocks: a
// string of its own on the heap costs as much again as its characters in bookkeeping, for
// each of hundreds of thousands of texts. The strings handed out refer to the blocks without
// owning them (a change of one makes it a copy of its own), so they are valid until clear()
// and no longer: only the scene's own entries may hold them.
class SceneStrings {
public:
    // The text's characters kept in the blocks.
    QString keep(QStringView text);
    // UTF-8 decoded straight into the blocks, as QString::fromUtf8 decodes it.
    QString decode(std::string_view utf8);
    // Forgets every string handed out.
    void clear();
    // Room taken by the blocks, in bytes.
    std::size_t bytes() const;

    static constexpr std::size_t kBlockUnits = 32768;

private:
    // Room for up to `units` more UTF-16 units; taken by commit().
    char16_t* room(std::size_t units);
    QString commit(const char16_t* start, std::size_t units);

    std::vector<std::unique_ptr<char16_t[]>> m_blocks; // the last one is being filled
    std::size_t m_used = 0;                            // of the last block
    std::vector<std::unique_ptr<char16_t[]>> m_large;  // strings too long for a block's share
    std::size_t m_largeUnits = 0;
};

} // namespace kalvex::drawing
