#include "search/SearchHandlers.h"

#include "search/HitEditor.h"
#include "search/TextSearch.h"

namespace kalvex {

SearchHandlers::SearchHandlers(SearchContext context)
    : m_context(std::move(context)), m_editor(std::make_unique<HitEditor>(m_context)),
      m_search(std::make_unique<TextSearch>(m_context, *m_editor)) {}

SearchHandlers::~SearchHandlers() = default;

} // namespace kalvex
