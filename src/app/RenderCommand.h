#pragma once

#include "shell/CommandLine.h"

namespace kalvex {

// `kalvex --render`: draws the drawing area of a DXF file alone into a picture and returns
// the exit code (0 written, 2 when the drawing cannot be read or the picture not written).
// Needs no display: without one it draws off screen.
int runRender(int argc, char** argv, const CommandLine& commandLine);

} // namespace kalvex
