#include "operations/ViewFollow.h"

#include "cadlink/CadError.h"
#include "cadlink/FollowView.h"
#include "cadlink/HandOff.h"

namespace kalvex {

namespace {

enum class Follow { Done, Activated, Nothing };

// Follows in the drawing the records came from when it is the active one. Otherwise that
// drawing is brought to the front, and the caller connects again: a connection sees the
// drawing that was active when it was made as the one its view calls act on.
Follow followInSource(CadLink& link, const std::string& source, const cad::CadPoint& point) {
    CadSession session(link, CadOperation::Quiet);
    if (!session.connected())
        return Follow::Nothing;
    const cad::DocumentPtr document = session.sourceDocument(source);
    if (!document)
        return Follow::Nothing; // closed since the fetch: no other drawing's view moves
    const cad::DocumentPtr active = session.document();
    if (active && active->Key() == document->Key()) {
        FollowView(link, session.app(), point, kFollowPenWidth, kFollowMarkerRatio);
        return Follow::Done;
    }
    document->Activate();
    return Follow::Activated;
}

} // namespace

void followRecord(CadLink& link, const std::string& source, const cad::CadPoint& point) {
    try {
        if (followInSource(link, source, point) == Follow::Activated)
            followInSource(link, source, point);
    } catch (const cad::CadError&) {
    }
}

} // namespace kalvex
