#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include "dxftool/Tool.h"
#include "sheet_set.h"

// attout over a set of sheets, and attin of one changed column (the WIRE number of every
// terminal), through the command the user runs. `bench_dxftool_sheets --generate DIR N` only
// writes a set of N sheets, for timing kalvex-dxf itself (with --kana, TEXTs in half-width
// katakana too, for convert).
namespace {

namespace fs = std::filesystem;
using kalvex::bench::writeSheetSet;

struct SheetSet {
    std::vector<std::string> paths;
    std::string table; // attout of the whole set
};

std::vector<std::string> arguments(std::vector<std::string> words,
                                   const std::vector<std::string>& paths) {
    words.insert(words.end(), paths.begin(), paths.end());
    return words;
}

std::string runTool(const std::vector<std::string>& words, benchmark::State& state) {
    std::ostringstream out, err;
    if (kalvex::dxftool::run(words, out, err) != 0)
        state.SkipWithError(err.str().c_str());
    return out.str();
}

const SheetSet& sheetSet(int count, benchmark::State& state) {
    static std::map<int, SheetSet> sets;
    SheetSet& set = sets[count];
    if (set.paths.empty()) {
        const fs::path dir =
            fs::temp_directory_path() / ("kalvex_bench_sheets_" + std::to_string(count));
        set.paths = writeSheetSet(dir, count);
        set.table = runTool(arguments({"attout"}, set.paths), state);
    }
    return set;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');)
        fields.push_back(cell);
    return fields;
}

// The table with `suffix` added to every WIRE cell.
std::string withWires(const std::string& table, const std::string& suffix) {
    std::istringstream lines(table);
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> header = fieldsOf(line);
    const auto wire = std::find(header.begin(), header.end(), "WIRE") - header.begin();
    std::string out = line + '\n';
    while (std::getline(lines, line)) {
        std::vector<std::string> fields = fieldsOf(line);
        if (fields[wire] != "<>")
            fields[wire] += suffix;
        for (std::size_t i = 0; i < fields.size(); ++i)
            out.append(i ? "\t" : "").append(fields[i]);
        out += '\n';
    }
    return out;
}

void setCounters(benchmark::State& state, const SheetSet& set) {
    std::uintmax_t bytes = 0;
    for (const std::string& path : set.paths)
        bytes += fs::file_size(path);
    state.counters["drawings"] = static_cast<double>(set.paths.size());
    state.counters["set_MB"] = static_cast<double>(bytes) / 1e6;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_RSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void attout(benchmark::State& state) {
    const SheetSet& set = sheetSet(static_cast<int>(state.range(0)), state);
    for (auto _ : state)
        benchmark::DoNotOptimize(runTool(arguments({"attout"}, set.paths), state));
    setCounters(state, set);
}

void attinOneColumn(benchmark::State& state) {
    const SheetSet& set = sheetSet(static_cast<int>(state.range(0)), state);
    const fs::path dir = fs::path(set.paths.front()).parent_path();
    // Two tables taken in turn, so that every run changes every drawing.
    const std::string tables[] = {(dir / "wires_a.tsv").string(), (dir / "wires_b.tsv").string()};
    std::ofstream(tables[0], std::ios::binary) << withWires(set.table, "-A");
    std::ofstream(tables[1], std::ios::binary) << withWires(set.table, "-B");
    int turn = 0;
    for (auto _ : state)
        runTool({"attin", tables[turn++ % 2]}, state);
    setCounters(state, set);
}

int generateOnly(int argc, char** argv) {
    const bool kana = argc == 5 && std::strcmp(argv[4], "--kana") == 0;
    if (argc != 4 && !kana) {
        std::cerr << "usage: bench_dxftool_sheets --generate DIR COUNT [--kana]\n";
        return 1;
    }
    kalvex::bench::SheetShape shape;
    shape.halfWidthKana = kana;
    for (const std::string& path : writeSheetSet(argv[2], std::atoi(argv[3]), shape))
        std::cout << path << '\n';
    return 0;
}

} // namespace

BENCHMARK(attout)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(3);
BENCHMARK(attinOneColumn)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(4);

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--generate") == 0)
        return generateOnly(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
