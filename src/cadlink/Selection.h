#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/SelectionFilter.h"
#include "platform/WindowSystem.h"

namespace kalvex {

inline const std::string kTempSelectionSetName = "SSTEMP";

cad::SelectionFilter TextPickFilter();
cad::SelectionFilter InsertPickFilter(const std::string& blockNamePattern);
cad::SelectionFilter TextSearchFilter(const std::string& textPattern);

// The drawing's "SSTEMP" selection set, emptied, or a new one. Never throws: null on failure.
cad::SelectionSetPtr GetTempSelectionSet(cad::Document& document);

// A selection set that lives for one operation: however the operation ends, the set is
// cleared and removed from the drawing when this goes out of scope.
class TempSelection {
public:
    explicit TempSelection(cad::SelectionSetPtr set) : m_set(std::move(set)) {}
    ~TempSelection();
    TempSelection(const TempSelection&) = delete;
    TempSelection& operator=(const TempSelection&) = delete;

    cad::SelectionSet& set() const { return *m_set; }

    // Reads the items one by one through the set's indexed access and asks each for the
    // interface the caller needs; an entity of another kind throws.
    template <class T> std::vector<std::shared_ptr<T>> entities() const {
        std::vector<std::shared_ptr<T>> result;
        const int n = m_set->Count();
        result.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            result.push_back(cad::entityAs<T>(m_set->Item(i)));
        return result;
    }

private:
    cad::SelectionSetPtr m_set;
};

// Lets the user pick on screen with the filter. A cancelled or failed selection leaves the set
// with whatever it holds. Null when no selection set could be obtained.
std::unique_ptr<TempSelection> PickOnScreen(cad::Document& document,
                                            const cad::SelectionFilter& filter, Waiter& waiter);

} // namespace kalvex
