#include "operations/texttab/AttrFetch.h"

#include "operations/RecordSeal.h"

#include "cadlink/AttributeReference.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Connection.h"
#include "cadlink/Selection.h"
#include "operations/LineText.h"
#include "sorting/TextRecordSort.h"

namespace kalvex {

namespace {

constexpr int kSortByLargerExtent = 3;

Orvik attributeRecord(const cad::BlockReference& block, const cad::AttributeReference& attribute,
                      int index) {
    Orvik record;
    record.text = attribute.TextString();
    record.sHnd = attribute.Handle();
    record.index = index;
    record.txtAli = attribute.Alignment();
    record.lay = block.Layer();
    record.insPt = block.InsertionPoint();
    record.parentType = "INSERT";
    record.parentHnd = block.Handle();
    record.parentId = block.ObjectID();
    return record;
}

// A value the editor would split into several lines is left out and counted, so that line k
// of the editor stays paired with record k.
void collectBlock(std::vector<Orvik>& records, const cad::BlockReference& block,
                  const std::string& tag, int& withLineBreak) {
    if (!block.HasAttributes())
        return;
    for (const cad::AttributeReferencePtr& attribute : block.GetAttributes()) {
        if (attribute->TagString() != tag)
            continue;
        Orvik record = attributeRecord(block, *attribute, static_cast<int>(records.size()));
        if (holdsLineBreak(record.text))
            ++withLineBreak;
        else
            records.push_back(std::move(record));
    }
}

// The number of values left out for a line break.
int collectAttributes(TempSelection& selection, const std::string& tag, RunWindow& window,
                      std::vector<Orvik>& records) {
    records.clear();
    int withLineBreak = 0;
    const int count = selection.set().Count();
    for (int k = 0; k < count; ++k) {
        window.showProgress(tag + " : " + std::to_string(k + 1) + " / " + std::to_string(count));
        auto block = cad::entityAs<cad::BlockReference>(selection.set().Item(k));
        collectBlock(records, *block, tag, withLineBreak);
    }
    return withLineBreak;
}

} // namespace

// The tool window is brought back also when collecting fails, so that the error report is
// not hidden behind a minimised window.
int FetchAttributes(cad::Document& document, CadLink& link, const TagSelection& wanted,
                    FetchOrder order, RunWindow& window, EntityRecords& records) {
    auto selection = PickOnScreen(document, InsertPickFilter(wanted.blockPattern), link.waiter);
    const int count = selection ? selection->set().Count() : 0;
    window.showProgress("INSERT=" + std::to_string(count));
    if (count == 0)
        return 0;
    records.textSource = document.Key();
    records.textSeal = {};
    int withLineBreak = 0;
    try {
        withLineBreak = collectAttributes(*selection, wanted.tag, window, records.textRecords);
    } catch (...) {
        RestoreTool(link);
        throw;
    }
    if (withLineBreak > 0)
        window.inform("改行を含む属性値 " + std::to_string(withLineBreak) + " 個を除外しました.");
    if (order == FetchOrder::ByPosition)
        SortTextRecords(records.textRecords, kSortByLargerExtent);
    records.textSeal = sealEntities(document, handlesOf(records.textRecords));
    return count;
}

} // namespace kalvex
