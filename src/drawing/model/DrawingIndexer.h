#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// Builds a drawing's indexes from the records of its file: sections, the layer table, block
// definitions, the records an INSERT or POLYLINE owns, handles and $HANDSEED.
class DrawingIndexer {
public:
    DrawingIndexer(Drawing& drawing, const std::string& fileName)
        : m_drawing(drawing), m_fileName(fileName) {}
    // Takes the records out of the file.
    void run(dxf::TagFile& file);

private:
    void addRecords(dxf::TagFile& file);
    void classify(RecordId id);
    void classifySectionStart(RecordSlot& slot);
    void classifyTableStart(RecordSlot& slot);
    void endSection(RecordId id);
    void addLayer(RecordId id);
    void classifyBlockBoundary(RecordId id);
    void linkChildren();
    RecordId linkChildrenOf(RecordId owner, RecordKind childKind, bool mustClose);
    void readHeader();
    void checkStrings();
    void assignHandles();
    std::string_view valueOf(const RecordSlot& slot, std::int16_t code) const;
    std::size_t lineOf(RecordId id) const;
    std::size_t lastLine() const;
    [[noreturn]] void fail(RecordId id, const std::string& message) const;
    [[noreturn]] void failUnclosedSection(std::size_t line, const std::string& what) const;

    Drawing& m_drawing;
    const std::string& m_fileName;
    Section m_section = Section::None;
    std::string m_sectionName; // as the file spells it
    bool m_inLayerTable = false;
    std::size_t m_openBlock = SIZE_MAX; // index of the block definition being read
};

} // namespace kalvex::drawing
