#include "cadlink/Selection.h"

#include <algorithm>

#include "cadlink/CadError.h"

namespace kalvex {

using cad::SelectionFilter;

SelectionFilter TextPickFilter() {
    return SelectionFilter::of({{SelectionFilter::EntityType, "TEXT"}});
}

SelectionFilter InsertPickFilter(const std::string& blockNamePattern) {
    return SelectionFilter::of(
        {{SelectionFilter::EntityType, "INSERT"}, {SelectionFilter::BlockName, blockNamePattern}});
}

SelectionFilter TextSearchFilter(const std::string& textPattern) {
    return SelectionFilter::of(
        {{SelectionFilter::EntityType, "TEXT"}, {SelectionFilter::TextValue, textPattern}});
}

namespace {

// Set names are compared in upper case; only ASCII letters change, as the name sought is ASCII.
bool isTempSetName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    return name == kTempSelectionSetName;
}

cad::SelectionSetPtr findOrAddTempSet(cad::Document& document) {
    auto sets = document.GetSelectionSets();
    const int count = sets->Count();
    for (int i = 0; i < count; ++i) {
        if (!isTempSetName(sets->Item(i)->Name()))
            continue;
        sets->Item(i)->Clear();
        return sets->Item(i);
    }
    return sets->Add(kTempSelectionSetName);
}

} // namespace

cad::SelectionSetPtr GetTempSelectionSet(cad::Document& document) {
    try {
        return findOrAddTempSet(document);
    } catch (const cad::CadError&) {
        return nullptr;
    }
}

TempSelection::~TempSelection() {
    // Runs also while an error unwinds the operation, so no failure here may escape, whatever
    // its kind: one leaving a destructor would end the program.
    try {
        m_set->Clear();
    } catch (const std::exception&) {
    }
    try {
        m_set->Delete();
    } catch (const std::exception&) {
    }
}

std::unique_ptr<TempSelection> PickOnScreen(cad::Document& document, const SelectionFilter& filter,
                                            Waiter& waiter) {
    cad::SelectionSetPtr set = GetTempSelectionSet(document);
    waiter.wait(5);
    if (!set)
        return nullptr;
    auto selection = std::make_unique<TempSelection>(set);
    set->Clear();
    try {
        set->SelectOnScreen(filter);
    } catch (const cad::CadError&) {
        // A cancelled pick is no error: the operation goes on with what the set holds.
    }
    waiter.wait(5);
    return selection;
}

} // namespace kalvex
