#include "cadlink/HandOff.h"

#include "cadlink/Connection.h"

namespace kalvex {

CadSession::CadSession(CadLink& link, CadOperation operation)
    : m_link(link), m_operation(operation) {
    if (ConnectCad(m_link, m_app))
        before();
}

CadSession::~CadSession() = default;

cad::DocumentPtr CadSession::sourceDocument(const std::string& key) const {
    // Records that no fetch gave a drawing belong to the active one.
    return key.empty() ? m_app->ActiveDocument() : m_app->DocumentWithKey(key);
}

void CadSession::before() {
    switch (m_operation) {
    case CadOperation::Fetch:
        RestoreCadWindow(m_link, *m_app);
        MinimiseTool(m_link);
        ActivateCad(m_link, *m_app);
        CancelCadCommand(m_link, *m_app);
        break;
    case CadOperation::Search:
    case CadOperation::GridUpdateOrAlign:
        RestoreCadWindow(m_link, *m_app);
        ActivateCad(m_link, *m_app);
        CancelCadCommand(m_link, *m_app);
        break;
    case CadOperation::TextUpdate:
        RestoreCadWindow(m_link, *m_app);
        ActivateCad(m_link, *m_app);
        break;
    case CadOperation::SearchResultUpdate:
        RestoreCadWindow(m_link, *m_app);
        break;
    case CadOperation::Quiet:
        break;
    }
}

void CadSession::finish() {
    switch (m_operation) {
    case CadOperation::Fetch:
        // The tool comes back whether or not a CAD was there.
        RestoreTool(m_link);
        ReturnFocusToTool(m_link, m_link.toolWindow);
        break;
    case CadOperation::Search:
        if (connected()) {
            ActivateCad(m_link, *m_app);
            CancelCadCommand(m_link, *m_app);
        }
        ReturnFocusToTool(m_link, m_link.toolWindow);
        break;
    default:
        break;
    }
}

} // namespace kalvex
