#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <sstream>
#include <string>

#include "drawing/dxf/DxfFile.h"
#include "drawing/entities/TextEntity.h"
#include "drawing/tags/TagReader.h"
#include "drawing_sample.h"

// Reading and writing drawings of 20 000 and 200 000 TEXTs (about 4 and 40 MB). Wall time is
// shown beside the process's CPU time, which counts the second reader's thread too.
namespace {

namespace fs = std::filesystem;
using kalvex::bench::generateDrawing;

const fs::path& drawingOf(int texts) {
    static std::map<int, fs::path> files;
    auto [at, added] = files.emplace(texts, fs::path());
    if (added) {
        at->second =
            fs::temp_directory_path() / ("kalvex_bench_io_" + std::to_string(texts) + ".dxf");
        std::ofstream(at->second, std::ios::binary) << generateDrawing(texts);
    }
    return at->second;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::size_t heapInUse() {
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void loadAndSave(benchmark::State& state) {
    const fs::path input = drawingOf(static_cast<int>(state.range(0)));
    const fs::path output = fs::temp_directory_path() / "kalvex_bench_saved.dxf";
    const double fileSize = static_cast<double>(fs::file_size(input));
    double heapBytes = 0;
    for (auto _ : state) {
        const std::size_t heapBefore = heapInUse();
        auto drawing = kalvex::drawing::loadDxf(input.string());
        heapBytes = static_cast<double>(heapInUse() - heapBefore);
        kalvex::drawing::saveDxf(*drawing, output.string());
    }
    state.counters["file_MB"] = fileSize / 1e6;
    state.counters["memory_per_file_byte"] = heapBytes / fileSize;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize));
    fs::remove(output);
    fs::remove(fs::path(output).replace_extension(".bak"));
}

void loadOnly(benchmark::State& state) {
    const fs::path input = drawingOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kalvex::drawing::loadDxf(input.string()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(input)));
}

void saveOnly(benchmark::State& state) {
    const auto drawing =
        kalvex::drawing::loadDxf(drawingOf(static_cast<int>(state.range(0))).string());
    const fs::path output = fs::temp_directory_path() / "kalvex_bench_saved.dxf";
    for (auto _ : state)
        kalvex::drawing::saveDxf(*drawing, output.string());
    fs::remove(output);
    fs::remove(fs::path(output).replace_extension(".bak"));
}

// The pairs of the file alone, read in one go (range 1 = 0) or in two halves (range 1 = 1).
void readPairs(benchmark::State& state) {
    const std::string bytes = bytesOf(drawingOf(static_cast<int>(state.range(0))));
    const std::size_t twoHalvesFrom = state.range(1) ? 0 : SIZE_MAX;
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = bytes;
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            kalvex::dxf::readTags(std::move(copy), "bench.dxf", twoHalvesFrom));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// A new string written into every TEXT, as the search tab writes its hits back; the memory the
// writes add (the new values and what undo keeps), per TEXT. Range 1 = 0 keeps no undo history.
void writeEveryText(benchmark::State& state) {
    const fs::path input = drawingOf(static_cast<int>(state.range(0)));
    double perWrite = 0;
    std::size_t writes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto drawing = kalvex::drawing::loadDxf(input.string());
        if (state.range(1) == 0)
            drawing->keepNoHistory();
        const std::vector<kalvex::drawing::RecordId> texts = drawing->modelSpace();
        const std::size_t heapBefore = heapInUse();
        state.ResumeTiming();
        const kalvex::drawing::Drawing::CompoundChange step(*drawing);
        for (const kalvex::drawing::RecordId id : texts)
            kalvex::drawing::TextEntity(*drawing, id)
                .setTextString("WRITTEN " + std::to_string(id));
        state.PauseTiming();
        writes = texts.size();
        perWrite = static_cast<double>(heapInUse() - heapBefore) / static_cast<double>(writes);
        state.ResumeTiming();
    }
    state.counters["writes"] = static_cast<double>(writes);
    state.counters["heap_bytes_per_write"] = perWrite;
}

} // namespace

// Process CPU time beside wall time: a large drawing is read in two halves on two threads.
BENCHMARK(loadOnly)
    ->Arg(20000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(saveOnly)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndSave)
    ->Arg(20000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(readPairs)
    ->ArgsProduct({{20000, 200000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(writeEveryText)
    ->ArgsProduct({{20000, 200000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_MAIN();
