#include "operations/search/HitEditor.h"

#include "cadlink/CadError.h"
#include "cadlink/Text.h"
#include "operations/TextLineWriter.h"

namespace kalvex {

namespace {

// Each written text moves into its hit: the edits are the write's own.
BulkWriteCount writeEdits(cad::Document& document, std::vector<HitEdit>& edits) {
    BulkWriteCount count;
    document.StartUndoMark();
    for (HitEdit& edit : edits) {
        if (edit.hit->locked) {
            ++count.lockedChanged;
            continue;
        }
        ++count.tried;
        try {
            edit.hit->insPt =
                writeEntityText<cad::Text>(document, edit.hit->sHnd, edit.text)->InsertionPoint();
            edit.hit->text = std::move(edit.text);
            ++count.written;
        } catch (const cad::CadError&) {
        }
    }
    return count;
}

} // namespace

HitWriteResult WriteSearchHits(CadLink& link, const std::string& source, std::vector<HitEdit> edits,
                               RunWindow& window, const SealedRecords* sealed) {
    HitWriteResult result;
    result.outcome = writeToSourceDrawing(
        link, CadOperation::SearchResultUpdate, source, window,
        [&](cad::Document& document) { result.count = writeEdits(document, edits); }, sealed);
    return result;
}

WriteBack WriteSearchHit(CadLink& link, const std::string& source, Orvik2& hit,
                         const std::string& text, RunWindow& window, RecordSeal* seal) {
    const LayerLock lock = hit.locked ? LayerLock::Locked : LayerLock::Free;
    return writeValueBack<cad::Text>(link, source, hit, text, lock, window, seal);
}

} // namespace kalvex
