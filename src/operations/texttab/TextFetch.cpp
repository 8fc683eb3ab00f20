#include "operations/texttab/TextFetch.h"

#include "operations/RecordSeal.h"

#include "cadlink/LockedLayers.h"
#include "cadlink/Selection.h"
#include "operations/LineText.h"
#include "sorting/TextRecordSort.h"

namespace kalvex {

namespace {

constexpr int kSortByLargerExtent = 3;

// What the fetch left out: TEXTs on locked layers, and TEXTs whose string the editor would
// split into several lines, so that their lines would be paired with other TEXTs' records.
struct Excluded {
    int locked = 0;
    int withLineBreak = 0;
};

// Reads the picked TEXTs that are neither on a locked layer nor hold a line break into the
// records, in pick order.
Excluded collectTexts(TempSelection& selection, const std::string& locked, RunWindow& window,
                      std::vector<Orvik>& records) {
    const int total = selection.set().Count();
    records.assign(static_cast<std::size_t>(total), Orvik{});
    int accepted = 0;
    Excluded excluded;
    for (int i = 0; i < total; ++i) {
        auto text = cad::entityAs<cad::Text>(selection.set().Item(i));
        if (isOnLockedLayer(locked, text->Layer())) {
            ++excluded.locked;
            continue;
        }
        window.proceed();
        Orvik record = textRecordOf(*text, accepted);
        if (holdsLineBreak(record.text)) {
            ++excluded.withLineBreak;
            continue;
        }
        records[static_cast<std::size_t>(accepted++)] = std::move(record);
    }
    records.resize(static_cast<std::size_t>(accepted));
    return excluded;
}

void reportExcluded(RunWindow& window, const Excluded& excluded) {
    if (excluded.locked > 0)
        window.inform("ロック画層のTEXT " + std::to_string(excluded.locked) + " 個を除外しました.");
    if (excluded.withLineBreak > 0)
        window.inform("改行を含むTEXT " + std::to_string(excluded.withLineBreak) +
                      " 個を除外しました.");
}

} // namespace

Orvik textRecordOf(cad::Text& text, int index) {
    Orvik record;
    record.text = text.TextString();
    record.sHnd = text.Handle();
    record.index = index;
    record.txtAli = text.Alignment();
    record.insPt = record.txtAli != 0 ? text.TextAlignmentPoint() : text.InsertionPoint();
    record.lay = text.Layer();
    return record;
}

FetchResult FetchTexts(cad::Document& document, Waiter& waiter, FetchOrder order, RunWindow& window,
                       EntityRecords& records) {
    const std::string locked = lockedLayerList(document);
    auto selection = PickOnScreen(document, TextPickFilter(), waiter);
    if (!selection || selection->set().Count() < 1)
        return FetchResult::NothingPicked;
    records.textSource = document.Key();
    records.textSeal = {};
    std::vector<Orvik>& texts = records.textRecords;
    reportExcluded(window, collectTexts(*selection, locked, window, texts));
    if (!texts.empty() && order == FetchOrder::ByPosition)
        SortTextRecords(texts, kSortByLargerExtent);
    records.textSeal = sealEntities(document, handlesOf(texts));
    return FetchResult::Fetched;
}

} // namespace kalvex
