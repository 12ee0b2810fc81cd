#pragma once
// Checks shared by the end-to-end tests of the tile-and-sprite boards: the colour a pen of the
// generated art shows in a colour group, and a placed art tile compared pixel by pixel.
#include "boards/konami_tile/tile_test_art.h"
#include "tests/game_fixtures.h"

namespace vortastr::test {

// The 16-bit colour of `pen` in colour group `group` of the game's lookup table.
uint16_t artColour(const Emulator& emu, GameId game, int group, int pen);

// The tile, in its flips and group, at (screenX, screenY) of the presented screen; a gtest
// failure naming `what` and the first pixel that differs.
void expectArtTile(const Emulator& emu, GameId game, const testrom::PlacedTile& t, int screenX, int screenY,
                   const char* what);

} // namespace vortastr::test
