#pragma once

#include <vector>

#include <QObject>

#include "cadlink/Records.h"
#include "search/SearchContext.h"
#include "search/SearchPattern.h"

namespace kalvex {

class HitEditor;

// The drawing-wide search: every TEXT whose string matches the pattern built from the search
// text, sorted by text and listed in the grid. While it runs, the search button aborts it.
class TextSearch : public QObject {
    Q_OBJECT
public:
    TextSearch(SearchContext& context, HitEditor& editor);

    // Starts a search, or aborts the running one when the button reads "中止".
    void SpeedButton14Click();
    void CheckBox3Click();
    void CheckBox4Click();

private:
    void abortSearch();
    void runSearch();
    void showHits(std::vector<Orvik2> hits);
    void dropHits();
    void showIdle();
    MatchMode matchMode() const;

    SearchContext& m_context;
    HitEditor& m_editor;
};

} // namespace kalvex
