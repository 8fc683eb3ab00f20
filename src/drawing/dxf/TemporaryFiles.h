#pragma once

#include <string>
#include <vector>

namespace kalvex::drawing {

// The temporary file a save writes before it renames it over the drawing: beside the drawing,
// hidden, and named after it and the process that writes it, ".NAME.kalvex-tmp-PID-XXXXXX"
// (XXXXXX as mkstemp fills it in).
std::string temporaryPattern(const std::string& path);

// Creates the temporary file of `pattern` (temporaryPattern's XXXXXX filled in at random),
// listed before it exists, so that a signal arriving at any moment finds it; `pattern` becomes
// the file's path. Returns the open descriptor, or -1 with errno set.
int createTemporary(std::string& pattern);

// The temporary files this process has open are listed where a signal handler can reach them:
// a fixed structure of slots, written with atomic stores only.
void registerTemporary(const std::string& path);
void unregisterTemporary(const std::string& path);

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the listed temporary files and
// then end the process by the same signal with its default action.
void removeTemporariesOnSignals();

// Removes from `folder` the temporary files of saves whose process no longer exists (the exact
// name pattern above, and kill(PID, 0) failing with ESRCH); returns their paths. Files of a
// running process and every other file are left alone.
std::vector<std::string> removeLeftoverTemporaries(const std::string& folder);

} // namespace kalvex::drawing
