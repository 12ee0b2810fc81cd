#pragma once
// The window mode of reelcast: `reelcast [--config FILE] [--screenshots DIR [--movie FILE]]`.

namespace reelcast {

// True when the arguments ask for the window (none, or only window options).
bool wantsGui(int argc, const char* const* argv);
int runGui(int argc, char** argv);

}  // namespace reelcast
