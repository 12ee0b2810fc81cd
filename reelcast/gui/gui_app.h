#pragma once
// The window mode of reelcast: `reelcast [--config FILE] [MOVIE]` or `--screenshots DIR [--movie FILE]`.

namespace reelcast {

int runGui(int argc, char** argv);

} // namespace reelcast
