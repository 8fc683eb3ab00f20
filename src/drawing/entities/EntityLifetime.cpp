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

// The pairs of the copy: fresh handle, new owner when given, no reactors or dictionary.
dxf::TagList cloneTags(Drawing& drawing, const dxf::TagList& tags, std::uint64_t handle,
                       const std::string& owner) {
    dxf::TagPool& pool = drawing.pool();
    const std::size_t mainEnd = dxf::mainPartEnd(tags);
    dxf::TagList copy;
    copy.reserve(tags.size());
    bool skipping = false;
    bool inGroup = false;
    bool handleDone = false;
    bool ownerDone = owner.empty();
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const dxf::Tag& tag = tags[i];
        const bool inMain = i < mainEnd;
        if (tag.code == 102 && inMain) {
            const std::string_view value = dxf::trimSpaces(pool.value(tag));
            const bool closing = value == "}";
            if (!closing) {
                inGroup = true;
                skipping = isUnsharedGroup(value);
            }
            if (!skipping)
                copy.push_back(tag);
            if (closing)
                inGroup = skipping = false;
            continue;
        }
        if (skipping)
            continue;
        if (inMain && !inGroup && tag.code == 5 && !handleDone) {
            copy.push_back(pool.withValue(tag, formatHandle(handle)));
            handleDone = true;
        } else if (inMain && !inGroup && tag.code == 330 && !ownerDone) {
            copy.push_back(pool.withValue(tag, owner));
            ownerDone = true;
        } else {
            copy.push_back(tag);
        }
    }
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
