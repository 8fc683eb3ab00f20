#include "sorting/ExchangeSort.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using kalvex::SortOrder;

// Shaped like the program's text records: a string that must not be copied, and a position.
struct Record {
    QString text;
    double x = 0;
    double y = 0;
};

constexpr int kAllDistinct = 0;

// n records; their X keys take `distinct` values, or are all different when distinct is 0.
std::vector<Record> makeRecords(std::size_t n, int distinct) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> cls(0, std::max(distinct, 1) - 1);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::vector<Record> records(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int c = cls(random);
        records[i].x = distinct == kAllDistinct ? wide(random) : c * 2.5;
        records[i].y = wide(random);
        records[i].text = QStringLiteral("TAG-%1").arg(distinct == kAllDistinct ? int(i) : c);
    }
    return records;
}

void plainExchangeSortByX(std::vector<Record>& records) {
    for (std::size_t i = 0; i + 1 < records.size(); ++i) {
        for (std::size_t j = i + 1; j < records.size(); ++j) {
            if (records[i].x > records[j].x)
                std::swap(records[i], records[j]);
        }
    }
}

void BM_HelperByX(benchmark::State& state) {
    const auto input = makeRecords(std::size_t(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Record> records = input;
        state.ResumeTiming();
        kalvex::exchangeSortBy(
            records, [](const Record& r) { return r.x; }, SortOrder::Ascending);
        benchmark::DoNotOptimize(records.data());
    }
}

void BM_HelperByText(benchmark::State& state) {
    const auto input = makeRecords(std::size_t(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Record> records = input;
        state.ResumeTiming();
        kalvex::exchangeSortBy(
            records, [](const Record& r) -> const QString& { return r.text; },
            SortOrder::Ascending);
        benchmark::DoNotOptimize(records.data());
    }
}

// Records holding UTF-8 texts shaped like terminal labels ("TB-000123 端子台"), all different,
// shuffled or already in order; sorted by a reference to the text, as the search sorts its hits.
struct Utf8Record {
    std::string text;
    int id = 0;
};

void BM_HelperByUtf8Text(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<Utf8Record> input(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string number = std::to_string(1'000'000 + i).substr(1);
        input[i] = {"TB-" + number + " \xE7\xAB\xAF\xE5\xAD\x90\xE5\x8F\xB0", int(i)};
    }
    if (state.range(1) == 0)
        std::shuffle(input.begin(), input.end(), std::mt19937(99));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Utf8Record> records = input;
        state.ResumeTiming();
        kalvex::exchangeSortBy(
            records, [](const Utf8Record& r) -> const std::string& { return r.text; },
            SortOrder::Ascending);
        benchmark::DoNotOptimize(records.data());
    }
}

void BM_PlainByX(benchmark::State& state) {
    const auto input = makeRecords(std::size_t(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Record> records = input;
        state.ResumeTiming();
        plainExchangeSortByX(records);
        benchmark::DoNotOptimize(records.data());
    }
}

// Arguments: item count, number of distinct keys (0: all distinct).
void helperSizes(benchmark::internal::Benchmark* b) {
    for (int n : {10'000, 50'000, 1'000'000})
        for (int distinct : {100, kAllDistinct})
            b->Args({n, distinct});
}

// Arguments: item count, already in order (1) or shuffled (0).
void utf8Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {100'000, 500'000})
        for (int presorted : {0, 1})
            b->Args({n, presorted});
}

void plainSizes(benchmark::internal::Benchmark* b) {
    for (int n : {10'000, 50'000})
        for (int distinct : {100, kAllDistinct})
            b->Args({n, distinct});
}

} // namespace

BENCHMARK(BM_HelperByX)->Apply(helperSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HelperByText)->Apply(helperSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HelperByUtf8Text)->Apply(utf8Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainByX)->Apply(plainSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
