#include "operations/SourceDrawing.h"

#include "cadlink/Connection.h"

namespace kalvex {

namespace {

const char* const kDrawingClosedMessage =
    "データを取得した図面は閉じられています。図面には何も書き込みませんでした。";

// The CAD runs but gives no application: it holds no drawing at all, so records fetched from
// one cannot reach it.
bool cadHoldsNoDrawing(CadLink& link, const std::string& key) {
    return !key.empty() && link.windows.findWindowByTitle(kCadWindowTitle) != 0;
}

} // namespace

cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window) {
    cad::DocumentPtr document = session.sourceDocument(key);
    if (!document)
        window.warn(kDrawingClosedMessage);
    return document;
}

WriteBack writeToSourceDrawing(CadLink& link, CadOperation operation, const std::string& key,
                               RunWindow& window, const std::function<void(cad::Document&)>& work,
                               const SealedRecords* sealed) {
    CadSession session(link, operation);
    if (!session.connected()) {
        if (!cadHoldsNoDrawing(link, key))
            return WriteBack::NoCad;
        window.warn(kDrawingClosedMessage);
        return WriteBack::DrawingClosed;
    }
    cad::DocumentPtr document = sourceDrawing(session, key, window);
    WriteBack outcome = document ? WriteBack::Done : WriteBack::DrawingClosed;
    if (document && sealed && !sealHolds(*document, sealed->seal)) {
        window.warn(kDrawingChangedMessage);
        outcome = WriteBack::DrawingChanged;
    }
    if (outcome == WriteBack::Done) {
        try {
            work(*document);
        } catch (...) {
            // What was written before the failure stays, and so the seal takes it.
            if (sealed)
                reseal(*document, sealed->seal, sealed->handles());
            throw;
        }
        if (sealed)
            reseal(*document, sealed->seal, sealed->handles());
    }
    session.finish();
    return outcome;
}

bool recordStillHolds(cad::Document& document, RecordSeal* seal, const std::string& handle,
                      RunWindow& window) {
    if (!seal || sealHoldsFor(document, *seal, handle))
        return true;
    window.warn(kDrawingChangedMessage);
    return false;
}

void resealRecord(cad::Document& document, RecordSeal* seal, const std::string& handle) {
    if (seal)
        resealOne(document, *seal, handle);
}

} // namespace kalvex
