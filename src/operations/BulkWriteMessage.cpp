#include "operations/BulkWriteMessage.h"

namespace kalvex {

std::string bulkWriteMessage(const BulkWriteCount& count) {
    std::string message = count.tried > 0
                              ? std::to_string(count.written) + " / " +
                                    std::to_string(count.tried) + " 個の TEXT を更新しました．"
                              : "更新対象の TEXT はありません．";
    if (count.lockedChanged > 0)
        message +=
            "\nロック画層の TEXT " + std::to_string(count.lockedChanged) + " 個は更新されません．";
    return message;
}

} // namespace kalvex
