#include "drawing/model/DrawingIndexer.h"

#include <algorithm>
#include <numeric>

#include "drawing/model/Handles.h"
#include "drawing/model/RecordKinds.h"
#include "drawing/tags/DxfError.h"
#include "drawing/tags/GroupCodeTypes.h"
#include "drawing/tags/LargeBuffers.h"
#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

void DrawingIndexer::run(dxf::TagFile& file) {
    addRecords(file);
    for (RecordId id = 0; id < m_drawing.m_slots.size(); ++id)
        classify(id);
    if (m_section != Section::None)
        failUnclosedSection(lastLine(), "the file ends");
    linkChildren();
    readHeader();
    checkStrings();
    assignHandles();
}

void DrawingIndexer::addRecords(dxf::TagFile& file) {
    const std::size_t count = file.records.size();
    auto& slots = m_drawing.m_slots;
    slots.reserve(count);
    dxf::adviseLarge(slots.data(), count * sizeof(RecordSlot));
    for (dxf::TagList& tags : file.records)
        slots.emplace_back().tags = std::move(tags);
    file.records = {};
    m_drawing.m_order.resize(count);
    std::iota(m_drawing.m_order.begin(), m_drawing.m_order.end(), RecordId{0});
    m_drawing.m_handles.reserve(count);
}

std::string_view DrawingIndexer::valueOf(const RecordSlot& slot, std::int16_t code) const {
    const auto index = dxf::findInMain(slot.tags, code);
    if (!index)
        return {};
    return dxf::trimSpaces(m_drawing.value(slot.tags[*index]));
}

void DrawingIndexer::classify(RecordId id) {
    RecordSlot& slot = m_drawing.m_slots[id];
    if (slot.tags.empty() || slot.tags.front().code != 0)
        return; // comments before the first record
    slot.kind = recordKindOf(dxf::trimSpaces(m_drawing.value(slot.tags.front())));
    if (slot.kind == RecordKind::SectionStart && m_section != Section::None)
        failUnclosedSection(lineOf(id), "a new SECTION begins");
    if (slot.kind == RecordKind::SectionStart)
        classifySectionStart(slot);
    slot.section = m_section;
    switch (slot.kind) {
    case RecordKind::SectionEnd:
        endSection(id);
        break;
    case RecordKind::TableStart:
        classifyTableStart(slot);
        break;
    case RecordKind::TableEnd:
        if (m_inLayerTable)
            m_drawing.m_layerTableEnd = id;
        m_inLayerTable = false;
        break;
    case RecordKind::Layer:
        addLayer(id);
        break;
    case RecordKind::Block:
    case RecordKind::EndBlock:
        classifyBlockBoundary(id);
        break;
    default:
        break;
    }
}

void DrawingIndexer::endSection(RecordId id) {
    if (m_section == Section::Entities)
        m_drawing.m_entitiesEnd = id;
    if (m_section == Section::Blocks)
        m_drawing.m_blocksEnd = id;
    m_section = Section::None;
}

void DrawingIndexer::addLayer(RecordId id) {
    if (m_inLayerTable)
        m_drawing.m_layers.push_back(id);
    else
        m_drawing.m_slots[id].kind = RecordKind::Other; // a LAYER record outside the table
}

void DrawingIndexer::classifyBlockBoundary(RecordId id) {
    if (m_drawing.m_slots[id].kind == RecordKind::Block) {
        if (m_section != Section::Blocks)
            return;
        m_drawing.m_blocks.push_back(BlockDefinition{id, kNoRecord, {}});
        m_openBlock = m_drawing.m_blocks.size() - 1;
        return;
    }
    if (m_openBlock < m_drawing.m_blocks.size())
        m_drawing.m_blocks[m_openBlock].end = id;
    m_openBlock = SIZE_MAX;
}

void DrawingIndexer::classifySectionStart(RecordSlot& slot) {
    m_sectionName = std::string(valueOf(slot, 2));
    m_section = sectionOf(m_sectionName);
    if (m_section == Section::Header)
        m_drawing.m_header = static_cast<RecordId>(&slot - m_drawing.m_slots.data());
}

