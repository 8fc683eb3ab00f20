#include "attrgrid/AttrGridFetch.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "attrgrid/AttrGridPage.h"
#include "cadlink/HandOff.h"
#include "grid/TUndoCells.h"
#include "operations/attrgrid/AttrGridFetch.h"
#include "platform/Ports.h"
#include "runwindow/QtRunWindow.h"
#include "widgets/StringGrid.h"
#include "workstate/WorkState.h"

namespace kalvex {

namespace {

constexpr int kFitMargin = 10;

// The grid fetch's window: the progress goes to the bar and the label beside it.
class GridFetchWindow : public QtRunWindow {
public:
    explicit GridFetchWindow(AttrGridContext& context)
        : QtRunWindow(context.ports.messages, {&context.work.runFlag, context.page.SpeedButton12},
                      context.page.Label5),
          m_bar(*context.page.ProgressBar1) {}

    void showStep(int done, int total) override {
        m_bar.setMaximum(total);
        m_bar.setValue(done);
        m_bar.repaint();
    }

private:
    QProgressBar& m_bar;
};

// Repainting is held back while the grid is refilled, and resumes however the fetch ends.
class BulkUpdate {
public:
    explicit BulkUpdate(QWidget& widget) : m_widget(widget) { m_widget.setUpdatesEnabled(false); }
    ~BulkUpdate() { m_widget.setUpdatesEnabled(true); }

private:
    QWidget& m_widget;
};

void prepareGrid(StringGrid& grid, int blocks, int tags) {
    for (int row = 0; row < grid.rowCount(); ++row) {
        for (int col = 0; col < grid.columnCount(); ++col) {
            grid.setCell(col, row, QString());
            grid.setObject(col, row, 0);
        }
    }
    grid.setRowCount(blocks > 0 ? blocks + 1 : 2);
    grid.setColumnCount(tags + 1);
}

void fillGrid(StringGrid& grid, const GridFetch& fetched, const WorkState& work, int tags) {
    const BulkUpdate bulk(grid);
    prepareGrid(grid, static_cast<int>(work.records.gridBlocks.size()), tags);
    for (int row = 1; row <= fetched.rowsReached; ++row)
        grid.setCell(0, row, QString::number(row));
    for (const GridCell& cell : fetched.cells) {
        const nAtt& record = work.records.gridAttrs[static_cast<std::size_t>(cell.attribute - 1)];
        grid.setCell(cell.col, cell.row, QString::fromStdString(record.text));
        grid.setObject(cell.col, cell.row, cell.attribute);
    }
    for (std::size_t col = 0; col < fetched.prompts.size(); ++col)
        grid.setCell(static_cast<int>(col) + 1, 0, QString::fromStdString(fetched.prompts[col]));
}

void showFetched(AttrGridContext& context, const GridFetch& fetched, int tags) {
    if (fetched.end != GridFetchEnd::FailedInRows && fetched.end != GridFetchEnd::Done)
        return;
    StringGrid& grid = *context.page.StringGrid1;
    fillGrid(grid, fetched, context.work, tags);
    if (fetched.end != GridFetchEnd::Done) {
        WidenColumnsForCells(grid, kFitMargin);
        return;
    }
    FitColumnWidths(grid, kFitMargin);
    context.FUndoCells.Clear();
    context.work.sgUndoCnt = 0;
    context.page.SpeedButton11->setEnabled(true);
}

void keepTwoRows(StringGrid& grid) {
    if (grid.rowCount() >= 2)
        return;
    grid.setRowCount(2);
    grid.setFixed(1, grid.fixedRows());
    for (int col = 0; col < grid.columnCount(); ++col)
        grid.setCell(col, 1, QString());
}

} // namespace

TagSet parseTagSet(const QString& line) {
    TagSet set;
    const QStringList fields = line.split(u',');
    set.caption = fields.value(0);
    for (qsizetype i = 1; i < fields.size(); ++i)
        set.tags.push_back(fields[i].toStdString());
    const qsizetype open = set.caption.indexOf(u'[');
    const qsizetype close = set.caption.indexOf(u']');
    if (open > 0 && close > open + 1)
        set.pattern = set.caption.mid(open + 1, close - open - 1).toStdString();
    return set;
}

namespace {

// The width of each column's widest text. Shaping a string is the costly part of measuring
// it, and a column of attribute values repeats many of them, so each string is measured once.
std::vector<int> widestTexts(const StringGrid& grid) {
    const QFontMetrics metrics(grid.font());
    QHash<QString, int> measured;
    std::vector<int> widest(static_cast<std::size_t>(std::max(0, grid.columnCount())), 0);
    for (int col = 0; col < grid.columnCount(); ++col) {
        for (int row = 0; row < grid.rowCount(); ++row) {
            const QString text = grid.cell(col, row);
            if (text.isEmpty())
                continue;
            auto found = measured.constFind(text);
            if (found == measured.cend())
                found = measured.insert(text, metrics.horizontalAdvance(text));
            widest[static_cast<std::size_t>(col)] =
                std::max(widest[static_cast<std::size_t>(col)], *found);
        }
    }
    return widest;
}

} // namespace

void FitColumnWidths(StringGrid& grid, int margin) {
    const std::vector<int> widest = widestTexts(grid);
    for (int col = 0; col < static_cast<int>(widest.size()); ++col)
        if (widest[static_cast<std::size_t>(col)] > 0)
            grid.setColumnWidth(col, widest[static_cast<std::size_t>(col)] + margin);
}

void WidenColumnsForCells(StringGrid& grid, int margin) {
    const std::vector<int> widest = widestTexts(grid);
    for (int col = 0; col < static_cast<int>(widest.size()); ++col) {
        const int needed = widest[static_cast<std::size_t>(col)] + margin;
        if (widest[static_cast<std::size_t>(col)] > 0 && needed > grid.columnWidth(col))
            grid.setColumnWidth(col, needed);
    }
}

// Looks at the one cell only, so that pasting a large range stays cheap.
void WidenColumnForCell(StringGrid& grid, int col, int row) {
    const int needed =
        QFontMetrics(grid.font()).horizontalAdvance(grid.cell(col, row)) + kFitMargin;
    if (needed > grid.columnWidth(col))
        grid.setColumnWidth(col, needed);
}

void SpeedButton10Click(AttrGridContext& context) {
    context.Label1.clear();
    context.Label2.clear();
    context.work.ATTmode = true;
    context.statusPanel0.clear();
    context.statusPanel1.clear();
    const TagSet set = parseTagSet(context.page.ComboBox2->currentText());
    CadSession session(context.link, CadOperation::Fetch);
    if (session.connected()) {
        GridFetchWindow window(context);
        const GridFetch fetched = FetchGrid(*session.document(), context.link, set.pattern,
                                            set.tags, window, context.work.records);
        showFetched(context, fetched, static_cast<int>(set.tags.size()));
    }
    keepTwoRows(*context.page.StringGrid1);
    context.page.ProgressBar1->setValue(0);
    session.finish();
}

} // namespace kalvex
