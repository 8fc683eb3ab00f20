// The drawing window on large drawings: opening (load, scene, first paint) at two sizes of a
// drawing of TEXTs and of one of TEXTs and block references, process CPU beside wall, and
// the repaint after a pan or a wheel zoom at zooms from the whole drawing down to a few
// entities, on a drawing of TEXTs and on one of block references.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <map>

#include "cadlink/Connection.h"
#include "drawing/dxf/DxfFile.h"
#include "drawing_sample.h"
#include "drawingwindow/DrawingWindow.h"

namespace {

using namespace kalvex;
namespace fs = std::filesystem;

class SilentMessages : public MessagePort {
public:
    MessageAnswer show(const MessageRequest&) override { return MessageAnswer::Ok; }
};

enum Kind : int { Texts, References, Mixed };

const char* kindName(Kind kind) {
    switch (kind) {
    case Texts:
        return "texts";
    case References:
        return "refs";
    case Mixed:
        break;
    }
    return "mixed";
}

const fs::path& drawingFile(Kind kind, int count) {
    static std::map<std::pair<Kind, int>, fs::path> files;
    fs::path& file = files[{kind, count}];
    if (file.empty())
        file = bench::timingDrawing(kindName(kind), count);
    return file;
}

struct Window {
    SilentMessages messages;
    drawing::DrawingWindow window{messages, QString::fromStdString(kCadWindowTitle)};

    explicit Window(const fs::path& file) {
        window.resize(1280, 860);
        window.show();
        window.showDrawing(drawing::loadDxf(file.string()), QString());
        QCoreApplication::processEvents();
        window.canvas()->grab();
    }
};

void BM_OpenAndFirstPaint(benchmark::State& state) {
    const fs::path& file = drawingFile(Kind(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        Window window(file);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}
// Wall time is reported, and the process's CPU time (both cores) beside it as the counter.
BENCHMARK(BM_OpenAndFirstPaint)
    ->Args({Texts, 100000})
    ->Args({Texts, 200000})
    ->Args({Texts, 500000})
    ->Args({Mixed, 100000})
    ->Args({Mixed, 500000})
    ->Args({References, 2000})
    ->Args({References, 32000})
    ->ArgNames({"drawing", "entities"})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(2);

// The windows kept for all the repaint benchmarks; closed before the application ends.
std::map<Kind, std::unique_ptr<Window>>& keptWindows() {
    static std::map<Kind, std::unique_ptr<Window>> windows;
    return windows;
}

// The window on the larger drawing of each kind.
drawing::DrawingWindow& windowOn(Kind kind) {
    auto& window = keptWindows()[kind];
    if (!window)
        window = std::make_unique<Window>(drawingFile(kind, kind == Texts ? 500000 : 32000));
    return window->window;
}

// Shows the middle of the drawing at a zoom that shows 1/zoom of its extents' height.
drawing::DrawingCanvas& canvasAtZoom(benchmark::State& state) {
    drawing::DrawingWindow& window = windowOn(Kind(state.range(0)));
    window.canvas()->zoomExtents();
    auto& view = window.model()->view();
    view.setHeight(view.height() / static_cast<double>(state.range(1)));
    window.canvas()->grab();
    return *window.canvas();
}

void BM_RepaintAfterPan(benchmark::State& state) {
    drawing::DrawingCanvas& canvas = canvasAtZoom(state);
    double step = 40;
    for (auto _ : state) {
        canvas.panByPixels(QPointF(step, 0));
        benchmark::DoNotOptimize(canvas.grab());
        step = -step;
    }
}

void BM_RepaintAfterWheelZoom(benchmark::State& state) {
    drawing::DrawingCanvas& canvas = canvasAtZoom(state);
    const QPointF cursor(canvas.width() * 0.4, canvas.height() * 0.6);
    double factor = 1.2;
    for (auto _ : state) {
        canvas.zoomAbout(cursor, factor);
        benchmark::DoNotOptimize(canvas.grab());
        factor = 1 / factor;
    }
}

void atEveryZoom(benchmark::internal::Benchmark* b) {
    for (int kind : {Texts, References})
        for (int zoom : {1, 4, 16, 64, 256, 1024})
            b->Args({kind, zoom});
    b->ArgNames({"drawing", "zoom"})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_RepaintAfterPan)->Apply(atEveryZoom);
BENCHMARK(BM_RepaintAfterWheelZoom)->Apply(atEveryZoom);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    keptWindows().clear();
    return 0;
}
