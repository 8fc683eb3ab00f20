#include "search/TextSearch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "cadlink/HandOff.h"
#include "cadlink/Selection.h"
#include "cadlink/Text.h"
#include "platform/ErrorReport.h"
#include "search/HitEditor.h"
#include "search/HitGrid.h"
#include "search/HitSort.h"
#include "search/LockedLayers.h"
#include "search/SearchPage.h"
#include "widgets/StringGrid.h"
#include "workstate/RunFlag.h"
#include "workstate/WorkState.h"

namespace kalvex {

namespace {

// The CAD needs a moment after a selection set is made and after it is filled.
constexpr int kSelectionPause = 5;

Orvik2 readHit(const cad::SelectionSet& set, int index) {
    auto text = cad::entityAs<cad::Text>(set.Item(index));
    Orvik2 hit;
    hit.text = text->TextString();
    hit.sHnd = text->Handle();
    hit.index = index;
    hit.insPt = text->InsertionPoint();
    hit.lay = text->Layer();
    return hit;
}

} // namespace

TextSearch::TextSearch(SearchContext& context, HitEditor& editor)
    : QObject(nullptr), m_context(context), m_editor(editor) {
    SearchPage& page = m_context.page;
    ErrorReport& errors = m_context.errors;
    connect(page.SpeedButton14, &QPushButton::clicked, this,
            errors.guarded([this] { SpeedButton14Click(); }));
    connect(page.Edit3, &QLineEdit::returnPressed, this,
            errors.guarded([this] { SpeedButton14Click(); }));
    connect(page.CheckBox3, &QCheckBox::toggled, this,
            errors.guarded([this] { CheckBox3Click(); }));
    connect(page.CheckBox4, &QCheckBox::toggled, this,
            errors.guarded([this] { CheckBox4Click(); }));
}

void TextSearch::SpeedButton14Click() {
    m_context.statusPanel0.clear();
    m_context.statusPanel1.clear();
    m_context.page.Edit3->setEnabled(false);
    if (m_context.page.SpeedButton14->text().contains(kAbortCaption))
        abortSearch();
    else
        runSearch();
    showIdle();
}

void TextSearch::CheckBox3Click() {
    if (m_context.isActivePage() && !m_context.page.Edit3->text().isEmpty())
        SpeedButton14Click();
}

void TextSearch::CheckBox4Click() {
    m_context.page.setSearchInputCase(m_context.page.CheckBox4->isChecked() ? InputCase::Upper
                                                                            : InputCase::Normal);
    CheckBox3Click();
}

// The click comes from within the running search's event processing; the search sees the
// cleared flag before it reads its next hit.
void TextSearch::abortSearch() {
    abortRun(m_context.work.runFlag);
    m_context.page.SpeedButton14->setText(kSearchCaption);
    m_context.page.Label7->setText(kIdlePatternCaption);
}

// An error ends the search as an abort does, so the tab is idle again when it is reported.
void TextSearch::runSearch() {
    m_context.page.SpeedButton14->setText(kAbortCaption);
    try {
        std::vector<Orvik2> hits;
        const std::optional<std::string> lockedLayers = collectHits(hits);
        if (lockedLayers)
            showHits(std::move(hits), *lockedLayers);
        else
            dropHits();
    } catch (...) {
        dropHits();
        m_context.page.Label7->setText(kIdlePatternCaption);
        showIdle();
        throw;
    }
}

// The locked layers of the drawing when the search ran to its end; nothing when there was no
// CAD or the search was aborted.
std::optional<std::string> TextSearch::collectHits(std::vector<Orvik2>& hits) {
    CadSession session(m_context.link, CadOperation::Search);
    if (!session.connected()) {
        session.finish();
        return std::nullopt;
    }
    RunFlagScope run(m_context.work.runFlag, nullptr);
    cad::DocumentPtr document = session.document();
    std::string lockedLayers = lockedLayerList(*document);
    const QString pattern = searchPattern(m_context.page.Edit3->text(), matchMode());
    m_context.page.Label7->setText(patternCaption(pattern));
    readHits(*document, pattern, run, hits);
    m_context.work.records.searchSource = document->Key();
    session.finish();
    if (!m_context.work.runFlag)
        return std::nullopt;
    return lockedLayers;
}

void TextSearch::readHits(cad::Document& document, const QString& pattern, RunFlagScope& run,
                          std::vector<Orvik2>& hits) {
    cad::SelectionSetPtr set = GetTempSelectionSet(document);
    m_context.link.waiter.wait(kSelectionPause);
    if (!set)
        return;
    const TempSelection selection(set);
    set->Clear();
    try {
        set->Select(cad::SelectionSet::Mode::All, TextSearchFilter(pattern.toStdString()));
    } catch (const std::exception&) {
        // The search goes on with whatever the set holds.
    }
    m_context.link.waiter.wait(kSelectionPause);
    const int count = set->Count();
    QLabel& progress = *m_context.page.Label6;
    progress.setText(QStringLiteral("TEXT = %1").arg(count));
    hits.reserve(static_cast<std::size_t>(count));
    const int step = std::max(1, count / 100);
    for (int i = 0; i < count; ++i) {
        if (i % step == 0)
            progress.setText(QStringLiteral("%1 / %2").arg(i + 1).arg(count));
        if (!run.proceed())
            return;
        hits.push_back(readHit(*set, i));
    }
}

void TextSearch::showHits(std::vector<Orvik2> hits, const std::string& lockedLayers) {
    SortHitsByText(hits, *m_context.page.Label6);
    markLockedHits(hits, lockedLayers);
    std::vector<Orvik2>& searchHits = m_context.work.records.searchHits;
    searchHits = std::move(hits);
    StringGrid& grid = *m_context.page.StringGrid2;
    fillHitGrid(grid, searchHits);
    if (searchHits.empty())
        m_context.statusPanel0.clear();
    {
        const QSignalBlocker blocker(grid);
        grid.setCurrentCell(0, 0);
    }
    m_editor.StringGrid2Click();
    m_editor.clearUndo();
}

void TextSearch::dropHits() {
    m_context.work.records.searchHits.clear();
    fillHitGrid(*m_context.page.StringGrid2, m_context.work.records.searchHits);
}

void TextSearch::showIdle() {
    m_context.page.SpeedButton14->setText(kSearchCaption);
    m_context.page.Edit3->setEnabled(true);
}

MatchMode TextSearch::matchMode() const {
    return m_context.page.CheckBox3->isChecked() ? MatchMode::Prefix : MatchMode::Contains;
}

} // namespace kalvex
