#include <benchmark/benchmark.h>

#include <random>

#include "sorting/TextRecordSort.h"

namespace {

// Records of a column of terminal labels in random order, as picked by a window selection.
std::vector<kalvex::Orvik> randomRecords(std::size_t n) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
    std::vector<kalvex::Orvik> records(n);
    for (std::size_t i = 0; i < n; ++i) {
        records[i].index = static_cast<int>(i);
        records[i].sHnd = std::to_string(0x100 + i);
        records[i].text = "TB-" + std::to_string(i) + " 端子台ラベル";
        records[i].insPt = kalvex::cad::CadPoint(coordinate(random) * 0.1, coordinate(random));
    }
    return records;
}

void BM_SortTextRecords(benchmark::State& state) {
    const auto original = randomRecords(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto records = original;
        state.ResumeTiming();
        kalvex::SortTextRecords(records, 3);
        benchmark::DoNotOptimize(records.data());
    }
}
BENCHMARK(BM_SortTextRecords)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