void DrawingIndexer::classifyTableStart(RecordSlot& slot) {
    m_inLayerTable = m_section == Section::Tables && valueOf(slot, 2) == "LAYER";
}

void DrawingIndexer::linkChildren() {
    BlockDefinition* block = nullptr;
    std::size_t blockIndex = 0;
    auto& slots = m_drawing.m_slots;
    for (RecordId id = 0; id < slots.size(); ++id) {
        RecordSlot& slot = slots[id];
        if (slot.section != Section::Entities && slot.section != Section::Blocks)
            continue;
        if (slot.kind == RecordKind::Block && blockIndex < m_drawing.m_blocks.size())
            block = &m_drawing.m_blocks[blockIndex++];
        else if (slot.kind == RecordKind::EndBlock)
            block = nullptr;
        else if (isEntityKind(slot.kind) && block)
            block->items.push_back(id);
        if (slot.kind == RecordKind::Insert)
            id = linkChildrenOf(id, RecordKind::Attrib, valueOf(slot, 66) == "1");
        else if (slot.kind == RecordKind::Polyline)
            id = linkChildrenOf(id, RecordKind::Vertex, true);
    }
}

// Returns the last record the owner owns.
RecordId DrawingIndexer::linkChildrenOf(RecordId owner, RecordKind childKind, bool mustClose) {
    auto& slots = m_drawing.m_slots;
    RecordId next = owner + 1;
    while (next < slots.size() && slots[next].kind == childKind)
        ++next;
    const bool closed = next < slots.size() && slots[next].kind == RecordKind::Seqend;
    if (!closed && (mustClose || next > owner + 1)) {
        const std::string what = childKind == RecordKind::Attrib ? "attributes" : "vertices";
        fail(owner, "the " + what + " of this " + std::string(m_drawing.typeName(owner)) +
                        " are not closed by SEQEND");
    }
    if (!closed)
        return owner;
    for (RecordId child = owner + 1; child <= next; ++child)
        slots[child].parent = owner;
    slots[owner].childCount = next - owner;
    return next;
}

void DrawingIndexer::readHeader() {
    std::string version;
    std::string codePage;
    if (m_drawing.m_header != kNoRecord) {
        const dxf::TagList& tags = m_drawing.m_slots[m_drawing.m_header].tags;
        for (std::size_t i = 0; i + 1 < tags.size(); ++i) {
            if (tags[i].code != 9)
                continue;
            const std::string_view name = dxf::trimSpaces(m_drawing.value(tags[i]));
            const std::string_view value = dxf::trimSpaces(m_drawing.value(tags[i + 1]));
            if (name == "$ACADVER")
                version = value;
            else if (name == "$DWGCODEPAGE")
                codePage = value;
            else if (name == "$HANDSEED")
                m_drawing.m_nextHandle = std::max<std::uint64_t>(1, parseHandle(value).value_or(1));
        }
    }
    m_drawing.m_codec = makeTextCodec(version, codePage);
    if (!m_drawing.m_codec->isKnown())
        m_drawing.m_warnings.push_back(m_fileName + ": the code page \"" + codePage +
                                       "\" is not known; ANSI_1252 is used for its text");
}

// One warning for the strings whose bytes the drawing's encoding does not define, which are
// shown as U+FFFD (and kept as they are unless changed).
void DrawingIndexer::checkStrings() {
    // Line breaks never sit inside a character, so a file that is valid as a whole holds only
    // valid values: one pass over the bytes settles the usual case.
    const std::string_view bytes = m_drawing.m_pool.fileBytes();
    if (m_drawing.m_codec->isValid(bytes))
        return;
    std::size_t count = 0;
    std::size_t firstLine = 0;
    for (const RecordSlot& slot : m_drawing.m_slots) {
        for (const dxf::Tag& tag : slot.tags) {
            if (dxf::valueTypeOf(tag.code) != dxf::ValueType::Text)
                continue;
            if (m_drawing.m_codec->isValid(m_drawing.value(tag)))
                continue;
            if (count++ == 0)
                firstLine = dxf::lineOfOffset(bytes, m_drawing.m_pool.valueBegin(tag));
        }
    }
    if (count == 0)
        return;
    m_drawing.m_warnings.push_back(m_fileName + ":" + std::to_string(firstLine) + ": " +
                                   std::to_string(count) + " string" +
                                   (count == 1 ? " holds" : "s hold") +
                                   " bytes that are not valid in the drawing's encoding; they "
                                   "are shown as U+FFFD and kept as they are unless changed");
}

