#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "dxftool/Tool.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTexts = 150000;
constexpr int kInserts = 25000; // two ATTRIBs each

std::string header() {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n"
           "  3\nANSI_1252\n  9\n$HANDSEED\n  5\nFFFFFF\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n2\n"
           "  0\nLAYER\n  5\n10\n  2\n0\n 70\n0\n  0\nLAYER\n  5\n11\n  2\nLOCKED\n 70\n4\n"
           "  0\nENDTAB\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  5\n20\n  8\n0\n  2\nPUMP\n 70\n2\n"
           " 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\nPUMP\n  0\nENDBLK\n  5\n21\n  8\n0\n"
           "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
}

// A TEXT whose Japanese is held as \U+ escapes, as ANSI_1252 drawings store it.
void appendText(std::string& out, int i) {
    char buffer[512];
    const int length = std::snprintf(
        buffer, sizeof buffer,
        "  0\nTEXT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n%s\n100\nAcDbText\n"
        " 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n2.5\n  1\n\\U+914D\\U+96FB\\U+76E4 P-%06d\n"
        " 50\n0.0\n  7\nSTANDARD\n 72\n%d\n 11\n%.6f\n 21\n0.0\n 31\n0.0\n100\nAcDbText\n"
        " 73\n0\n",
        0x1000 + i, i % 10 == 0 ? "LOCKED" : "0", 1000.0 + i * 0.5, 2000.0 - i * 0.25, i, i % 3,
        10.0 + i);
    out.append(buffer, static_cast<std::size_t>(length));
}

void appendAttribute(std::string& out, int handle, const char* tag, int i) {
    char buffer[512];
    const int length =
        std::snprintf(buffer, sizeof buffer,
                      "  0\nATTRIB\n  5\n%X\n330\n%X\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n"
                      " 10\n%.3f\n 20\n5.0\n 30\n0.0\n 40\n2.5\n  1\n%s-%05d\n100\nAcDbAttribute\n"
                      "  2\n%s\n 70\n0\n",
                      handle, handle - 1, i * 2.0, tag, i, tag);
    out.append(buffer, static_cast<std::size_t>(length));
}

void appendInsert(std::string& out, int i) {
    const int handle = 0x100000 + i * 4;
    char buffer[256];
    const int length = std::snprintf(
        buffer, sizeof buffer,
        "  0\nINSERT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockReference\n"
        " 66\n1\n  2\nPUMP\n 10\n%.3f\n 20\n5.0\n 30\n0.0\n",
        handle, i * 2.0);
    out.append(buffer, static_cast<std::size_t>(length));
    appendAttribute(out, handle + 1, "TAG", i);
    appendAttribute(out, handle + 2, "KW", i);
    std::snprintf(buffer, sizeof buffer, "  0\nSEQEND\n  5\n%X\n330\n%X\n100\nAcDbEntity\n  8\n0\n",
                  handle + 3, handle);
    out += buffer;
}

const fs::path& sampleFile() {
    static const fs::path path = [] {
        std::string content = header();
        for (int i = 0; i < kTexts; ++i) {
            appendText(content, i);
            if (i % (kTexts / kInserts) == 0)
                appendInsert(content, i / (kTexts / kInserts));
        }
        content += "  0\nENDSEC\n  0\nEOF\n";
        const fs::path file = fs::temp_directory_path() / "kalvex_bench_export.dxf";
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }();
    return path;
}

void exportTable(benchmark::State& state) {
    const fs::path input = sampleFile();
    std::size_t tableBytes = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (kalvex::dxftool::run({"export", input.string()}, out, err) != 0)
            state.SkipWithError(err.str().c_str());
        tableBytes = out.str().size();
    }
    state.counters["file_MB"] = static_cast<double>(fs::file_size(input)) / 1e6;
    state.counters["table_MB"] = static_cast<double>(tableBytes) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(input)));
}

} // namespace

BENCHMARK(exportTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
