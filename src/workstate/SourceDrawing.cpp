#include "workstate/SourceDrawing.h"

namespace kalvex {

cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               MessagePort& messages) {
    cad::DocumentPtr document = session.sourceDocument(key);
    if (!document)
        messages.show({QStringLiteral("データを取得した図面は閉じられています。"
                                      "図面には何も書き込みませんでした。"),
                       MessageIcon::Warning, MessageButtons::Ok});
    return document;
}

} // namespace kalvex
