#pragma once
// Saved states (F7 saves, F8 loads). Only two games have them, and their files are not
// supported in this version: both calls change nothing and report -1.
#include "boards/game_id.h"
#include <cstdint>

namespace vortastr {

int saveGameState(GameId game);
int loadGameState(GameId game);

} // namespace vortastr
