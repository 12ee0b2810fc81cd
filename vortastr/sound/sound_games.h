#pragma once
// The games that have a sample set, by catalogue number.
#include "boards/game_catalogue.h"

namespace vortastr::sound_games {

constexpr GameId kTutankham = 8;
constexpr GameId kVortaStrike = 9;
constexpr GameId kVortaStrikeBootleg = 10;
constexpr GameId kRtype2 = 29;

} // namespace vortastr::sound_games
