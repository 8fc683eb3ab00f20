#include "attrgrid/AttrGridFetch.h"

#include <map>
#include <utility>

#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "attrgrid/AttrGridPage.h"
#include "cadlink/Block.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Connection.h"
#include "cadlink/HandOff.h"
#include "cadlink/Selection.h"
#include "grid/TUndoCells.h"
#include "sorting/ExchangeSort.h"
#include "widgets/StringGrid.h"
#include "workstate/RunFlag.h"
#include "workstate/WorkState.h"

namespace kalvex {

namespace {

constexpr int kFitMargin = 10;

// The prompts asked for during one fetch, so that a block definition without prompts is
// searched once per tag rather than once per row.
using PromptCache = std::map<std::pair<std::string, std::string>, std::string>;

struct FetchRun {
    AttrGridContext& context;
    const TagSet& set;
    cad::Document& document;
    RunFlagScope& run;
    int picked = 0;
    PromptCache prompts;
    QElapsedTimer shown; // since the progress was last shown
};

// Showing the progress repaints the window, which costs far more than reading one entity:
// it is shown at most every few hundredths of a second, and always for the last item.
constexpr qint64 kProgressInterval = 40;

void showProgress(FetchRun& f, int done, int total, const QString& text) {
    if (done < total && f.shown.isValid() && f.shown.elapsed() < kProgressInterval)
        return;
    f.shown.start();
    QProgressBar& bar = *f.context.page.ProgressBar1;
    bar.setValue(done);
    bar.repaint();
    f.context.page.Label5->setText(text);
}

// Repainting is held back while the grid is refilled, and resumes however the fetch ends.
class BulkUpdate {
public:
    explicit BulkUpdate(QWidget& widget) : m_widget(widget) { m_widget.setUpdatesEnabled(false); }
    ~BulkUpdate() { m_widget.setUpdatesEnabled(true); }

private:
    QWidget& m_widget;
};

void startProgress(QProgressBar& bar, int maximum) {
    bar.setMaximum(maximum);
    bar.setValue(0);
}

int tagColumn(const TagSet& set, const std::string& tag) {
    for (std::size_t c = 0; c < set.tags.size(); ++c) {
        if (set.tags[c] == tag)
            return static_cast<int>(c) + 1;
    }
    return 0;
}

// A block reference with at least one attribute of the set becomes a block record.
void acceptBlock(FetchRun& f, cad::SelectionSet& selection, int i) {
    auto reference = cad::entityAs<cad::BlockReference>(selection.Item(i));
    if (!reference->HasAttributes())
        return;
    for (const auto& attribute : reference->GetAttributes()) {
        if (tagColumn(f.set, attribute->TagString()) == 0)
            continue;
        f.context.work.records.gridBlocks.push_back({reference->Handle(),
                                                     reference->InsertionPoint(),
                                                     reference->Layer(), 0, reference->Name()});
        return;
    }
}

void firstPass(FetchRun& f, cad::SelectionSet& selection) {
    for (int i = 0; i < f.picked; ++i) {
        if (!f.run.proceed()) {
            f.context.work.records.gridBlocks.clear();
            return;
        }
        showProgress(f, i + 1, f.picked,
                     QStringLiteral("INSERT = %1 / %2").arg(i + 1).arg(f.picked));
        try {
            acceptBlock(f, selection, i);
        } catch (const std::exception&) {
            // An entity that cannot be read is left out.
        }
    }
}

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

const std::string& promptOf(FetchRun& f, const std::string& blockName, const std::string& tag) {
    const auto key = std::make_pair(blockName, tag);
    auto found = f.prompts.find(key);
    if (found == f.prompts.end())
        found = f.prompts.emplace(key, GetAttributePrompt(f.document, blockName, tag)).first;
    return found->second;
}

void placeAttribute(FetchRun& f, cad::BlockReference& reference, cad::AttributeReference& attribute,
                    int row) {
    const std::string tag = attribute.TagString();
    const int col = tagColumn(f.set, tag);
    if (col == 0)
        return;
    std::vector<nAtt>& attrs = f.context.work.records.gridAttrs;
    attrs.push_back({attribute.Handle(), attribute.TextString(), attribute.InsertionPoint(),
                     attribute.Layer()});
    StringGrid& grid = *f.context.page.StringGrid1;
    grid.setCell(col, row, QString::fromStdString(attrs.back().text));
    grid.setObject(col, row, static_cast<int>(attrs.size()));
    if (grid.cell(col, 0).isEmpty())
        grid.setCell(col, 0, QString::fromStdString(promptOf(f, reference.Name(), tag)));
}

// Looking the block up and asking for its attributes may fail and end the fetch; a failure
// while reading the attributes only ends this row.
void fillRow(FetchRun& f, const nBlk& block, int row) {
    f.context.page.StringGrid1->setCell(0, row, QString::number(row));
    auto reference = cad::entityAs<cad::BlockReference>(f.document.HandleToObject(block.sHnd));
    if (!reference->HasAttributes())
        return;
    const auto attributes = reference->GetAttributes();
    try {
        for (const auto& attribute : attributes)
            placeAttribute(f, *reference, *attribute, row);
    } catch (const std::exception&) {
    }
}

void secondPass(FetchRun& f) {
    const std::vector<nBlk>& blocks = f.context.work.records.gridBlocks;
    for (int row = 1; row <= static_cast<int>(blocks.size()); ++row) {
        if (!f.run.proceed())
            return;
        showProgress(f, row, static_cast<int>(blocks.size()),
                     QStringLiteral("ATTR = %1 / %2").arg(row).arg(f.picked));
        fillRow(f, blocks[static_cast<std::size_t>(row - 1)], row);
    }
}

void fillGrid(FetchRun& f) {
    AttrGridPage& page = f.context.page;
    WorkState& work = f.context.work;
    SortBlocksByPosition(work.records.gridBlocks, 3);
    const int blocks = static_cast<int>(work.records.gridBlocks.size());
    {
        BulkUpdate bulk(*page.StringGrid1);
        prepareGrid(*page.StringGrid1, blocks, static_cast<int>(f.set.tags.size()));
        if (blocks > 0)
            startProgress(*page.ProgressBar1, blocks);
        f.shown.invalidate();
        secondPass(f);
    }
    FitColumnWidths(*page.StringGrid1, kFitMargin);
    f.context.FUndoCells.Clear();
    work.sgUndoCnt = 0;
    page.SpeedButton11->setEnabled(true);
}

void fetch(AttrGridContext& context, const TagSet& set, cad::Document& document,
           RunFlagScope& run) {
    auto selection = PickOnScreen(document, InsertPickFilter(set.pattern), context.link.waiter);
    if (!selection)
        return;
    FetchRun f{context, set, document, run, selection->set().Count(), {}};
    RestoreTool(context.link);
    context.page.Label5->setText(QStringLiteral("INSERT = %1").arg(f.picked));
    if (f.picked == 0)
        return;
    startProgress(*context.page.ProgressBar1, f.picked);
    context.work.records.gridBlocks.clear();
    context.work.records.gridAttrs.clear();
    context.work.records.gridSource = document.Key();
    firstPass(f, selection->set());
    fillGrid(f);
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

std::string GetAttributePrompt(cad::Document& document, const std::string& blockName,
                               const std::string& tag) {
    const auto blocks = document.GetBlocks();
    const int count = blocks->Count();
    for (int i = 0; i < count; ++i) {
        const auto block = blocks->Item(i);
        if (block->Name() != blockName)
            continue;
        for (int k = 0; k < block->Count(); ++k) {
            const auto item = block->Item(k);
            if (item->EntityName() == "AcDbAttributeDefinition" && item->TagString() == tag)
                return item->PromptString();
        }
        return {};
    }
    return {};
}

void SortBlocksByPosition(std::vector<nBlk>& blocks, int mode) {
    if (blocks.size() < 2)
        return;
    if (mode >= 3) {
        auto [minX, maxX] = std::minmax_element(blocks.begin(), blocks.end(), [](auto& a, auto& b) {
            return a.insPt.x() < b.insPt.x();
        });
        auto [minY, maxY] = std::minmax_element(blocks.begin(), blocks.end(), [](auto& a, auto& b) {
            return a.insPt.y() < b.insPt.y();
        });
        const double spreadX = maxX->insPt.x() - minX->insPt.x();
        const double spreadY = maxY->insPt.y() - minY->insPt.y();
        mode = spreadY < spreadX ? 0 : 1;
    }
    if (mode == 0)
        exchangeSortBy(
            blocks, [](const nBlk& b) { return b.insPt.x(); }, SortOrder::Ascending);
    else if (mode == 1)
        exchangeSortBy(
            blocks, [](const nBlk& b) { return b.insPt.y(); }, SortOrder::Descending);
}

void FitColumnWidths(StringGrid& grid, int margin) {
    const QFontMetrics metrics(grid.font());
    for (int col = 0; col < grid.columnCount(); ++col) {
        int widest = 0;
        for (int row = 0; row < grid.rowCount(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(grid.cell(col, row)));
        if (widest > 0)
            grid.setColumnWidth(col, widest + margin);
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
    RunFlagScope run(context.work.runFlag, context.page.SpeedButton12);
    context.statusPanel0.clear();
    context.statusPanel1.clear();
    const TagSet set = parseTagSet(context.page.ComboBox2->currentText());
    CadSession session(context.link, CadOperation::Fetch);
    if (session.connected()) {
        try {
            fetch(context, set, *session.document(), run);
        } catch (const std::exception&) {
            // The fetch ends at a failure it cannot skip; what was filled stays.
        }
    }
    keepTwoRows(*context.page.StringGrid1);
    context.page.ProgressBar1->setValue(0);
    session.finish();
}

} // namespace kalvex
