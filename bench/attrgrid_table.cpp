// The attribute grid on large tables: a fetch of picked block references with four tags each
// (the drawing shown in the real drawing window), a paste of a large block of cells, and
// ordering the rows as numbers.
#include <random>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include "attrgrid/AttrGridPage.h"
#include "attrgrid/SortGridRows.h"
#include "grid/GridClipboardKey.h"
#include "grid/TUndoCells.h"
#include "kit/DrawingBuilder.h"
#include "qtplatform/QtMessagePort.h"
#include "real_windows.h"
#include "widgets/StringGrid.h"

namespace {

using namespace kalvex;

// A clipboard of the benchmark's own, so that the system clipboard plays no part.
class MemoryClipboard : public ClipboardPort {
public:
    QString content;
    QString text() override { return content; }
    bool setText(const QString& text) override {
        content = text;
        return true;
    }
};

struct Drawing {
    std::shared_ptr<drawing::Drawing> drawing;
    std::vector<std::string> inserts;
};

void definePump(drawing::DrawingBuilder& builder) {
    builder.block("PUMP", {{"NAME", "機器名", ""},
                           {"NAME1", "機器名１", ""},
                           {"SPEC", "仕様", ""},
                           {"TYPE", "型式", ""}});
}

// The i-th pump reference, its rows of a hundred `rowY` apart from `firstY` down or up; its
// attributes stand one above the other right of the insertion point, as a drawn block has them
// (all of them at the origin would pile 80 000 strings into one spot the window zooms onto).
std::string addPump(drawing::DrawingBuilder& builder, int i, double firstY, double rowY) {
    const std::string n = std::to_string(i);
    const double x = double(i % 100) * 20, y = firstY + double(i / 100) * rowY;
    auto line = [&](int k) { return cad::CadPoint{x + 1, y - 2.5 * k, 0}; };
    return builder
        .insert({.block = "PUMP",
                 .insertion = {x, y, 0},
                 .attributes = {{.tag = "NAME", .text = "P-" + n, .insertion = line(0)},
                                {.tag = "NAME1", .text = "N" + n, .insertion = line(1)},
                                {.tag = "SPEC", .text = n + "kW", .insertion = line(2)},
                                {.tag = "TYPE", .text = "T", .insertion = line(3)}}})
        .front();
}

Drawing makeDrawing(int references) {
    drawing::DrawingBuilder builder;
    definePump(builder);
    Drawing d;
    for (int i = 0; i < references; ++i)
        d.inserts.push_back(addPump(builder, i, 0.0, 10.0));
    d.drawing = builder.drawing();
    return d;
}

// Fetches the drawing's picked references into the grid with all four tags, once per iteration.
void fetchPicked(benchmark::State& state, const Drawing& d) {
    bench::RealWindows windows(d.drawing);
    TOrvikMainForm& form = *windows.form;
    form.pageControl().setCurrentIndex(1);
    AttrGridPage& page = form.attrGridTab();
    page.ComboBox2->setCurrentText(QStringLiteral("機器,NAME,NAME1,SPEC,TYPE"));
    for (auto _ : state) {
        windows.picker->addPick(d.inserts);
        page.SpeedButton10->click();
    }
    state.counters["rows"] = page.StringGrid1->rowCount() - 1;
    state.counters["attributes"] = double(form.work().records.gridAttrs.size());
}

void BM_FetchBlockReferences(benchmark::State& state) {
    fetchPicked(state, makeDrawing(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FetchBlockReferences)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// A large drawing of `entities` TEXTs and one fifth as many references of four attributes, of which
// the first 5 000 references are picked: the fetch's cost should follow the picked count, not the
// drawing.
constexpr int kPickedReferences = 5000;

Drawing makeLargeDrawing(int entities) {
    drawing::DrawingBuilder builder;
    definePump(builder);
    for (int i = 0; i < entities; ++i)
        builder.text({.text = "TB-" + std::to_string(i),
                      .insertion = {double(i / 450) * 40, double(i % 450) * 5, 0}});
    Drawing d;
    for (int i = 0; i < entities / 5; ++i) {
        const std::string handle = addPump(builder, i, -10.0, -10.0);
        if (i < kPickedReferences)
            d.inserts.push_back(handle);
    }
    d.drawing = builder.drawing();
    return d;
}

void BM_FetchPickedOfLargeDrawing(benchmark::State& state) {
    fetchPicked(state, makeLargeDrawing(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FetchPickedOfLargeDrawing)
    ->Arg(100000)
    ->Arg(500000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void fillGrid(StringGrid& grid, int rows, int cols) {
    grid.setColumnCount(cols + 1);
    grid.setRowCount(rows + 1);
    grid.setFixed(1, 1);
    std::mt19937 random(3);
    for (int row = 1; row <= rows; ++row) {
        grid.setCell(0, row, QString::number(row));
        for (int col = 1; col <= cols; ++col)
            grid.setCell(col, row, QString::number(random() % 100000 / 10.0));
    }
}

void BM_PasteCells(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)) / 4;
    StringGrid grid;
    fillGrid(grid, rows, 4);
    QString text;
    for (int row = 0; row < rows; ++row)
        text += QStringLiteral("a%1\tb\tc\td\r\n").arg(row);
    MemoryClipboard clipboard;
    QtMessagePort messages;
    TUndoCells cells;
    std::int32_t counter = 0;
    for (auto _ : state) {
        clipboard.content = text;
        grid.setSelection(QRect(1, 1, 1, 1), QPoint(1, 1));
        int key = Qt::Key_V;
        GridClipboardKey(grid, key, Qt::ControlModifier, {clipboard, messages, {cells, counter}});
    }
    state.counters["cells"] = counter;
}
BENCHMARK(BM_PasteCells)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SortRowsAsNumbers(benchmark::State& state) {
    StringGrid grid;
    fillGrid(grid, static_cast<int>(state.range(0)), 4);
    int col = 1;
    for (auto _ : state) {
        SortGridRows(grid, col, -1, RowKey::Number, QLocale::c());
        col = col % 4 + 1;
    }
}
BENCHMARK(BM_SortRowsAsNumbers)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
