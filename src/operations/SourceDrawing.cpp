#include "operations/SourceDrawing.h"

namespace kalvex {

cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window) {
    cad::DocumentPtr document = session.sourceDocument(key);
    if (!document)
        window.warn("データを取得した図面は閉じられています。図面には何も書き込みませんでした。");
    return document;
}

WriteBack writeToSourceDrawing(CadLink& link, CadOperation operation, const std::string& key,
                               RunWindow& window, const std::function<void(cad::Document&)>& work) {
    CadSession session(link, operation);
    if (!session.connected())
        return WriteBack::NoCad;
    cad::DocumentPtr document = sourceDrawing(session, key, window);
    if (document)
        work(*document);
    session.finish();
    return document ? WriteBack::Done : WriteBack::DrawingClosed;
}

} // namespace kalvex
