#include "operations/ViewFollow.h"

#include "cadlink/CadError.h"
#include "cadlink/FollowView.h"
#include "cadlink/HandOff.h"

namespace kalvex {

void followRecord(CadLink& link, const cad::CadPoint& point) {
    try {
        CadSession session(link, CadOperation::Quiet);
        if (session.connected())
            FollowView(link, session.app(), point, kFollowPenWidth, kFollowMarkerRatio);
    } catch (const cad::CadError&) {
    }
}

} // namespace kalvex
