#pragma once
// Loading a game's character and sprite sets into the graphics sheets.
#include "boards/game_id.h"
#include <cstdint>

namespace vortastr {

// Creates the sheet, decodes each image of the set and copies it in. 0 on success, -1 when a
// file is missing or the sheet cannot be made; images copied before a failure stay in the
// sheet. Games without a set get a 1-unit sheet and 0.
int loadCharacterSet(GameId game);
int loadSpriteSet(GameId game);

} // namespace vortastr
