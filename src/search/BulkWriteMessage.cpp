#include "search/BulkWriteMessage.h"

namespace kalvex {

QString bulkWriteMessage(const BulkWriteCount& count) {
    QString message = count.tried > 0 ? QStringLiteral("%1 / %2 個の TEXT を更新しました．")
                                            .arg(count.written)
                                            .arg(count.tried)
                                      : QStringLiteral("更新対象の TEXT はありません．");
    if (count.lockedChanged > 0)
        message +=
            QStringLiteral("\nロック画層の TEXT %1 個は更新されません．").arg(count.lockedChanged);
    return message;
}

} // namespace kalvex
