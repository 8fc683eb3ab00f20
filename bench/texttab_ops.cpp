// The TEXT tab on 10 000 and 100 000 lines, as the buttons and the status timer run it: the
// fetch of picked TEXTs, the write-back of an editor in which half the lines changed, one timer
// tick. The drawing is shown in the real drawing window, which draws every write.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTextBlock>

#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "real_windows.h"
#include "texttab/LineEditor.h"
#include "texttab/TextTabController.h"
#include "texttab/TextTabPage.h"

namespace {

using namespace kalvex;

// A column of TEXTs 5 units apart, so that the fetch proposes a spacing and shows no message.
std::shared_ptr<drawing::Drawing> columnOfTexts(int texts, std::vector<std::string>& handles) {
    drawing::DrawingBuilder builder;
    for (int i = 0; i < texts; ++i)
        handles.push_back(builder.text(
            {.text = "TB-" + std::to_string(i), .insertion = {double(i % 50) * 40, -5.0 * i, 0}}));
    return builder.drawing();
}

struct Bench {
    explicit Bench(int texts) : windows(columnOfTexts(texts, handles)) {
        form = windows.form.get();
        form->textTab().CheckBox1->setChecked(true);
    }

    void fetch() {
        windows.picker->addPick(handles);
        form->textTab().SpeedButton1->click();
    }

    std::vector<std::string> handles;
    bench::RealWindows windows;
    TOrvikMainForm* form = nullptr;
};

void BM_FetchPickedTexts(benchmark::State& state) {
    Bench bench(static_cast<int>(state.range(0)));
    for (auto _ : state)
        bench.fetch();
    state.counters["lines"] = bench.form->textTab().SynEdit1->blockCount();
}
BENCHMARK(BM_FetchPickedTexts)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 5 000 TEXTs picked out of a drawing of 100 000 or 500 000: the fetch should cost what the
// picked TEXTs cost, whatever the drawing holds.
void BM_FetchPickedOfLargeDrawing(benchmark::State& state) {
    Bench bench(static_cast<int>(state.range(0)));
    bench.handles.resize(5000);
    for (auto _ : state)
        bench.fetch();
    state.counters["lines"] = bench.form->textTab().SynEdit1->blockCount();
}
BENCHMARK(BM_FetchPickedOfLargeDrawing)
    ->Arg(100000)
    ->Arg(500000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Every other line differs from the drawing in each round.
QString halfChangedLines(const Bench& bench, int round) {
    QStringList lines;
    const std::size_t n = bench.form->work().records.textRecords.size();
    for (std::size_t i = 0; i < n; ++i) {
        const QString text = QString::fromStdString(bench.form->work().records.textRecords[i].text);
        lines << (i % 2 == 0 ? text + QStringLiteral("-%1").arg(round) : text);
    }
    return lines.join(QLatin1Char('\n'));
}

// One more round, untimed, through a wrapper of the CAD interface that counts the calls. The
// timed rounds reach the drawing window directly, as the program does: the wrapper's
// bookkeeping adds almost half to the update's time in a debug build.
int countedWrites(Bench& bench, int round) {
    auto calls = std::make_shared<testing::FaultInjector>();
    bench.windows.link.createApplication = [&bench, calls] {
        return testing::withFaults(bench.windows.drawingWindow.connect(), calls);
    };
    bench.form->textTab().SynEdit1->setPlainText(halfChangedLines(bench, round));
    bench.form->textTab().SpeedButton2->click();
    return calls->callCount("SetTextString");
}

void BM_UpdateHalfChanged(benchmark::State& state) {
    Bench bench(static_cast<int>(state.range(0)));
    bench.fetch();
    LineEditor& editor = *bench.form->textTab().SynEdit1;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.setPlainText(halfChangedLines(bench, ++round));
        state.ResumeTiming();
        bench.form->textTab().SpeedButton2->click();
    }
    state.counters["writes"] = countedWrites(bench, round + 1);
}
BENCHMARK(BM_UpdateHalfChanged)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_StatusTimerTick(benchmark::State& state) {
    Bench bench(static_cast<int>(state.range(0)));
    bench.fetch();
    LineEditor& editor = *bench.form->textTab().SynEdit1;
    QTextCursor cursor(editor.document()->lastBlock());
    cursor.setPosition(editor.document()->findBlockByNumber(100).position(),
                       QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    for (auto _ : state)
        bench.form->textController().Timer1Timer();
}
BENCHMARK(BM_StatusTimerTick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
