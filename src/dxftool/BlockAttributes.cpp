#include "dxftool/BlockAttributes.h"

#include <algorithm>
#include <optional>

#include "cadlink/CadError.h"
#include "drawing/cad/CadModel.h"
#include "drawing/cad/FilterMatcher.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/entities/TextEntity.h"
#include "dxftool/Fingerprint.h"
#include "dxftool/TextRecords.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace {

bool takes(const AttributeChoice& choice, const std::string& tag) {
    return choice.tags.empty() ||
           std::find(choice.tags.begin(), choice.tags.end(), tag) != choice.tags.end();
}

// An attribute of a block reference a row names: its record and the text it held when the row
// was checked.
struct TargetAttribute {
    std::string key;
    drawing::RecordId id = drawing::kNoRecord;
    std::string text;
};

// An entry and the attributes of the block reference it names, by key.
struct Target {
    const AttributeEntry* entry = nullptr;
    std::vector<TargetAttribute> attributes;

    const TargetAttribute* attribute(const std::string& key) const {
        for (const TargetAttribute& attribute : attributes) {
            if (attribute.key == key)
                return &attribute;
        }
        return nullptr;
    }
};

// Block names as the CAD compares them, the last one asked for kept: the rows of a table mostly
// name one block, and their references are mostly of it.
class FoldedNames {
public:
    const std::string& of(const std::string& name) {
        if (name != m_name || m_folded.empty()) {
            m_name = name;
            m_folded = drawing::foldCadName(name);
        }
        return m_folded;
    }

private:
    std::string m_name;
    std::string m_folded;
};

struct BlockNames {
    FoldedNames tabled;
    FoldedNames drawn;
};

// The block reference the entry names, or nothing with `fault` set.
std::optional<drawing::RecordId> blockReference(drawing::CadModel& model,
                                                const AttributeEntry& entry, BlockNames& names,
                                                std::string& fault) {
    const drawing::Drawing& drawing = model.drawing();
    drawing::RecordId id = drawing::kNoRecord;
    try {
        id = model.recordOfHandle(upperAscii(entry.handle));
    } catch (const cad::CadError&) {
        fault = "unknown handle " + entry.handle;
        return std::nullopt;
    }
    if (drawing.slot(id).kind != drawing::RecordKind::Insert) {
        fault = "the handle " + entry.handle + " is a " +
                drawing::cadEntityName(drawing.typeName(id)) + ", not a block reference";
        return std::nullopt;
    }
    const std::string block = drawing::InsertEntity::blockName(drawing, id);
    if (names.drawn.of(block) != names.tabled.of(entry.block)) {
        fault = "the block reference " + entry.handle + " is of the block " + block + ", not " +
                entry.block;
        return std::nullopt;
    }
    return id;
}

std::string cellFault(const Target& target, const std::string& key, const std::string& value) {
    const TargetAttribute* attribute = target.attribute(key);
    if (!attribute)
        return value.empty() ? ""
                             : "the block reference " + target.entry->handle +
                                   " has no attribute " + key + " (write <> to leave it)";
    const auto fault = textFault(value, attribute->text);
    return fault ? "the value of " + key + " of " + target.entry->handle + *fault : "";
}

Target targetOf(const drawing::Drawing& drawing, const AttributeEntry& entry,
                drawing::RecordId insert) {
    Target target{&entry, {}};
    std::vector<std::string> tags;
    for (drawing::RecordId child = insert + 1; child <= insert + drawing.slot(insert).childCount;
         ++child) {
        const drawing::RecordSlot& attribute = drawing.slot(child);
        if (attribute.kind != drawing::RecordKind::Attrib || attribute.erased)
            continue;
        const TextFields fields = TextFields::read(drawing, child);
        tags.push_back(fields.tag ? drawing.codec().decode(*fields.tag) : std::string());
        target.attributes.push_back({{}, child, textOf(drawing, child, fields)});
    }
    const std::vector<std::string> keys = attributeKeys(tags);
    for (std::size_t i = 0; i < keys.size(); ++i)
        target.attributes[i].key = keys[i];
    return target;
}

// Whether the block reference still holds the values the row's fingerprint was made of; a row
// without fingerprint (a table of another tool) is taken as it is.
bool stillAsTabled(const Target& target, const std::vector<std::string>& keys, Problems& problems) {
    const AttributeEntry& entry = *target.entry;
    if (entry.fingerprint.empty())
        return true;
    const ValueOfKey valueOf = [&](const std::string& key) -> std::optional<std::string> {
        const TargetAttribute* attribute = target.attribute(key);
        return attribute ? std::optional(attribute->text) : std::nullopt;
    };
    const auto changed = keysChangedSince(entry.fingerprint, keys, valueOf);
    if (!changed) {
        problems.push_back({entry.line, "the fingerprint of " + entry.handle +
                                            " does not fit the table's tag columns; --force "
                                            "writes the row without this check"});
        return false;
    }
    if (changed->empty())
        return true;
    std::string tags;
    for (const std::string& key : *changed)
        tags += (tags.empty() ? "" : ", ") + key;
    problems.push_back({entry.line, "the block reference " + entry.handle +
                                        " changed in the drawing since the table was made (" +
                                        tags + "); --force writes the table's values over it"});
    return false;
}

