#pragma once

#include <functional>
#include <string>

#include "cadlink/HandOff.h"
#include "operations/RunWindow.h"

namespace kalvex {

// The drawing the records with this key were fetched from, for writing them back. When that
// drawing has been closed since, the user is told that nothing was written, and it is null.
cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window);

// Writes records back: a CAD session of the given kind runs `work` on the drawing the records
// with this key came from. Without a CAD nothing happens; when that drawing has been closed
// the user is told so and nothing is written.
void writeToSourceDrawing(CadLink& link, CadOperation operation, const std::string& key,
                          RunWindow& window, const std::function<void(cad::Document&)>& work);

} // namespace kalvex
