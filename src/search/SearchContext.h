#pragma once

#include <functional>

class QLabel;

namespace kalvex {

struct CadLink;
class ErrorReport;
class SearchPage;
struct Ports;
struct WorkState;

// What the search tab's handlers reach outside the page: the shared work state, the CAD,
// the user-facing ports, the error report for connected handlers and the window's status
// bar panels. `isActivePage` tells whether the search tab is the one shown.
struct SearchContext {
    SearchPage& page;
    WorkState& work;
    CadLink& link;
    Ports& ports;
    ErrorReport& errors;
    QLabel& statusPanel0;
    QLabel& statusPanel1;
    std::function<bool()> isActivePage;
};

} // namespace kalvex
