#pragma once

#include "cadlink/CadLink.h"

namespace kalvex {

// The operations that talk to the CAD, grouped by the hand-off steps they perform.
enum class CadOperation {
    Fetch,              // TEXT fetch, ATTR fetch, grid fetch: the user picks in the CAD
    Search,             // drawing-wide search
    GridUpdateOrAlign,  // grid update by button, alignment
    TextUpdate,         // TEXT update
    SearchResultUpdate, // bulk write of search hits
    Quiet,              // view follow and single-cell updates: no hand-off at all
};

// One CAD operation from connection to release. The constructor connects and, when that
// succeeded, performs the steps that come before the CAD work. `finish` performs the steps
// after it; it is called explicitly at the end of the work, so that an error which ends the
// operation early skips them (the tool then stays as the error left it). The application
// reference is released when the session ends, however it ends.
class CadSession {
public:
    CadSession(CadLink& link, CadOperation operation);
    ~CadSession();
    CadSession(const CadSession&) = delete;
    CadSession& operator=(const CadSession&) = delete;

    bool connected() const { return m_app != nullptr; }
    cad::Application& app() const { return *m_app; }
    cad::DocumentPtr document() const { return m_app->ActiveDocument(); }
    // The drawing records were fetched from (its key, kept with them), for writing them back;
    // null when that drawing has been closed since.
    cad::DocumentPtr sourceDocument(const std::string& key) const;

    void finish();

private:
    void before();

    CadLink& m_link;
    CadOperation m_operation;
    cad::ApplicationPtr m_app;
};

} // namespace kalvex
