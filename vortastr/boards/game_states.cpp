#include "boards/game_states.h"

namespace vortastr {

int saveGameState(GameId) { return -1; }
int loadGameState(GameId) { return -1; }

} // namespace vortastr
