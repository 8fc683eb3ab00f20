#include "search/TextSearch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "operations/search/TextSearch.h"
#include "platform/ErrorReport.h"
#include "platform/Ports.h"
#include "runwindow/QtRunWindow.h"
#include "search/HitEditor.h"
#include "search/HitGrid.h"
#include "search/SearchPage.h"
#include "widgets/StringGrid.h"
#include "workstate/RunFlag.h"
#include "workstate/WorkState.h"

namespace kalvex {

namespace {

// The search's window: while the search runs, the tab shows the pattern sent to the CAD.
class SearchRunWindow : public QtRunWindow {
public:
    SearchRunWindow(SearchContext& context, const QString& pattern)
        : QtRunWindow(context.ports.messages, {&context.work.runFlag, nullptr},
                      context.page.Label6),
          m_caption(*context.page.Label7), m_pattern(pattern) {}

    void runStarts() override {
        QtRunWindow::runStarts();
        m_caption.setText(patternCaption(m_pattern));
    }

private:
    QLabel& m_caption;
    QString m_pattern;
};

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
        const QString pattern = searchPattern(m_context.page.Edit3->text(), matchMode());
        SearchRunWindow window(m_context, pattern);
        std::optional<std::vector<Orvik2>> hits =
            SearchTexts(m_context.link, pattern.toStdString(), window,
                        m_context.work.records.searchSource, &m_context.work.records.searchSeal);
        if (hits)
            showHits(std::move(*hits));
        else
            dropHits();
    } catch (...) {
        dropHits();
        m_context.page.Label7->setText(kIdlePatternCaption);
        showIdle();
        throw;
    }
}

void TextSearch::showHits(std::vector<Orvik2> hits) {
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
