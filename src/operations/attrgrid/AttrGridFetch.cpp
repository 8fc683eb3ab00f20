#include "operations/attrgrid/AttrGridFetch.h"

#include "operations/RecordSeal.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <utility>

#include "cadlink/AttributeReference.h"
#include "cadlink/Block.h"
#include "cadlink/BlockReference.h"
#include "cadlink/CadError.h"
#include "cadlink/Connection.h"
#include "cadlink/Selection.h"
#include "operations/SourceDrawing.h"
#include "operations/TextLineWriter.h"
#include "sorting/ExchangeOrder.h"

namespace kalvex {

namespace {

// Showing the progress repaints the window, which costs far more than reading one entity:
// it is shown at most every few hundredths of a second, and always for the last item.
constexpr std::chrono::milliseconds kProgressInterval{40};

struct FetchRun {
    cad::Document& document;
    const std::vector<std::string>& tags;
    RunWindow& window;
    RunScope& run;
    EntityRecords& records;
    GridFetch& result;
    // The prompts asked for during one fetch, so that a block definition without prompts is
    // searched once per tag rather than once per row.
    std::map<std::pair<std::string, std::string>, std::string> prompts;
    std::optional<std::chrono::steady_clock::time_point> shown;
};

void showProgress(FetchRun& f, int done, int total, const std::string& text) {
    const auto now = std::chrono::steady_clock::now();
    if (done < total && f.shown && now - *f.shown < kProgressInterval)
        return;
    f.shown = now;
    f.window.showStep(done, total);
    f.window.showProgress(text);
}

int tagColumn(const std::vector<std::string>& tags, const std::string& tag) {
    const auto found = std::find(tags.begin(), tags.end(), tag);
    return found == tags.end() ? 0 : static_cast<int>(found - tags.begin()) + 1;
}

// A block reference with at least one attribute of the set becomes a block record.
void acceptBlock(FetchRun& f, cad::SelectionSet& selection, int i) {
    auto reference = cad::entityAs<cad::BlockReference>(selection.Item(i));
    if (!reference->HasAttributes())
        return;
    for (const auto& attribute : reference->GetAttributes()) {
        if (tagColumn(f.tags, attribute->TagString()) == 0)
            continue;
        f.records.gridBlocks.push_back({reference->Handle(), reference->InsertionPoint(),
                                        reference->Layer(), 0, reference->Name()});
        return;
    }
}

void firstPass(FetchRun& f, cad::SelectionSet& selection) {
    const int picked = f.result.picked;
    for (int i = 0; i < picked; ++i) {
        if (!f.run.proceed()) {
            f.records.gridBlocks.clear();
            return;
        }
        showProgress(f, i + 1, picked,
                     "INSERT = " + std::to_string(i + 1) + " / " + std::to_string(picked));
        try {
            acceptBlock(f, selection, i);
        } catch (const cad::CadError&) {
            // An entity that cannot be read is left out.
        }
    }
}

const std::string& promptOf(FetchRun& f, const std::string& blockName, const std::string& tag) {
    const auto key = std::make_pair(blockName, tag);
    auto found = f.prompts.find(key);
    if (found == f.prompts.end())
        found = f.prompts.emplace(key, GetAttributePrompt(f.document, blockName, tag)).first;
    return found->second;
}

void placeAttribute(FetchRun& f, cad::BlockReference& reference, cad::AttributeReference& attribute,
                    int row) {
    const std::string tag = attribute.TagString();
    const int col = tagColumn(f.tags, tag);
    if (col == 0)
        return;
    std::vector<nAtt>& attrs = f.records.gridAttrs;
    attrs.push_back({attribute.Handle(), attribute.TextString(), attribute.InsertionPoint(),
                     attribute.Layer()});
    f.result.cells.push_back({col, row, static_cast<int>(attrs.size())});
    std::string& prompt = f.result.prompts[static_cast<std::size_t>(col - 1)];
    if (prompt.empty())
        prompt = promptOf(f, reference.Name(), tag);
}

// Looking the block up and asking for its attributes may fail and end the fetch; a failure
// while reading the attributes only ends this row.
void fillRow(FetchRun& f, const nBlk& block, int row) {
    f.result.rowsReached = row;
    auto reference = cad::entityAs<cad::BlockReference>(f.document.HandleToObject(block.sHnd));
    if (!reference->HasAttributes())
        return;
    const auto attributes = reference->GetAttributes();
    try {
        for (const auto& attribute : attributes)
            placeAttribute(f, *reference, *attribute, row);
    } catch (const cad::CadError&) {
    }
}

void secondPass(FetchRun& f) {
    const std::vector<nBlk>& blocks = f.records.gridBlocks;
    const int count = static_cast<int>(blocks.size());
    f.shown.reset();
    f.result.end = GridFetchEnd::FailedInRows;
    f.result.prompts.assign(f.tags.size(), std::string());
    for (int row = 1; row <= count; ++row) {
        if (!f.run.proceed())
            return;
        showProgress(f, row, count,
                     "ATTR = " + std::to_string(row) + " / " + std::to_string(f.result.picked));
        fillRow(f, blocks[static_cast<std::size_t>(row - 1)], row);
    }
}

void fetch(FetchRun& f, CadLink& link, const std::string& pattern) {
    auto selection = PickOnScreen(f.document, InsertPickFilter(pattern), link.waiter);
    if (!selection)
        return;
    f.result.picked = selection->set().Count();
    RestoreTool(link);
    f.window.showProgress("INSERT = " + std::to_string(f.result.picked));
    if (f.result.picked == 0)
        return;
    f.result.end = GridFetchEnd::FailedBeforeRows;
    f.window.showStep(0, f.result.picked);
    f.records.gridBlocks.clear();
    f.records.gridAttrs.clear();
    f.records.gridSource = f.document.Key();
    f.records.gridSeal = {};
    firstPass(f, selection->set());
    SortBlocksByPosition(f.records.gridBlocks, 3);
    secondPass(f);
    f.records.gridSeal = sealEntities(f.document, handlesOf(f.records.gridAttrs));
    f.result.end = GridFetchEnd::Done;
}

} // namespace

GridFetch FetchGrid(cad::Document& document, CadLink& link, const std::string& pattern,
                    const std::vector<std::string>& tags, RunWindow& window,
                    EntityRecords& records) {
    GridFetch result;
    RunScope run(window);
    FetchRun f{document, tags, window, run, records, result, {}, std::nullopt};
    try {
        fetch(f, link, pattern);
    } catch (const cad::CadError&) {
        // The fetch ends at a failure it cannot skip; what was read stays.
    }
    return result;
}

std::string GetAttributePrompt(cad::Document& document, const std::string& blockName,
                               const std::string& tag) {
    const auto blocks = document.GetBlocks();
    const int count = blocks->Count();
    for (int i = 0; i < count; ++i) {
        const auto block = blocks->Item(i);
        if (block->Name() != blockName)
            continue;
        for (int k = 0; k < block->Count(); ++k) {
            const auto item = block->Item(k);
            if (item->EntityName() == "AcDbAttributeDefinition" && item->TagString() == tag)
                return item->PromptString();
        }
        return {};
    }
    return {};
}
void SortBlocksByPosition(std::vector<nBlk>& blocks, int mode) {
    if (blocks.size() < 2)
        return;
    if (mode >= 3) {
        auto [minX, maxX] = std::minmax_element(blocks.begin(), blocks.end(), [](auto& a, auto& b) {
            return a.insPt.x() < b.insPt.x();
        });
        auto [minY, maxY] = std::minmax_element(blocks.begin(), blocks.end(), [](auto& a, auto& b) {
            return a.insPt.y() < b.insPt.y();
        });
        const double spreadX = maxX->insPt.x() - minX->insPt.x();
        const double spreadY = maxY->insPt.y() - minY->insPt.y();
        mode = spreadY < spreadX ? 0 : 1;
    }
    if (mode == 0)
        exchangeSortBy(
            blocks, [](const nBlk& b) { return b.insPt.x(); }, SortOrder::Ascending);
    else if (mode == 1)
        exchangeSortBy(
            blocks, [](const nBlk& b) { return b.insPt.y(); }, SortOrder::Descending);
}

} // namespace kalvex
