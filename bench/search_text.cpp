// The drawing-wide search on large drawings, end to end: the selection by pattern, reading
// every hit, sorting them and filling the grid, as a click on the search button runs it with
// the drawing shown in the real drawing window.
#include <algorithm>
#include <chrono>
#include <random>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "kit/DrawingBuilder.h"
#include "real_windows.h"
#include "search/SearchPage.h"
#include "widgets/StringGrid.h"

namespace {

using namespace kalvex;

// Every fifth TEXT holds "HIT"; the numbers are shuffled so that the sort has work to do.
std::shared_ptr<drawing::Drawing> makeDrawing(int texts) {
    drawing::DrawingBuilder builder;
    std::vector<int> numbers(static_cast<std::size_t>(texts));
    std::iota(numbers.begin(), numbers.end(), 0);
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(42));
    for (int i = 0; i < texts; ++i) {
        const int n = numbers[static_cast<std::size_t>(i)];
        const std::string label = (i % 5 == 0 ? "HIT-" : "TB-") + std::to_string(n);
        builder.text({.text = label, .insertion = {double(i % 400) * 10, double(i / 400) * 5, 0}});
    }
    return builder.drawing();
}

// Measures the longest time the event loop went without running a timer during the search.
class EventGapProbe {
public:
    EventGapProbe() {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
    }
    void start() {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 stop() {
        m_timer.stop();
        return std::max(m_longest, m_clock.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

void BM_SearchEndToEnd(benchmark::State& state) {
    bench::RealWindows windows(makeDrawing(static_cast<int>(state.range(0))));
    TOrvikMainForm& form = *windows.form;
    form.pageControl().setCurrentIndex(2);
    SearchPage& page = form.searchTab();
    page.Edit3->setText(QStringLiteral("HIT"));
    EventGapProbe probe;
    qint64 longestGap = 0;
    for (auto _ : state) {
        probe.start();
        page.SpeedButton14->click();
        longestGap = std::max(longestGap, probe.stop());
    }
    state.counters["hits"] = static_cast<double>(form.work().records.searchHits.size());
    state.counters["rows"] = page.StringGrid2->rowCount();
    state.counters["longest_event_gap_ms"] = static_cast<double>(longestGap);
}
BENCHMARK(BM_SearchEndToEnd)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every TEXT is a hit: the search reads all of them, at two sizes of drawing.
void BM_SearchEveryText(benchmark::State& state) {
    bench::RealWindows windows(makeDrawing(static_cast<int>(state.range(0))));
    TOrvikMainForm& form = *windows.form;
    form.pageControl().setCurrentIndex(2);
    SearchPage& page = form.searchTab();
    page.Edit3->setText(QStringLiteral("*"));
    for (auto _ : state)
        page.SpeedButton14->click();
    state.counters["hits"] = static_cast<double>(form.work().records.searchHits.size());
}
BENCHMARK(BM_SearchEveryText)
    ->Arg(100000)
    ->Arg(500000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
