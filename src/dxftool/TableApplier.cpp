#include "dxftool/TableApplier.h"

#include <optional>

#include "cadlink/CadError.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/entities/TextEntity.h"
#include "dxftool/Fingerprint.h"
#include "dxftool/LargeVectors.h"
#include "dxftool/TextRecords.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace {

namespace drw = kalvex::drawing;

// An entry and the TEXT or ATTRIB record it names; whether the entry's text is the one the
// record holds is decided when the entry is checked, from the text read then.
struct Target {
    const TableEntry* entry = nullptr;
    drw::RecordId id = drw::kNoRecord;
    bool holdsText = false;
};

std::optional<Target> resolve(drw::CadModel& model, const TableEntry& entry, Staleness staleness,
                              Problems& problems) {
    const auto refuse = [&](const std::string& message) {
        problems.push_back({entry.line, message});
        return std::nullopt;
    };
    drw::Drawing& drawing = model.drawing();
    drw::RecordId id = drw::kNoRecord;
    try {
        id = model.recordOfHandle(upperAscii(entry.handle));
    } catch (const cad::CadError&) {
        return refuse("unknown handle " + entry.handle);
    }
    const drw::RecordKind kind = drawing.slot(id).kind;
    if (kind != drw::RecordKind::Text && kind != drw::RecordKind::Attrib)
        return refuse("the handle " + entry.handle + " is a " +
                      drw::cadEntityName(drawing.typeName(id)) + ", not a TEXT or ATTRIB");
    const std::string current = drw::TextEntity(drawing, id).textString();
    if (const auto fault = textFault(entry.text, current))
        return refuse("the text of " + entry.handle + *fault);
    if (staleness == Staleness::Refuse && !entry.fingerprint.empty() &&
        entry.fingerprint != textFingerprint(current))
        return refuse("the text of " + entry.handle +
                      " changed in the drawing since the table was made; --force writes the "
                      "table's text over it");
    return Target{&entry, id, current == entry.text};
}

} // namespace

ApplySummary applyTable(cad::Document& document, const std::vector<const TableEntry*>& entries,
                        Staleness staleness, Problems& problems) {
    drw::CadModel& model = modelOf(document);
    drw::Drawing& drawing = model.drawing();
    std::vector<Target> targets;
    const std::size_t problemsBefore = problems.size();
    reserveLarge(targets, entries.size());
    for (const TableEntry* entry : entries) {
        if (auto target = resolve(model, *entry, staleness, problems))
            targets.push_back(*target);
    }
    if (problems.size() != problemsBefore)
        return {};
    const LayerLocks locks(document);
    EntityLayers layers(model, locks);
    ApplySummary summary;
    // Records written already: two spellings of one handle may name the same record, whose
    // text is then no longer the one read when its rows were checked.
    std::vector<bool> written(drawing.recordCount(), false);
    document.StartUndoMark();
    // Counted as writeCounted counts the values of the CAD's entities.
    for (const Target& target : targets) {
        if (target.holdsText) {
            ++summary.unchanged;
            continue;
        }
        EntityLayers::Layer& layer = layers.of(drw::RecordView(drawing, target.id).raw(8));
        if (layer.locked) {
            ++summary.locked;
            continue;
        }
        // The CAD refuses the change, and says why, as it does for a text set through it.
        if (layers.refusesChanges(layer))
            model.requireUnlocked(target.id);
        if (written[target.id])
            drw::TextEntity(drawing, target.id).setTextString(target.entry->text);
        else
            writeText(drawing, target.id, target.entry->text);
        written[target.id] = true;
        ++summary.changed;
    }
    return summary;
}

} // namespace kalvex::dxftool
