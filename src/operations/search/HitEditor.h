#pragma once

#include <string>
#include <vector>

#include "cadlink/CadLink.h"
#include "cadlink/Records.h"
#include "operations/BulkWriteMessage.h"
#include "operations/RunWindow.h"
#include "operations/SourceDrawing.h"

// The search hits' writes into the drawing, run by the hit grid (search/HitEditor).

namespace kalvex {

// A hit whose grid cell the user changed, and the cell's text.
struct HitEdit {
    Orvik2* hit;
    std::string text;
};

struct HitWriteResult {
    WriteBack outcome = WriteBack::NoCad;
    BulkWriteCount count;
};

// The bulk write: the changed hits are written into the drawing they were found in, as one
// undo step. Hits on locked layers are counted and left alone, a hit that cannot be written is
// skipped.
// With `sealed` hits, nothing is written into a drawing changed outside the tool since the search.
HitWriteResult WriteSearchHits(CadLink& link, const std::string& source, std::vector<HitEdit> edits,
                               RunWindow& window, const SealedRecords* sealed = nullptr);

// Enter in the hit grid: the cell's text is written into the hit's TEXT, and the hit takes what
// the CAD reads back. A hit on a locked layer is never written (Refused).
WriteBack WriteSearchHit(CadLink& link, const std::string& source, Orvik2& hit,
                         const std::string& text, RunWindow& window, RecordSeal* seal = nullptr);

} // namespace kalvex
