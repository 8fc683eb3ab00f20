#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kalvex::dxftool {

enum ExitStatus { kDone = 0, kWrongUsage = 1, kBadInput = 2 };

// Runs one command line (the arguments after the program name): results on `out`, messages
// and warnings on `err`. Returns the exit status.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace kalvex::dxftool
