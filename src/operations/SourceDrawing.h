#pragma once

#include <string>

#include "cadlink/HandOff.h"
#include "operations/RunWindow.h"

namespace kalvex {

// The drawing the records with this key were fetched from, for writing them back. When that
// drawing has been closed since, the user is told that nothing was written, and it is null.
cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window);

} // namespace kalvex
