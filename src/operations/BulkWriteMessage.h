#pragma once

#include <string>

namespace kalvex {

// What one bulk write of the search hits did: rows tried, rows written, and changed rows left
// alone because their layer is locked.
struct BulkWriteCount {
    int tried = 0;
    int written = 0;
    int lockedChanged = 0;
};

// The report shown after a bulk write.
std::string bulkWriteMessage(const BulkWriteCount& count);

} // namespace kalvex
