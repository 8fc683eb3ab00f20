#pragma once

#include <memory>

#include "search/SearchContext.h"

namespace kalvex {

class HitEditor;
class TextSearch;

// The search tab's behaviour, connected to its page's controls for as long as this lives.
class SearchHandlers {
public:
    explicit SearchHandlers(SearchContext context);
    ~SearchHandlers();
    SearchHandlers(const SearchHandlers&) = delete;
    SearchHandlers& operator=(const SearchHandlers&) = delete;

    TextSearch& search() { return *m_search; }
    HitEditor& editor() { return *m_editor; }

private:
    SearchContext m_context;
    std::unique_ptr<HitEditor> m_editor;
    std::unique_ptr<TextSearch> m_search;
};

} // namespace kalvex
