#include <cstdio>
#include <map>
#include <string>

#include "BenchWindowSupport.h"
#include "cadlink/Connection.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/DrawingWindow.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/SceneRender.h"

namespace {

void pairs(std::string& out, std::initializer_list<std::pair<int, std::string>> list) {
    for (const auto& [code, value] : list)
        out += std::to_string(code) + "\n" + value + "\n";
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

// What plant drawings add: a dimension without its block, a multileader, a table (its block)
// and a feature control frame.
void addAnnotations(std::string& out, double x, double y, int i) {
    pairs(out, {{0, "DIMENSION"},
                {8, "0"},
                {100, "AcDbDimension"},
                {10, number(x)},
                {20, number(y + 12)},
                {70, "0"},
                {100, "AcDbAlignedDimension"},
                {13, number(x)},
                {23, number(y + 8)},
                {14, number(x + 20)},
                {24, number(y + 8)},
                {50, "0"}});
    pairs(out, {{0, "MULTILEADER"},
                {8, "0"},
                {300, "CONTEXT_DATA{"},
                {41, "2"},
                {140, "2"},
                {290, "1"},
                {304, "Valve " + std::to_string(i)},
                {12, number(x + 30)},
                {22, number(y + 36)},
                {13, "1"},
                {23, "0"},
                {302, "LEADER{"},
                {10, number(x + 28)},
                {20, number(y + 35)},
                {11, "1"},
                {21, "0"},
                {40, "2"},
                {304, "LEADER_LINE{"},
                {10, number(x + 20)},
                {20, number(y + 30)},
                {305, "}"},
                {303, "}"},
                {301, "}"},
                {170, "1"},
                {172, "2"}});
    pairs(out, {{0, "ACAD_TABLE"},
                {8, "0"},
                {100, "AcDbBlockReference"},
                {2, "*T"},
                {10, number(x + 30)},
                {20, number(y + 10)},
                {100, "AcDbTable"}});
    pairs(out, {{0, "TOLERANCE"},
                {8, "0"},
                {10, number(x + 30)},
                {20, number(y - 8)},
                {1, "{\\Fgdt;j}%%v0.05%%vA"}});
}

// One cell of a plan as other programs write it: a note in MTEXT, a hatched area, a
// dimension (its block), the annotations above, a spline, an ellipse, a polyline with an arc, a
// dashed line and a reference to a 30-entity symbol; sixteen entities and about seventy drawn
// pieces.
void addCell(std::string& out, int i) {
    const double x = (i % 100) * 60.0, y = (i / 100) * 40.0;
    pairs(out, {{0, "MTEXT"},
                {8, "0"},
                {10, number(x)},
                {20, number(y + 30)},
                {40, "2"},
                {41, "40"},
                {71, "1"},
                {1, "{\\H1.2x;Room " + std::to_string(i) +
                        "}\\Pfloor %%c50 \\S1/2; long note that wraps"}});
    pairs(out, {{0, "HATCH"},
                {8, "0"},
                {62, "3"},
                {10, "0"},
                {20, "0"},
                {2, "ANSI31"},
                {70, "0"},
                {91, "1"},
                {92, "2"},
                {72, "0"},
                {73, "1"},
                {93, "4"},
                {10, number(x)},
                {20, number(y)},
                {10, number(x + 20)},
                {20, number(y)},
                {10, number(x + 20)},
                {20, number(y + 15)},
                {10, number(x)},
                {20, number(y + 15)},
                {97, "0"},
                {75, "0"},
                {76, "1"},
                {52, "0"},
                {41, "1"},
                {77, "0"},
                {78, "1"},
                {53, "45"},
                {43, "0"},
                {44, "0"},
                {45, "-2.245"},
                {46, "2.245"},
                {79, "0"}});
    pairs(out, {{0, "DIMENSION"}, {8, "0"}, {2, "*D"}, {10, number(x)}, {20, number(y)}});
    addAnnotations(out, x, y, i);
    pairs(out, {{0, "SPLINE"},
                {8, "0"},
                {71, "3"},
                {74, "4"},
                {11, number(x + 25)},
                {21, number(y)},
                {11, number(x + 30)},
                {21, number(y + 8)},
                {11, number(x + 35)},
                {21, number(y + 2)},
                {11, number(x + 40)},
                {21, number(y + 9)}});
    pairs(out, {{0, "ELLIPSE"},
                {8, "0"},
                {10, number(x + 50)},
                {20, number(y + 5)},
                {11, "5"},
                {21, "0"},
                {40, "0.5"},
                {41, "0"},
                {42, "6.283185307"}});
    pairs(out, {{0, "LWPOLYLINE"},
                {8, "0"},
                {90, "3"},
                {70, "0"},
                {10, number(x)},
                {20, number(y + 20)},
                {42, "0.5"},
                {10, number(x + 10)},
                {20, number(y + 20)},
                {10, number(x + 10)},
                {20, number(y + 25)}});
    pairs(out, {{0, "LINE"},
                {8, "0"},
                {6, "DASHED"},
                {10, number(x)},
                {20, number(y - 2)},
                {11, number(x + 55)},
                {21, number(y - 2)}});
    pairs(out,
          {{0, "INSERT"}, {8, "0"}, {2, "SYMBOL"}, {10, number(x + 45)}, {20, number(y + 20)}});
    pairs(out, {{0, "TEXT"},
                {8, "0"},
                {10, number(x)},
                {20, number(y - 5)},
                {40, "2.5"},
                {1, "TB-" + std::to_string(i)}});
    pairs(out, {{0, "SOLID"},
                {8, "0"},
                {10, number(x + 22)},
                {20, number(y)},
                {11, number(x + 24)},
                {21, number(y)},
                {12, number(x + 22)},
                {22, number(y + 2)}});
    pairs(out, {{0, "CIRCLE"}, {8, "0"}, {10, number(x + 50)}, {20, number(y + 30)}, {40, "3"}});
    pairs(out, {{0, "ARC"},
                {8, "0"},
                {10, number(x + 50)},
                {20, number(y + 30)},
                {40, "4"},
                {50, "0"},
                {51, "120"}});
}

std::string drawingOf(int cells) {
    std::string out;
    pairs(out, {{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {0, "ENDSEC"},
                {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"},    {2, "LTYPE"},  {0, "LTYPE"},
                {2, "DASHED"},  {73, "2"},     {40, "0.75"},    {49, "0.5"},   {49, "-0.25"},
                {0, "ENDTAB"},  {0, "ENDSEC"}, {0, "SECTION"},  {2, "BLOCKS"}, {0, "BLOCK"},
                {8, "0"},       {2, "*D"},     {70, "1"},       {10, "0"},     {20, "0"}});
    pairs(out, {{0, "LINE"},
                {8, "0"},
                {10, "0"},
                {20, "-1"},
                {11, "20"},
                {21, "-1"},
                {0, "MTEXT"},
                {8, "0"},
                {10, "10"},
                {20, "-0.5"},
                {40, "1"},
                {71, "8"},
                {1, "20.00"},
                {0, "ENDBLK"},
                {8, "0"}});
    pairs(out, {{0, "BLOCK"}, {8, "0"}, {2, "*T"}, {70, "1"}, {10, "0"}, {20, "0"}});
    for (int k = 0; k < 3; ++k)
        pairs(out, {{0, "LINE"},
                    {8, "0"},
                    {10, "0"},
                    {20, number(-4.0 * k)},
                    {11, "20"},
                    {21, number(-4.0 * k)},
                    {0, "TEXT"},
                    {8, "0"},
                    {10, "1"},
                    {20, number(-4.0 * k - 3)},
                    {40, "2"},
                    {1, "Cell " + std::to_string(k)}});
    pairs(out, {{0, "ENDBLK"}, {8, "0"}});
    pairs(out, {{0, "BLOCK"}, {8, "0"}, {2, "SYMBOL"}, {70, "0"}, {10, "0"}, {20, "0"}});
    for (int k = 0; k < 30; ++k)
        pairs(out, {{0, "LINE"},
                    {8, "0"},
                    {10, number(k * 0.3)},
                    {20, "0"},
                    {11, "4"},
                    {21, number(k * 0.2)}});
    pairs(out, {{0, "ENDBLK"}, {8, "0"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    for (int i = 0; i < cells; ++i)
        addCell(out, i);
    pairs(out, {{0, "ENDSEC"}, {0, "EOF"}});
    return out;
}

const std::shared_ptr<kalvex::drawing::Drawing>& drawingFor(int cells) {
    static std::map<int, std::shared_ptr<kalvex::drawing::Drawing>> drawings;
    auto& drawing = drawings[cells];
    if (!drawing)
        drawing = kalvex::drawing::parseDxf(drawingOf(cells), "kinds.dxf");
    return drawing;
}

void BM_BuildSceneOfEveryKind(benchmark::State& state) {
    const auto& drawing = drawingFor(static_cast<int>(state.range(0)));
    std::size_t shapes = 0;
    for (auto _ : state) {
        const kalvex::drawing::Scene scene(*drawing);
        shapes = 0;
        for (std::uint32_t i = 0; i < scene.size(); ++i)
            shapes += scene.entry(i).shapes.size();
    }
    state.counters["entities"] = static_cast<double>(drawing->modelSpace().size());
    state.counters["shapes"] = static_cast<double>(shapes);
}
BENCHMARK(BM_BuildSceneOfEveryKind)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// What `kalvex --render` does after reading: the scene and one picture of the extents.
void BM_RenderPictureOfEveryKind(benchmark::State& state) {
    const auto& drawing = drawingFor(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kalvex::drawing::renderDrawing(*drawing, {QSize(1280, 860), {}}));
}
BENCHMARK(BM_RenderPictureOfEveryKind)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The user's path: the drawing window shows the drawing and paints it the first time.
void BM_WindowOpenAndFirstPaintOfEveryKind(benchmark::State& state) {
    kalvex::bench::SilentMessages messages;
    const auto& drawing = drawingFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kalvex::drawing::DrawingWindow window(messages,
                                              QString::fromStdString(kalvex::kCadWindowTitle));
        window.resize(1280, 860);
        window.show();
        window.showDrawing(drawing, QString());
        benchmark::DoNotOptimize(window.canvas()->grab());
    }
}
BENCHMARK(BM_WindowOpenAndFirstPaintOfEveryKind)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return kalvex::bench::runWindowBenchmarks(argc, argv);
}