void DrawingIndexer::assignHandles() {
    auto& slots = m_drawing.m_slots;
    std::vector<RecordId> needHandle;
    struct Unusable {
        RecordId id = 0;
        std::string text;
        bool empty() const { return text.empty(); }
    } unusable;
    std::size_t unusableCount = 0;
    for (RecordId id = 0; id < slots.size(); ++id) {
        RecordSlot& slot = slots[id];
        if (slot.kind == RecordKind::SectionStart || slot.tags.empty() || slot.tags[0].code != 0)
            continue;
        const auto text = valueOf(slot, m_drawing.typeName(id) == "DIMSTYLE" ? 105 : 5);
        const auto handle = parseHandle(text);
        if (handle && !m_drawing.m_handles.contains(*handle)) {
            m_drawing.indexHandle(id, *handle);
            m_drawing.m_nextHandle = std::max(m_drawing.m_nextHandle, *handle + 1);
            continue;
        }
        if (handle)
            m_drawing.m_warnings.push_back(m_fileName + ":" + std::to_string(lineOf(id)) +
                                           ": duplicate handle " + formatHandle(*handle));
        if (isEntityKind(slot.kind) &&
            (slot.section == Section::Entities || slot.section == Section::Blocks)) {
            needHandle.push_back(id);
            if (!handle && !text.empty() && unusable.empty())
                unusable = {id, std::string(text)};
            unusableCount += !handle && !text.empty();
        }
    }
    // Entities without a usable handle get one in memory only, above every handle of the file.
    std::uint64_t shownAs = 0;
    for (RecordId id : needHandle) {
        if (unusableCount > 0 && id == unusable.id)
            shownAs = m_drawing.m_nextHandle;
        m_drawing.indexHandle(id, m_drawing.m_nextHandle++);
    }
    // A handle that is there but cannot be read as one (too long, not hexadecimal) is named once.
    if (unusableCount > 0) {
        m_drawing.m_warnings.push_back(
            m_fileName + ":" + std::to_string(lineOf(unusable.id)) + ": the handle " +
            unusable.text + " cannot be kept as it stands; the entity is shown as " +
            formatHandle(shownAs) +
            (unusableCount > 1 ? " (and " + std::to_string(unusableCount - 1) + " more such)"
                               : std::string()) +
            "; the file keeps its bytes unless the entity is changed");
    }
}

// The line of the last value that was read.
std::size_t DrawingIndexer::lastLine() const {
    const dxf::Tag& last = m_drawing.m_slots.back().tags.back();
    return dxf::lineOfOffset(m_drawing.m_pool.fileBytes(), m_drawing.m_pool.valueBegin(last));
}

std::size_t DrawingIndexer::lineOf(RecordId id) const {
    const dxf::Tag& first = m_drawing.m_slots[id].tags.front();
    return dxf::lineOfOffset(m_drawing.m_pool.fileBytes(), first.begin);
}

// A section without its ENDSEC is a file cut off (or files run together): reading on would show
// part of a drawing as if it were whole, and saving it would make it look finished.
void DrawingIndexer::failUnclosedSection(std::size_t line, const std::string& what) const {
    throw dxf::DxfError::at(m_fileName, line,
                            what + " inside the " + m_sectionName +
                                " section, which has no ENDSEC: the drawing is incomplete");
}

void DrawingIndexer::fail(RecordId id, const std::string& message) const {
    throw dxf::DxfError::at(m_fileName, lineOf(id), message);
}

} // namespace kalvex::drawing
