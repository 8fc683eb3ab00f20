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
//
// The progress label changes its text about a hundred times in a search. A label whose size may
// follow its text asks the window to lay itself out again at each change, and the window then
// repaints all its controls; held at one size, the label repaints only itself. It is held from
// the start of the run until the window goes, widened (one layout) when a text needs more room,
// and then gets its own size limits back.
class SearchRunWindow : public QtRunWindow {
public:
    SearchRunWindow(SearchContext& context, const QString& pattern)
        : QtRunWindow(context.ports.messages, {&context.work.runFlag, nullptr},
                      context.page.Label6),
          m_caption(*context.page.Label7), m_progress(*context.page.Label6), m_pattern(pattern) {}

    ~SearchRunWindow() override {
        if (m_held) {
            m_progress.setMinimumSize(m_minimum);
            m_progress.setMaximumSize(m_maximum);
        }
    }
    SearchRunWindow(const SearchRunWindow&) = delete;
    SearchRunWindow& operator=(const SearchRunWindow&) = delete;

    void runStarts() override {
        holdProgressSize();
        QtRunWindow::runStarts();
        m_caption.setText(patternCaption(m_pattern));
    }

    void showProgress(const std::string& text) override {
        QtRunWindow::showProgress(text);
        if (m_held && m_progress.sizeHint().width() > m_progress.width())
            m_progress.setFixedWidth(m_progress.sizeHint().width());
    }

private:
    // A label not shown has no size of its own yet: it is left to its layout.
    void holdProgressSize() {
        if (m_held || !m_progress.isVisible())
            return;
        m_minimum = m_progress.minimumSize();
        m_maximum = m_progress.maximumSize();
        m_progress.setFixedSize(m_progress.size());
        m_held = true;
    }

    QLabel& m_caption;
    QLabel& m_progress;
    QString m_pattern;
    bool m_held = false;
    QSize m_minimum;
    QSize m_maximum;
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
