#include "operations/SourceDrawing.h"

namespace kalvex {

cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window) {
    cad::DocumentPtr document = session.sourceDocument(key);
    if (!document)
        window.warn("データを取得した図面は閉じられています。図面には何も書き込みませんでした。");
    return document;
}

} // namespace kalvex
