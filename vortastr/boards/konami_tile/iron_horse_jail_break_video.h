#pragma once
// Pictures of Iron Horse and Jail Break on the shared tile pipeline: each board's tile routine,
// row-scroll copy and sprite routine.
#include "boards/board.h"
#include "video/display_state.h"
#include "video/tile_pipeline.h"

#include <cstdint>

namespace vortastr::konamiTile {

// Tile, scroll and sprite RAM of the game in the memory image, 32 x 32 visible cells, and a new
// background (256 x 256 for Iron Horse's 32 x 32 map, 512 x 256 for Jail Break's 64 x 32). False
// when the background cannot be had.
bool setUpHorseBreakVideo(GameId game, const uint8_t* memory, TileVideo& video);

// renderFrame for both boards: changed cells into the background, the row-scrolled copy, then
// the sprites.
void renderHorseBreak(DisplayState& display, const ColourTables& colours, const Board& board);

} // namespace vortastr::konamiTile
