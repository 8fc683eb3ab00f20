#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "drawing/tags/CodePage.h"

using kalvex::CodePage;

namespace {

constexpr int kValues = 200000;

// 200 000 text values of about 20 bytes, as a drawing of that many TEXTs holds them.
std::vector<std::string> values(const std::string& sample) {
    std::vector<std::string> result;
    result.reserve(kValues);
    for (int i = 0; i < kValues; ++i)
        result.push_back(sample + std::to_string(i % 1000));
    return result;
}

void decodeAll(benchmark::State& state, const CodePage& page, const std::string& sample) {
    const std::vector<std::string> input = values(sample);
    std::size_t bytes = 0;
    for (const std::string& value : input)
        bytes += value.size();
    for (auto _ : state) {
        for (const std::string& value : input)
            benchmark::DoNotOptimize(page.decode(value));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(state.iterations() * kValues);
}

void BM_DecodeAscii(benchmark::State& state) {
    decodeAll(state, CodePage::fromName("ANSI_1252"), "PUMP-01 MOTOR ");
}

void BM_DecodeShiftJis(benchmark::State& state) {
    decodeAll(state, CodePage::fromName("ANSI_932"), "\x94\x7A\x93\x64\x94\xD5 P-1 ");
}

void BM_DecodeEscapes(benchmark::State& state) {
    decodeAll(state, CodePage::fromName("ANSI_1252"), "\\U+914D\\U+96FB\\U+76E4 P-1 ");
}

void BM_DecodeUtf8(benchmark::State& state) {
    decodeAll(state, CodePage::utf8(), "配電盤 P-1 ");
}

void BM_EncodeShiftJis(benchmark::State& state) {
    const CodePage page = CodePage::fromName("ANSI_932");
    const std::vector<std::string> input = values("配電盤 P-1 é ");
    for (auto _ : state) {
        for (const std::string& value : input)
            benchmark::DoNotOptimize(page.encode(value));
    }
    state.SetItemsProcessed(state.iterations() * kValues);
}

} // namespace

BENCHMARK(BM_DecodeAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeShiftJis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEscapes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeShiftJis)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
