#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

#include "drawing/dxf/DxfFile.h"
#include "drawing_sample.h"

namespace {

namespace fs = std::filesystem;
using kalvex::bench::sampleFile;

void loadAndSave(benchmark::State& state) {
    const fs::path input = sampleFile();
    const fs::path output = fs::temp_directory_path() / "kalvex_bench_saved.dxf";
    const double fileSize = static_cast<double>(fs::file_size(input));
    double heapBytes = 0;
    for (auto _ : state) {
        const std::size_t heapBefore = mallinfo2().uordblks + mallinfo2().hblkhd;
        auto drawing = kalvex::drawing::loadDxf(input.string());
        heapBytes = static_cast<double>(mallinfo2().uordblks + mallinfo2().hblkhd - heapBefore);
        kalvex::drawing::saveDxf(*drawing, output.string());
    }
    state.counters["file_MB"] = fileSize / 1e6;
    state.counters["memory_per_file_byte"] = heapBytes / fileSize;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize));
    fs::remove(output);
    fs::remove(fs::path(output).replace_extension(".bak"));
}

void loadOnly(benchmark::State& state) {
    const fs::path input = sampleFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(kalvex::drawing::loadDxf(input.string()));
}

void saveOnly(benchmark::State& state) {
    const auto drawing = kalvex::drawing::loadDxf(sampleFile().string());
    const fs::path output = fs::temp_directory_path() / "kalvex_bench_saved.dxf";
    for (auto _ : state)
        kalvex::drawing::saveDxf(*drawing, output.string());
    fs::remove(output);
    fs::remove(fs::path(output).replace_extension(".bak"));
}

} // namespace

BENCHMARK(loadOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(saveOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndSave)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_MAIN();
