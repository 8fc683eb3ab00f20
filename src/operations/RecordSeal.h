#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/Records.h"

namespace kalvex {

// What the TEXT or attribute with this handle holds now; nothing when the drawing has no
// such entity (never had it, or it has been deleted).
std::optional<EntityImage> readEntityImage(cad::Document& document, const std::string& handle);

// The seal of freshly fetched records: what their entities hold now.
RecordSeal sealEntities(cad::Document& document, const std::vector<std::string>& handles);

// True when the drawing still holds what the seal says: every entity it names holds the same
// string, and the same point where the tool wrote it; every entity the tool wrote or created
// still exists; none that the tool deleted has come back. A fetched entity the tool never
// wrote may be gone: its record is passed over as before.
bool sealHolds(cad::Document& document, const RecordSeal& seal);
// The same for the one entity with this handle.
bool sealHoldsFor(cad::Document& document, const RecordSeal& seal, const std::string& handle);

// After a write of the tool: the seal takes what the records' entities hold now; those that
// changed or are new count as written, and the entities it named that are gone now (the write
// deleted them) join the deleted ones.
void reseal(cad::Document& document, RecordSeal& seal, const std::vector<std::string>& handles);
// After a write of one record's entity.
void resealOne(cad::Document& document, RecordSeal& seal, const std::string& handle);

// The handles of the records that have an entity.
template <class Record> std::vector<std::string> handlesOf(const std::vector<Record>& records) {
    std::vector<std::string> handles;
    handles.reserve(records.size());
    for (const Record& record : records) {
        if (!record.sHnd.empty())
            handles.push_back(record.sHnd);
    }
    return handles;
}

// A list of records with its seal, for a write that checks the drawing first and reseals after.
struct SealedRecords {
    RecordSeal& seal;
    std::function<std::vector<std::string>()> handles; // the records' handles at the time
};

template <class Record>
SealedRecords sealedRecords(RecordSeal& seal, const std::vector<Record>& records) {
    return {seal, [&records] { return handlesOf(records); }};
}

// What the user is told when a write is refused because the drawing changed outside the tool.
extern const char* const kDrawingChangedMessage;

} // namespace kalvex
