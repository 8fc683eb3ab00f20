#include "dxftool/BlockAttributes.h"

#include <algorithm>
#include <optional>

#include "cadlink/BlockReference.h"
#include "drawing/cad/CadModel.h"
#include "dxftool/Fingerprint.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace {

bool takes(const AttributeChoice& choice, const std::string& tag) {
    return choice.tags.empty() ||
           std::find(choice.tags.begin(), choice.tags.end(), tag) != choice.tags.end();
}

std::vector<std::string> tagsOf(const std::vector<cad::AttributeReferencePtr>& attributes) {
    std::vector<std::string> tags;
    for (const auto& attribute : attributes)
        tags.push_back(attribute->TagString());
    return tags;
}

std::optional<AttributeRow> rowOf(const cad::BlockReference& insert,
                                  const AttributeChoice& choice) {
    if (!insert.HasAttributes())
        return std::nullopt;
    const auto attributes = insert.GetAttributes();
    const std::vector<std::string> tags = tagsOf(attributes);
    const std::vector<std::string> keys = attributeKeys(tags);
    AttributeRow row{insert.Handle(), insert.Name(), {}};
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (takes(choice, tags[i]))
            row.values.push_back({tags[i], keys[i], attributes[i]->TextString()});
    }
    if (row.values.empty())
        return std::nullopt;
    return row;
}

// An entry and the attributes of the block reference it names, by key.
struct Target {
    const AttributeEntry* entry = nullptr;
    std::vector<std::pair<std::string, cad::AttributeReferencePtr>> attributes;

    cad::AttributeReferencePtr attribute(const std::string& key) const {
        for (const auto& [name, attribute] : attributes) {
            if (name == key)
                return attribute;
        }
        return nullptr;
    }
};

std::shared_ptr<cad::BlockReference>
blockReference(cad::Document& document, const AttributeEntry& entry, std::string& fault) {
    cad::EntityPtr entity;
    try {
        entity = document.HandleToObject(upperAscii(entry.handle));
    } catch (const cad::CadError&) {
        fault = "unknown handle " + entry.handle;
        return nullptr;
    }
    auto insert = std::dynamic_pointer_cast<cad::BlockReference>(entity);
    if (!insert)
        fault = "the handle " + entry.handle + " is a " + entity->EntityName() +
                ", not a block reference";
    else if (drawing::foldCadName(insert->Name()) != drawing::foldCadName(entry.block))
        fault = "the block reference " + entry.handle + " is of the block " + insert->Name() +
                ", not " + entry.block;
    return fault.empty() ? insert : nullptr;
}

std::string cellFault(const Target& target, const std::string& key, const std::string& value) {
    const auto attribute = target.attribute(key);
    if (!attribute)
        return value.empty() ? ""
                             : "the block reference " + target.entry->handle +
                                   " has no attribute " + key + " (write <> to leave it)";
    const auto fault = textFault(value, attribute->TextString());
    return fault ? "the value of " + key + " of " + target.entry->handle + *fault : "";
}

Target targetOf(const AttributeEntry& entry, const cad::BlockReference& insert) {
    Target target{&entry, {}};
    if (!insert.HasAttributes())
        return target;
    const auto attributes = insert.GetAttributes();
    const std::vector<std::string> keys = attributeKeys(tagsOf(attributes));
    for (std::size_t i = 0; i < attributes.size(); ++i)
        target.attributes.emplace_back(keys[i], attributes[i]);
    return target;
}

// Whether the block reference still holds the values the row's fingerprint was made of; a row
// without fingerprint (a table of another tool) is taken as it is.
bool stillAsTabled(const Target& target, const std::vector<std::string>& keys, Problems& problems) {
    const AttributeEntry& entry = *target.entry;
    if (entry.fingerprint.empty())
        return true;
    const ValueOfKey valueOf = [&](const std::string& key) -> std::optional<std::string> {
        const auto attribute = target.attribute(key);
        return attribute ? std::optional(attribute->TextString()) : std::nullopt;
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

std::optional<Target> resolve(cad::Document& document, const std::vector<std::string>& keys,
                              const AttributeEntry& entry, Staleness staleness,
                              Problems& problems) {
    std::string fault;
    const auto insert = blockReference(document, entry, fault);
    if (!insert) {
        problems.push_back({entry.line, fault});
        return std::nullopt;
    }
    const Target target = targetOf(entry, *insert);
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
    return fits ? std::optional<Target>(target) : std::nullopt;
}

} // namespace

std::vector<AttributeRow> readAttributeRows(cad::Document& document,
                                            const AttributeChoice& choice) {
    std::vector<AttributeRow> rows;
    const auto filter =
        cad::SelectionFilter::of({{cad::SelectionFilter::EntityType, "INSERT"},
                                  {cad::SelectionFilter::BlockName, choice.blocks}});
    forEachSelected(document, filter, [&](const cad::EntityPtr& entity) {
        if (auto row = rowOf(*cad::entityAs<cad::BlockReference>(entity), choice))
            rows.push_back(std::move(*row));
    });
    return rows;
}

ApplySummary applyAttributes(cad::Document& document, const std::vector<std::string>& keys,
                             const std::vector<const AttributeEntry*>& entries, Staleness staleness,
                             Problems& problems) {
    std::vector<Target> targets;
    const std::size_t problemsBefore = problems.size();
    for (const AttributeEntry* entry : entries) {
        if (auto target = resolve(document, keys, *entry, staleness, problems))
            targets.push_back(std::move(*target));
    }
    if (problems.size() != problemsBefore)
        return {};
    const LayerLocks locks(document);
    ApplySummary summary;
    document.StartUndoMark();
    for (const Target& target : targets) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const auto attribute = target.attribute(keys[k]);
            if (attribute && target.entry->cells[k])
                writeCounted(*attribute, *target.entry->cells[k], locks, summary);
        }
    }
    return summary;
}

} // namespace kalvex::dxftool
