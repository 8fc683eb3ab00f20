#pragma once

#include <string>
#include <vector>

#include "drawing/dxf/FilePort.h"

namespace kalvex::drawing {

// The temporary file a save writes before it renames it over the drawing: beside the drawing,
// hidden, and named after it and the process that writes it, ".NAME.kalvex-tmp-PID-XXXXXX"
// (XXXXXX as mkstemp fills it in).
std::string temporaryPattern(const std::string& path);

// Creates the temporary file of `pattern` (temporaryPattern's XXXXXX filled in at random),
// listed before it exists, so that a signal arriving at any moment finds it; `pattern` becomes
// the file's path. Returns the file opened for writing, or one that is not open, with
// files::lastError() saying why.
files::OpenFile createTemporary(std::string& pattern);

// The temporary files this process has open are listed where a signal handler can reach them:
// a fixed structure of slots, written with atomic stores only.
void registerTemporary(const std::string& path);
void unregisterTemporary(const std::string& path);

// Installs handlers that remove the listed temporary files when the process is ended from
// outside and then let it end as it would have: for SIGINT, SIGTERM and SIGHUP, which end it by
// the same signal with its default action; on Windows for the console's events (Ctrl+C,
// Ctrl+Break, the console closed, log-off, shut-down).
void removeTemporariesOnSignals();

// Removes from `folder` the temporary files of saves whose process no longer exists (the exact
// name pattern above, and no process of that id running: kill(PID, 0) failing with ESRCH, or
// on Windows no such process or one that has ended); returns their paths. Files of a
// running process and every other file are left alone.
std::vector<std::string> removeLeftoverTemporaries(const std::string& folder);

} // namespace kalvex::drawing
