#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "dxftool/Tool.h"

// kalvex-dxf export, apply, attout, attin and roundtrip of the drawings of the peer table
// (scripts/peer_table.sh): N TEXTs and N / 5 references of three attributes, at two sizes. The
// tool reads each drawing on a worker thread: CPU time is the process's.
namespace {

namespace fs = std::filesystem;

struct Sample {
    fs::path drawing;
    fs::path table; // every other TEXT renamed
};

std::string run(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    if (kalvex::dxftool::run(arguments, out, err) != 0)
        throw std::runtime_error(err.str());
    return out.str();
}

// The export table with the text of every other TEXT row changed from "TB-" to "XB-".
std::string renamedTable(const std::string& table) {
    std::string out;
    std::size_t start = 0;
    for (int line = 0; start < table.size(); ++line) {
        const std::size_t end = table.find('\n', start);
        std::string row = table.substr(start, end + 1 - start);
        const std::size_t text = row.find("\tTB-");
        if (line % 2 == 1 && row.find("\tTEXT\t") != std::string::npos && text != row.npos)
            row[text + 1] = 'X';
        out += row;
        start = end + 1;
    }
    return out;
}

const Sample& sample(int texts) {
    static std::map<int, Sample> samples;
    if (const auto found = samples.find(texts); found != samples.end())
        return found->second;
    const fs::path dir = fs::temp_directory_path();
    Sample made{dir / ("kalvex_bench_mixed_" + std::to_string(texts) + ".dxf"),
                dir / ("kalvex_bench_mixed_" + std::to_string(texts) + ".tsv")};
    const std::string command = "/usr/bin/python3 '" KALVEX_SOURCE_DIR
                                "/scripts/timing_drawings.py' mixed " +
                                std::to_string(texts) + " '" + made.drawing.string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot write " + made.drawing.string());
    std::ofstream(made.table, std::ios::binary)
        << renamedTable(run({"export", made.drawing.string()}));
    return samples.emplace(texts, made).first->second;
}

void countBytes(benchmark::State& state, const fs::path& drawing) {
    state.counters["file_MB"] = static_cast<double>(fs::file_size(drawing)) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(drawing)));
}

void exportTable(benchmark::State& state) {
    const Sample& input = sample(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(run({"export", input.drawing.string()}));
    countBytes(state, input.drawing);
}

void applyTable(benchmark::State& state) {
    const Sample& input = sample(static_cast<int>(state.range(0)));
    const fs::path output = fs::temp_directory_path() / "kalvex_bench_mixed_applied.dxf";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            run({"apply", input.drawing.string(), input.table.string(), "-o", output.string()}));
    countBytes(state, input.drawing);
}

void roundTrip(benchmark::State& state) {
    const Sample& input = sample(static_cast<int>(state.range(0)));
    const fs::path output = fs::temp_directory_path() / "kalvex_bench_mixed_saved.dxf";
    for (auto _ : state)
        run({"roundtrip", input.drawing.string(), output.string()});
    countBytes(state, input.drawing);
}

// The attribute table with the first value of every other reference changed from "V-" to "W-".
std::string renamedAttributes(const std::string& table) {
    std::string out;
    std::size_t start = 0;
    for (int line = 0; start < table.size(); ++line) {
        const std::size_t end = table.find('\n', start);
        std::string row = table.substr(start, end + 1 - start);
        const std::size_t value = row.find("\tV-");
        if (line % 2 == 1 && value != row.npos)
            row[value + 1] = 'W';
        out += row;
        start = end + 1;
    }
    return out;
}

void attributesOut(benchmark::State& state) {
    const Sample& input = sample(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(run({"attout", input.drawing.string()}));
    countBytes(state, input.drawing);
}

// attin writes the drawing in place: each run gets a fresh copy, made outside the timing.
void attributesIn(benchmark::State& state) {
    const Sample& input = sample(static_cast<int>(state.range(0)));
    const fs::path drawing = fs::temp_directory_path() / "kalvex_bench_mixed_attin.dxf";
    const fs::path table = fs::temp_directory_path() / "kalvex_bench_mixed_attin.tsv";
    std::ofstream(table, std::ios::binary)
        << renamedAttributes(run({"attout", input.drawing.string()}));
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(input.drawing, drawing, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        run({"attin", table.string(), drawing.string()});
    }
    countBytes(state, input.drawing);
}

} // namespace

BENCHMARK(attributesOut)
    ->Arg(10000)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(attributesIn)
    ->Arg(10000)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(exportTable)
    ->Arg(10000)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(applyTable)
    ->Arg(10000)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(roundTrip)->Arg(10000)->Arg(100000)->MeasureProcessCPUTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK_MAIN();
