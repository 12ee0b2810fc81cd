#pragma once
// Command-line mode of reelcast: movie information and frame export without a window.

#include <ostream>

#include "core/version.h"

namespace reelcast {

// True when the arguments ask for the window (none, window options, or a movie file to open).
bool wantsGui(int argc, const char* const* argv);

// Runs the command line; returns the exit status (0 success, 1 failure, 2 usage error).
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace reelcast
