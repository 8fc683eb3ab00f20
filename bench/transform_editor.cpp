#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "transform/EditorCommands.h"
#include "transform/TransformDialogs.h"
#include "workstate/WorkState.h"

namespace {

using namespace kalvex;

constexpr int kLines = 10000;

class Answer : public DialogPort {
public:
    std::function<void()> fill;
    int exec(QDialog&) override {
        fill();
        return QDialog::Accepted;
    }
};

class NoMessages : public MessagePort {
public:
    MessageAnswer show(const MessageRequest&) override { return MessageAnswer::Ok; }
};

class NoClipboard : public ClipboardPort {
public:
    QString text() override { return {}; }
    bool setText(const QString&) override { return true; }
};

class NoSnapshot : public UndoSnapshot {
public:
    void UndoMark(bool) override {}
};

// Lines as drawings hold them: half-width kana with voiced marks, terminal numbers, brackets.
QString sampleText() {
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines << QStringLiteral("ｶﾞｽ配管(%1) TB-%2 ﾊﾟﾈﾙ abc").arg(i % 7).arg(i, 3, 10, QChar(u'0'));
    return lines.join(u'\n');
}

struct Bench {
    NoMessages messages;
    Answer dialogs;
    NoClipboard clipboard;
    TransformDialogs forms{messages};
    WorkState state;
    QPlainTextEdit editor;
    QPushButton abortButton;
    NoSnapshot snapshot;
    EditorCommands commands{
        {editor, &abortButton, state, snapshot}, forms, {messages, dialogs, clipboard}};
};

void runOnSample(benchmark::State& state, const std::function<void(Bench&)>& command) {
    Bench bench;
    const QString text = sampleText();
    for (auto _ : state) {
        state.PauseTiming();
        bench.editor.setPlainText(text);
        state.ResumeTiming();
        command(bench);
    }
}

void BM_AllToFullWidth(benchmark::State& state) {
    runOnSample(state, [](Bench& b) { b.commands.N1Click(); });
}
void BM_AllToHalfWidth(benchmark::State& state) {
    runOnSample(state, [](Bench& b) { b.commands.N4Click(); });
}
void BM_ParenthesesToFullWidth(benchmark::State& state) {
    runOnSample(state, [](Bench& b) { b.commands.N28Click(); });
}

void BM_TableConversion(benchmark::State& state, const char* item) {
    QAction sender;
    sender.setObjectName(QString::fromLatin1(item));
    runOnSample(state, [&](Bench& b) { b.commands.N23Click(&sender); });
}

void BM_ReplaceAll(benchmark::State& state) {
    runOnSample(state, [](Bench& b) {
        b.dialogs.fill = [&b] {
            b.forms.tikan.Edit1->setText(QStringLiteral("ABC"));
            b.forms.tikan.Edit2->setText(QStringLiteral("xyz"));
        };
        b.commands.N7Click();
    });
}

void BM_AddToAll(benchmark::State& state) {
    runOnSample(state, [](Bench& b) {
        b.dialogs.fill = [&b] { b.forms.kasan.Edit1->setText(QStringLiteral("1")); };
        b.commands.N14Click();
    });
}

} // namespace

BENCHMARK(BM_AllToFullWidth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllToHalfWidth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParenthesesToFullWidth)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, KanaToFull, "N23")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, KanaToHalf, "N24")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, DigitsToFull, "N091")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, DigitsToHalf, "N092")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, NumbersToFull, "N094")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, NumbersToHalf, "N093")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, AlphabetToFull, "AZ1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, AlphabetToHalf, "AZ2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, SymbolsToFull, "N27")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableConversion, SymbolsToHalf, "N26")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddToAll)->Unit(benchmark::kMillisecond);

// The editor commands need a widget application; it runs headless unless a platform was chosen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
