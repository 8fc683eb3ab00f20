#include "operations/search/TextSearch.h"

#include "operations/RecordSeal.h"

#include "cadlink/CadError.h"
#include "cadlink/HandOff.h"
#include "cadlink/LockedLayers.h"
#include "cadlink/Selection.h"
#include "operations/HitSort.h"
#include "operations/LockedHits.h"
#include "operations/SourceDrawing.h"

namespace kalvex {

namespace {

// The CAD needs a moment after a selection set is made and after it is filled.
constexpr int kSelectionPause = 5;

// Reads one hit; with a seal, the TEXT's image joins it from the same reading, so that every
// hit's entity is looked up and its string decoded once.
Orvik2 readHit(const cad::SelectionSet& set, int index, RecordSeal* seal) {
    auto text = cad::entityAs<cad::Text>(set.Item(index));
    Orvik2 hit;
    hit.text = text->TextString();
    hit.sHnd = text->Handle();
    hit.index = index;
    hit.insPt = text->InsertionPoint();
    hit.lay = text->Layer();
    if (seal && !hit.sHnd.empty()) {
        const cad::CadPoint placing =
            text->Alignment() != 0 ? text->TextAlignmentPoint() : hit.insPt;
        // The set lists the TEXTs in drawing order, in which handles ascend: each goes at the end.
        seal->held.emplace_hint(seal->held.end(), hit.sHnd, EntityImage{hit.text, placing});
    }
    return hit;
}

void readHits(cad::Document& document, const std::string& pattern, Waiter& waiter,
              RunWindow& window, RunScope& run, std::vector<Orvik2>& hits, RecordSeal* seal) {
    cad::SelectionSetPtr set = GetTempSelectionSet(document);
    waiter.wait(kSelectionPause);
    if (!set)
        return;
    const TempSelection selection(set);
    set->Clear();
    try {
        set->Select(cad::SelectionSet::Mode::All, TextSearchFilter(pattern));
    } catch (const cad::CadError&) {
        // The search goes on with whatever the set holds.
    }
    waiter.wait(kSelectionPause);
    const int count = set->Count();
    window.showProgress("TEXT = " + std::to_string(count));
    hits.reserve(static_cast<std::size_t>(count));
    const int step = std::max(1, count / 100);
    for (int i = 0; i < count; ++i) {
        if (i % step == 0)
            window.showProgress(std::to_string(i + 1) + " / " + std::to_string(count));
        if (!run.proceed())
            return;
        hits.push_back(readHit(*set, i, seal));
    }
}

// The hits and the locked layers of the drawing when the search ran to its end.
std::optional<std::string> collectHits(CadLink& link, const std::string& pattern, RunWindow& window,
                                       std::string& source, std::vector<Orvik2>& hits,
                                       RecordSeal* seal) {
    CadSession session(link, CadOperation::Search);
    if (!session.connected()) {
        session.finish();
        return std::nullopt;
    }
    RunScope run(window);
    cad::DocumentPtr document = session.document();
    std::string lockedLayers = lockedLayerList(*document);
    RecordSeal taken;
    readHits(*document, pattern, link.waiter, window, run, hits, seal ? &taken : nullptr);
    source = document->Key();
    if (seal)
        *seal = std::move(taken);
    session.finish();
    if (!run.proceed())
        return std::nullopt;
    return lockedLayers;
}

} // namespace

std::optional<std::vector<Orvik2>> SearchTexts(CadLink& link, const std::string& pattern,
                                               RunWindow& window, std::string& source,
                                               RecordSeal* seal) {
    std::vector<Orvik2> hits;
    const std::optional<std::string> lockedLayers =
        collectHits(link, pattern, window, source, hits, seal);
    if (!lockedLayers)
        return std::nullopt;
    SortHitsByText(hits, window);
    markLockedHits(hits, *lockedLayers);
    return hits;
}

} // namespace kalvex
