#pragma once
// Command-line mode of reelcast: movie information and frame export without a window.

#include <ostream>

namespace reelcast {

inline constexpr const char* kVersionText = "1.06";

// Runs the command line; returns the exit status (0 success, 1 failure, 2 usage error).
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace reelcast
