#include "workstate/SourceDrawing.h"

#include "operations/SourceDrawing.h"
#include "workstate/QtRunWindow.h"

namespace kalvex {

cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               MessagePort& messages) {
    QtRunWindow window(messages);
    return sourceDrawing(session, key, static_cast<RunWindow&>(window));
}

} // namespace kalvex
