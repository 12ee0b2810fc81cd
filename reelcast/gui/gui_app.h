#pragma once
// The window mode of reelcast: `reelcast [--config FILE] [MOVIE]` or `--screenshots DIR [--movie FILE]`.

namespace reelcast {

// True when the arguments ask for the window (none, window options, or a movie file to open).
bool wantsGui(int argc, const char* const* argv);
int runGui(int argc, char** argv);

}  // namespace reelcast