std::optional<Target> resolve(drawing::CadModel& model, const std::vector<std::string>& keys,
                              const AttributeEntry& entry, Staleness staleness, BlockNames& names,
                              Problems& problems) {
    std::string fault;
    const auto insert = blockReference(model, entry, names, fault);
    if (!insert) {
        problems.push_back({entry.line, fault});
        return std::nullopt;
    }
    Target target = targetOf(model.drawing(), entry, *insert);
    bool fits = true;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto& cell = entry.cells[k];
        if (const std::string why = cell ? cellFault(target, keys[k], *cell) : ""; !why.empty()) {
            problems.push_back({entry.line, why});
            fits = false;
        }
    }
    if (fits && staleness == Staleness::Refuse)
        fits = stillAsTabled(target, keys, problems);
    return fits ? std::optional<Target>(std::move(target)) : std::nullopt;
}

} // namespace

std::vector<AttributeRow> readAttributeRows(cad::Document& document,
                                            const AttributeChoice& choice) {
    // The records are read directly, as the export reads them; the references are those the
    // CAD selects by type and block name.
    const drawing::CadModel& model = modelOf(document);
    const drawing::Drawing& drawing = model.drawing();
    const drawing::FilterMatcher filter(
        cad::SelectionFilter::of({{cad::SelectionFilter::EntityType, "INSERT"},
                                  {cad::SelectionFilter::BlockName, choice.blocks}}));
    std::vector<AttributeRow> rows;
    std::vector<std::string> tags, texts;
    for (const drawing::RecordId id : drawing.modelSpace()) {
        const drawing::RecordSlot& record = drawing.slot(id);
        if (record.kind != drawing::RecordKind::Insert || !filter.matches(drawing, id))
            continue;
        tags.clear();
        texts.clear();
        for (drawing::RecordId child = id + 1; child <= id + record.childCount; ++child) {
            const drawing::RecordSlot& attribute = drawing.slot(child);
            if (attribute.kind != drawing::RecordKind::Attrib || attribute.erased)
                continue;
            const TextFields fields = TextFields::read(drawing, child);
            tags.push_back(fields.tag ? drawing.codec().decode(*fields.tag) : std::string());
            texts.push_back(textOf(drawing, child, fields));
        }
        if (tags.empty())
            continue;
        const std::vector<std::string> keys = attributeKeys(tags);
        AttributeRow row{drawing.handleText(id), drawing::InsertEntity::blockName(drawing, id), {}};
        for (std::size_t i = 0; i < tags.size(); ++i) {
            if (takes(choice, tags[i]))
                row.values.push_back({tags[i], keys[i], std::move(texts[i])});
        }
        if (!row.values.empty())
            rows.push_back(std::move(row));
    }
    return rows;
}

ApplySummary applyAttributes(cad::Document& document, const std::vector<std::string>& keys,
                             const std::vector<const AttributeEntry*>& entries, Staleness staleness,
                             Problems& problems) {
    drawing::CadModel& model = modelOf(document);
    drawing::Drawing& drawing = model.drawing();
    std::vector<Target> targets;
    BlockNames names;
    const std::size_t problemsBefore = problems.size();
    for (const AttributeEntry* entry : entries) {
        if (auto target = resolve(model, keys, *entry, staleness, names, problems))
            targets.push_back(std::move(*target));
    }
    if (problems.size() != problemsBefore)
        return {};
    const LayerLocks locks(document);
    EntityLayers layers(model, locks);
    ApplySummary summary;
    // Records written already: two spellings of one handle may name the same reference, whose
    // values are then no longer those read when its rows were checked.
    std::vector<bool> written(drawing.recordCount(), false);
    document.StartUndoMark();
    // Counted as writeCounted counts the values of the CAD's entities.
    for (const Target& target : targets) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const TargetAttribute* attribute = target.attribute(keys[k]);
            if (!attribute || !target.entry->cells[k])
                continue;
            const std::string& value = *target.entry->cells[k];
            const drawing::RecordId id = attribute->id;
            const bool same = written[id] ? drawing::TextEntity(drawing, id).textString() == value
                                          : attribute->text == value;
            if (same) {
                ++summary.unchanged;
                continue;
            }
            EntityLayers::Layer& layer = layers.of(drawing::RecordView(drawing, id).raw(8));
            if (layer.locked) {
                ++summary.locked;
                continue;
            }
            // The CAD refuses the change, and says why, as it does for a text set through it.
            if (layers.refusesChanges(layer))
                model.requireUnlocked(id);
            if (written[id])
                drawing::TextEntity(drawing, id).setTextString(value);
            else
                writeText(drawing, id, value);
            written[id] = true;
            ++summary.changed;
        }
    }
    return summary;
}

} // namespace kalvex::dxftool
