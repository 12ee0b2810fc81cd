#pragma once
// The per-frame video of the running game: palette RAM followed, then the board's renderer.
// Each is one switch over the game id whose arms call into the board families.
#include "boards/board.h"
#include "video/display_state.h"

namespace vortastr {

// Follows the game's palette RAM into the colour tables; games without palette RAM: nothing.
void syncPaletteRam(GameId game, DisplayState& display, ColourTables& colours, const uint8_t* memory,
                    bool paletteCycling);

// Draws one frame of the running board on the display's screen surface; nothing while the
// display is suspended. Boards without a renderer yet leave the screen as it is.
void renderFrame(DisplayState& display, const ColourTables& colours, const Board& board);

} // namespace vortastr
