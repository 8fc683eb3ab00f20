#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cadlink/Connection.h"
#include "drawing/DxfFile.h"
#include "drawing/view/DrawingWindow.h"

namespace {

namespace fs = std::filesystem;

class SilentMessages : public kalvex::MessagePort {
public:
    kalvex::MessageAnswer show(const kalvex::MessageRequest&) override {
        return kalvex::MessageAnswer::Ok;
    }
};

// A drawing of 200 000 TEXTs in columns, as terminal and cable lists are laid out, each
// with the pairs an R2018 program writes for a TEXT: about 40 MB.
const fs::path& largeDrawing() {
    static const fs::path path = [] {
        const fs::path file = fs::temp_directory_path() / "kalvex_bench_window.dxf";
        std::ofstream out(file, std::ios::binary);
        out << "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1032\n  9\n$HANDSEED\n  5\n"
               "FFFFFF\n  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n1\n"
               "  0\nLAYER\n  5\n10\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n"
               "  2\n0\n 70\n0\n 62\n7\n  6\nContinuous\n  0\nENDTAB\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nENTITIES\n";
        char buffer[640];
        for (int i = 0; i < 200000; ++i) {
            const double x = (i / 450) * 40.0, y = (i % 450) * 5.0;
            const int n = std::snprintf(
                buffer, sizeof buffer,
                "  0\nTEXT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n 62\n%d\n100\nAcDbText\n"
                " 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n2.5\n  1\nTB-%06d 端子台\n 50\n0.0\n"
                " 41\n1.0\n  7\nStandard\n 72\n0\n 11\n%.6f\n 21\n%.6f\n 31\n0.0\n"
                "210\n0.0\n220\n0.0\n230\n1.0\n100\nAcDbText\n 73\n0\n",
                0x100 + i, 1 + i % 7, x, y, i, x, y);
            out.write(buffer, n);
        }
        out << "  0\nENDSEC\n  0\nEOF\n";
        return file;
    }();
    return path;
}

void BM_OpenAndFirstPaint(benchmark::State& state) {
    SilentMessages messages;
    const fs::path file = largeDrawing();
    for (auto _ : state) {
        kalvex::drawing::DrawingWindow window(messages,
                                              QString::fromStdString(kalvex::kCadWindowTitle));
        window.resize(1280, 860);
        window.show();
        window.showDrawing(kalvex::drawing::loadDxf(file.string()), QString());
        benchmark::DoNotOptimize(window.canvas()->grab());
    }
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}
BENCHMARK(BM_OpenAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

// Pans by 40 pixels at a zoom that shows the given fraction of the drawing's height.
void BM_RepaintAfterPan(benchmark::State& state) {
    SilentMessages messages;
    kalvex::drawing::DrawingWindow window(messages,
                                          QString::fromStdString(kalvex::kCadWindowTitle));
    window.resize(1280, 860);
    window.show();
    window.showDrawing(kalvex::drawing::loadDxf(largeDrawing().string()), QString());
    QCoreApplication::processEvents();
    auto& view = window.model()->view();
    const double fraction = 1.0 / static_cast<double>(state.range(0));
    view.setHeight(view.height() * fraction);
    window.canvas()->grab();
    for (auto _ : state) {
        window.canvas()->panByPixels(QPointF(40, 0));
        benchmark::DoNotOptimize(window.canvas()->grab());
    }
}
BENCHMARK(BM_RepaintAfterPan)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
