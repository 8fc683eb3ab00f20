#pragma once

class QLabel;

namespace kalvex {

class AttrGridPage;
class ErrorReport;
class TUndoCells;
struct CadLink;
struct Ports;
struct WorkState;

// What the attribute grid's handlers reach outside their page: the shared work state, the
// CAD, the user-facing ports, the grid's cell history, the window's status bar panels and
// the first tab's two labels, which a fetch empties.
struct AttrGridContext {
    AttrGridPage& page;
    WorkState& work;
    CadLink& link;
    Ports& ports;
    ErrorReport& errors;
    TUndoCells& FUndoCells;
    QLabel& statusPanel0;
    QLabel& statusPanel1;
    QLabel& Label1;
    QLabel& Label2;
};

} // namespace kalvex
