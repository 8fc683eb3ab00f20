#include "dxftool/TableApplier.h"

#include <optional>

#include "cadlink/AttributeReference.h"
#include "cadlink/Text.h"
#include "dxftool/Fingerprint.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace {

// An entry and the entity it names: a TEXT or an ATTRIB, with the text it holds, read once for
// the checks and the comparison before writing.
struct Target {
    const TableEntry* entry = nullptr;
    std::shared_ptr<cad::Text> text;
    std::shared_ptr<cad::AttributeReference> attribute;
    std::string current;

    const std::string& TextString() const { return current; }
    std::string Layer() const { return text ? text->Layer() : attribute->Layer(); }
    void SetTextString(const std::string& value) const {
        text ? text->SetTextString(value) : attribute->SetTextString(value);
    }
};

std::optional<Target> resolve(cad::Document& document, const TableEntry& entry, Staleness staleness,
                              Problems& problems) {
    const auto refuse = [&](const std::string& message) {
        problems.push_back({entry.line, message});
        return std::nullopt;
    };
    cad::EntityPtr entity;
    try {
        entity = document.HandleToObject(upperAscii(entry.handle));
    } catch (const cad::CadError&) {
        return refuse("unknown handle " + entry.handle);
    }
    // A cast across the interfaces' virtual bases is dear: the second is tried only when needed.
    Target target{&entry, std::dynamic_pointer_cast<cad::Text>(entity), nullptr};
    if (!target.text)
        target.attribute = std::dynamic_pointer_cast<cad::AttributeReference>(entity);
    if (!target.text && !target.attribute)
        return refuse("the handle " + entry.handle + " is a " + entity->EntityName() +
                      ", not a TEXT or ATTRIB");
    target.current = target.text ? target.text->TextString() : target.attribute->TextString();
    if (const auto fault = textFault(entry.text, target.current))
        return refuse("the text of " + entry.handle + *fault);
    if (staleness == Staleness::Refuse && !entry.fingerprint.empty() &&
        entry.fingerprint != textFingerprint(target.current))
        return refuse("the text of " + entry.handle +
                      " changed in the drawing since the table was made; --force writes the "
                      "table's text over it");
    return target;
}

} // namespace

ApplySummary applyTable(cad::Document& document, const std::vector<const TableEntry*>& entries,
                        Staleness staleness, Problems& problems) {
    std::vector<Target> targets;
    const std::size_t problemsBefore = problems.size();
    targets.reserve(entries.size());
    for (const TableEntry* entry : entries) {
        if (auto target = resolve(document, *entry, staleness, problems))
            targets.push_back(std::move(*target));
    }
    if (problems.size() != problemsBefore)
        return {};
    const LayerLocks locks(document);
    ApplySummary summary;
    document.StartUndoMark();
    for (const Target& target : targets)
        writeCounted(target, target.entry->text, locks, summary);
    return summary;
}

} // namespace kalvex::dxftool
