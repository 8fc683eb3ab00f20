#include <benchmark/benchmark.h>

#include "cadlink/Application.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"
#include "drawing_sample.h"

namespace {

using namespace kalvex;

// What the search tab does on a large drawing: select every TEXT matching a pattern, then
// write a new string into each hit inside one undo group.
void selectAndRewrite(benchmark::State& state) {
    const auto drawing = drawing::loadDxf(bench::sampleFile().string());
    auto model = drawing::CadModel::create(drawing);
    auto document = model->application()->ActiveDocument();
    std::int64_t hits = 0;
    for (auto _ : state) {
        auto set = document->GetSelectionSets()->Add("BENCH");
        set->Select(cad::SelectionSet::Mode::All,
                    cad::SelectionFilter::of({{0, "TEXT"}, {1, "LINE-0#[0-4]*"}}));
        document->StartUndoMark();
        for (int i = 0; i < set->Count(); ++i) {
            auto text = cad::entityAs<cad::Text>(set->Item(i));
            text->SetTextString(text->TextString() + "-R");
        }
        hits = set->Count();
        set->Delete();
        state.PauseTiming();
        model->drawing().undo();
        state.ResumeTiming();
    }
    state.counters["hits"] = static_cast<double>(hits);
}

} // namespace

BENCHMARK(selectAndRewrite)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
