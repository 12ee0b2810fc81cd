#pragma once
// Renderers of the Konami bitmap boards: video RAM of 256 lines of 128 bytes, two 4-bit
// pixels per byte, turned a quarter for a vertical monitor. Every frame converts the whole
// bitmap; there is no cache.
#include "video/display_state.h"

#include <cstdint>

namespace vortastr {

// Line i is screen column i; byte k holds rows 255 - 2k (low nibble) and 254 - 2k (high).
void renderVortaStrike(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam);

// Bytes 0-95 of each line scroll horizontally by `scroll`; bytes 96-127 are the fixed status
// area in rows 0 to 63.
void renderTutankham(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam, uint8_t scroll);

// What renderFrame needs of the running board.
struct RenderInputs {
    GameId game = NoGame;
    const uint8_t* memory = nullptr; // main processor's memory image
    uint8_t scroll = 0;
};

// Draws one frame of the running game on the display's screen surface; nothing while the
// display is suspended. Boards without a renderer yet leave the screen as it is.
void renderFrame(DisplayState& display, const ColourTables& colours, const RenderInputs& inputs);

} // namespace vortastr
