#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "drawing/dxf/DxfFile.h"
#include "drawing/entities/EntityLifetime.h"
#include "drawing/entities/RecordView.h"
#include "drawing/entities/TextEntity.h"
#include "drawing/tags/TagReader.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/SceneRender.h"

using namespace kalvex::drawing;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Whatever was read writes back as it was; a file without EOF gains EOF and nothing else.
void checkRoundTrip(const Drawing& drawing, const std::string& bytes) {
    const std::string saved = drawing.serialize();
    if (saved.compare(0, bytes.size(), bytes) != 0)
        fail("the saved drawing does not start with the bytes read");
    if (saved.size() != bytes.size() && saved.find("EOF", bytes.size()) == std::string::npos)
        fail("the saved drawing gained more than EOF");
}

// Reads every value the CAD interface offers, then copies, erases and undoes.
void exerciseEntities(Drawing& drawing) {
    const auto entities = drawing.modelSpace();
    for (RecordId id : entities) {
        const RecordView view(drawing, id);
        view.layer();
        // A number that is not finite is a damaged value; the reader never lets one through.
        const auto at = view.point(10);
        if (!std::isfinite(at.x()) || !std::isfinite(at.y()) || !std::isfinite(at.z()))
            fail("a coordinate read is not a finite number");
        const RecordKind kind = drawing.slot(id).kind;
        if (kind == RecordKind::Text || kind == RecordKind::Attrib) {
            TextEntity text(drawing, id);
            text.textString();
            text.alignment();
            text.alignmentPoint();
        }
    }
    if (entities.empty() || drawing.entitiesEnd() == kNoRecord)
        return;
    const RecordId copy = copyEntity(drawing, entities.front());
    if (drawing.slot(copy).kind == RecordKind::Text)
        TextEntity(drawing, copy).setTextString("copy \xe6\x96\x87");
    eraseEntity(drawing, entities.front());
    drawing.undo();
    drawing.undo();
    drawing.undo();
}

// Builds what the drawing window shows (block cycles, huge arrays, degenerate splines and
// hatches must neither crash nor hang) and paints it into a small picture.
void exerciseScene(const Drawing& drawing) {
    const Scene scene(drawing);
    for (std::uint32_t i = 0; i < scene.size(); ++i)
        for (const SceneShape& shape : scene.entry(i).shapes)
            if (shape.kind == ShapeKind::Text && !std::isfinite(shape.text.height))
                fail("a text of the scene has no finite height");
    renderDrawing(drawing, {QSize(48, 32), std::nullopt});
}

// Reading in two halves (forced on however small the file) finds what reading in one go finds:
// the same pairs in the same records, or the same error.
void checkTwoHalves(const std::string& bytes) {
    using kalvex::dxf::readTags;
    std::string oneGoError;
    std::string halvesError;
    std::optional<kalvex::dxf::TagFile> oneGo;
    std::optional<kalvex::dxf::TagFile> halves;
    try {
        oneGo = readTags(bytes, "fuzz.dxf", SIZE_MAX);
    } catch (const kalvex::dxf::DxfError& error) {
        oneGoError = error.what();
    }
    try {
        halves = readTags(bytes, "fuzz.dxf", 0);
    } catch (const kalvex::dxf::DxfError& error) {
        halvesError = error.what();
    }
    if (oneGoError != halvesError)
        fail("reading in two halves fails otherwise than reading in one go");
    if (!oneGo)
        return;
    if (oneGo->records.size() != halves->records.size() ||
        oneGo->trailingBegin != halves->trailingBegin || oneGo->endsWithEof != halves->endsWithEof)
        fail("reading in two halves finds other records than reading in one go");
    for (std::size_t r = 0; r < oneGo->records.size(); ++r)
        if (!std::equal(oneGo->records[r].begin(), oneGo->records[r].end(),
                        halves->records[r].begin(), halves->records[r].end()))
            fail("reading in two halves finds other pairs than reading in one go");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkTwoHalves(bytes);
    std::shared_ptr<Drawing> drawing;
    try {
        drawing = parseDxf(bytes, "fuzz.dxf");
    } catch (const kalvex::dxf::DxfError&) {
        return 0; // refused with a message: what a damaged file should get
    }
    checkRoundTrip(*drawing, bytes);
    exerciseScene(*drawing);
    exerciseEntities(*drawing);
    return 0;
}
