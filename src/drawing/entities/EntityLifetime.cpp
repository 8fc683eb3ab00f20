#include "drawing/entities/EntityLifetime.h"

#include "cadlink/CadError.h"
#include "drawing/model/Handles.h"
#include "drawing/tags/GroupCodeTypes.h"
#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

namespace {

bool isUnsharedGroup(std::string_view opening) {
    return opening == "{ACAD_REACTORS" || opening == "{ACAD_XDICTIONARY";
}

// The pairs without the application groups that tie an object to others.
dxf::TagList withoutUnsharedGroups(const dxf::TagPool& pool, const dxf::TagList& tags) {
    const std::size_t mainEnd = dxf::mainPartEnd(tags);
    dxf::TagList kept;
    kept.reserve(tags.size());
    bool skipping = false;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const bool groupMark = tags[i].code == 102 && i < mainEnd;
        if (groupMark && !skipping)
            skipping = isUnsharedGroup(dxf::trimSpaces(pool.value(tags[i])));
        if (!skipping)
            kept.push_back(tags[i]);
        if (groupMark && dxf::trimSpaces(pool.value(tags[i])) == "}")
            skipping = false;
    }
    return kept;
}

// Gives the first handle pair (5) the new handle and, when an owner is given, the first owner
// pair (330) outside application groups the new owner.
void setHandleAndOwner(dxf::TagPool& pool, dxf::TagList& tags, std::uint64_t handle,
                       const std::string& owner) {
    const std::size_t mainEnd = dxf::mainPartEnd(tags);
    if (const auto index = dxf::findCode(tags, 5, 0, mainEnd))
        tags[*index] = pool.withValue(tags[*index], formatHandle(handle));
    if (owner.empty())
        return;
    if (const auto index = dxf::findCode(tags, 330, 0, mainEnd))
        tags[*index] = pool.withValue(tags[*index], owner);
}

// The pairs of the copy: fresh handle, new owner when given, no reactors or dictionary.
dxf::TagList cloneTags(Drawing& drawing, const dxf::TagList& tags, std::uint64_t handle,
                       const std::string& owner) {
    dxf::TagList copy = withoutUnsharedGroups(drawing.pool(), tags);
    setHandleAndOwner(drawing.pool(), copy, handle, owner);
    return copy;
}

} // namespace

RecordId copyEntity(Drawing& drawing, RecordId id) {
    const RecordSlot& source = drawing.slot(id);
    if (source.erased)
        throw cad::CadError("The entity has been erased.");
    if (source.parent != kNoRecord)
        throw cad::CadError("A part of another entity cannot be copied on its own.");
    if (source.section != Section::Entities || drawing.entitiesEnd() == kNoRecord)
        throw cad::CadError("Only entities of the drawing's ENTITIES section can be copied.");
    const RecordId first = static_cast<RecordId>(drawing.recordCount());
    std::vector<Drawing::NewRecord> records;
    std::string ownerHandle;
    for (RecordId part = id; part <= id + source.childCount; ++part) {
        const RecordSlot& slot = drawing.slot(part);
        Drawing::NewRecord record;
        record.handle = drawing.allocateHandle();
        record.tags = cloneTags(drawing, slot.tags, record.handle, ownerHandle);
        record.kind = slot.kind;
        record.section = slot.section;
        record.parent = part == id ? kNoRecord : first;
        record.childCount = part == id ? slot.childCount : 0;
        if (part == id)
            ownerHandle = formatHandle(record.handle);
        records.push_back(std::move(record));
    }
    return drawing.insertBefore(drawing.entitiesEnd(), std::move(records)).front();
}

void eraseEntity(Drawing& drawing, RecordId id) {
    const RecordSlot& slot = drawing.slot(id);
    if (slot.erased)
        throw cad::CadError("The entity has been erased.");
    const std::uint32_t children = slot.childCount;
    const Drawing::CompoundChange step(drawing);
    for (RecordId part = id; part <= id + children; ++part)
        drawing.setErased(part, true);
}

} // namespace kalvex::drawing
