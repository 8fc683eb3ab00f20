#include "drawingwindow/LayerLocking.h"

#include "drawing/cad/CadModel.h"
#include "drawing/entities/RecordEditor.h"
#include "drawing/entities/RecordView.h"
#include "drawing/entities/SimpleEntities.h"

namespace kalvex::drawing {

namespace {
constexpr int kLockedBit = 4;
} // namespace

std::optional<RecordId> findLayer(const Drawing& drawing, const std::string& name) {
    const std::string folded = foldCadName(name);
    for (RecordId id : drawing.layers()) {
        if (!drawing.slot(id).erased && foldCadName(LayerEntry::name(drawing, id)) == folded)
            return id;
    }
    return std::nullopt;
}

void setLayerLocked(Drawing& drawing, RecordId layer, bool locked) {
    const RecordView view(drawing, layer);
    const int flags = view.integer(70);
    const int wanted = locked ? (flags | kLockedBit) : (flags & ~kLockedBit);
    if (wanted == flags)
        return;
    std::string text = std::to_string(wanted);
    const std::size_t width = view.raw(70).value_or("").size();
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    RecordEditor editor(drawing, layer);
    editor.setRaw(70, text, editor.afterCode(62));
    editor.commit();
}

} // namespace kalvex::drawing
