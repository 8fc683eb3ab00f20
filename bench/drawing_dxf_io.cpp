#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

#include "drawing/DxfFile.h"

namespace {

namespace fs = std::filesystem;

// An R2000 drawing of `count` TEXTs, each about 200 bytes as CAD programs write them.
std::string generateDrawing(int count) {
    std::string out = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n"
                      "  3\nANSI_932\n  9\n$HANDSEED\n  5\nFFFFF\n  0\nENDSEC\n"
                      "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  5\n2\n 70\n1\n"
                      "  0\nLAYER\n  5\n10\n  2\n0\n 70\n0\n  0\nENDTAB\n  0\nENDSEC\n"
                      "  0\nSECTION\n  2\nENTITIES\n";
    char buffer[512];
    for (int i = 0; i < count; ++i) {
        const int length = std::snprintf(
            buffer, sizeof buffer,
            "  0\nTEXT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n"
            " 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n2.5\n  1\nLINE-%06d \x94\x7a\x90\xfc\n"
            " 50\n0.0\n  7\nSTANDARD\n 72\n0\n 11\n0.0\n 21\n0.0\n 31\n0.0\n100\nAcDbText\n"
            " 73\n0\n",
            0x100 + i, 1000.0 + i * 0.5, 2000.0 - i * 0.25, i);
        out.append(buffer, static_cast<std::size_t>(length));
    }
    out += "  0\nENDSEC\n  0\nEOF\n";
    return out;
}

const fs::path& sampleFile() {
    static const fs::path path = [] {
        const fs::path file = fs::temp_directory_path() / "kalvex_bench_drawing.dxf";
        std::ofstream(file, std::ios::binary) << generateDrawing(200000);
        return file;
    }();
    return path;
}

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
