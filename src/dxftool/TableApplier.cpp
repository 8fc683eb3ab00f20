#include "dxftool/TableApplier.h"

#include <algorithm>
#include <unordered_map>

#include "cadlink/AttributeReference.h"
#include "cadlink/Text.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace {

// An entry and the entity it names: a TEXT or an ATTRIB.
struct Target {
    const TableEntry* entry = nullptr;
    std::shared_ptr<cad::Text> text;
    std::shared_ptr<cad::AttributeReference> attribute;

    std::string current() const { return text ? text->TextString() : attribute->TextString(); }
    std::string layer() const { return text ? text->Layer() : attribute->Layer(); }
    void write(const std::string& value) const {
        text ? text->SetTextString(value) : attribute->SetTextString(value);
    }
};

[[noreturn]] void fail(const std::string& source, const TableEntry& entry,
                       const std::string& message) {
    throw TableError(source + ":" + std::to_string(entry.line) + ": " + message);
}

Target resolve(cad::Document& document, const TableEntry& entry, const std::string& source) {
    cad::EntityPtr entity;
    try {
        entity = document.HandleToObject(upperAscii(entry.handle));
    } catch (const cad::CadError&) {
        fail(source, entry, "unknown handle " + entry.handle);
    }
    Target target{&entry, std::dynamic_pointer_cast<cad::Text>(entity),
                  std::dynamic_pointer_cast<cad::AttributeReference>(entity)};
    if (!target.text && !target.attribute)
        fail(source, entry,
             "the handle " + entry.handle + " is a " + entity->EntityName() +
                 ", not a TEXT or ATTRIB");
    // A DXF value is one line of the file: a line break written into it would end the value
    // there and turn the rest into a group code, damaging the drawing.
    if (entry.text.find_first_of("\r\n") != std::string::npos && target.current() != entry.text)
        fail(source, entry,
             "the text of " + entry.handle + " holds a line break, which a DXF text cannot");
    return target;
}

std::vector<Target> resolveAll(cad::Document& document, const std::vector<TableEntry>& entries,
                               const std::string& source) {
    std::unordered_map<std::string, int> lineOfHandle;
    std::vector<Target> targets;
    targets.reserve(entries.size());
    for (const TableEntry& entry : entries) {
        const auto [seen, added] = lineOfHandle.emplace(upperAscii(entry.handle), entry.line);
        if (!added)
            fail(source, entry,
                 "the handle " + entry.handle + " is given again (first on line " +
                     std::to_string(seen->second) + ")");
        targets.push_back(resolve(document, entry, source));
    }
    return targets;
}

} // namespace

ApplySummary applyTable(cad::Document& document, const std::vector<TableEntry>& entries,
                        const std::string& source) {
    const std::vector<Target> targets = resolveAll(document, entries, source);
    const LayerLocks locks(document);
    ApplySummary summary;
    document.StartUndoMark();
    for (const Target& target : targets) {
        if (target.current() == target.entry->text)
            ++summary.unchanged;
        else if (locks.isLocked(target.layer()))
            ++summary.locked;
        else
            target.write(target.entry->text), ++summary.changed;
    }
    return summary;
}

std::string summaryLine(const ApplySummary& summary) {
    return "changed " + std::to_string(summary.changed) + ", unchanged " +
           std::to_string(summary.unchanged) + ", locked " + std::to_string(summary.locked);
}

} // namespace kalvex::dxftool
