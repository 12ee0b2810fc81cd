#pragma once
// Pictures of the Atari bitmap boards. Crystal Castles: 224 lines of 128 bytes of 4-bit pixels
// (low nibble first) on screen lines 16 to 239, then up to 64 sprites of 8 x 16 from the sheet.
// Tunnel Hunt: 224 columns of 32 bytes of 1-bit pixels, the first byte's bit 0 at the bottom.
// Every frame converts the whole bitmap; there is no cache.
#include "boards/board.h"
#include "video/display_state.h"
#include "video/graphics_sheet.h"

#include <cstdint>

namespace vortastr::atari {

constexpr int kCastlesTopLines = 16; // screen lines above the bitmap, cleared
constexpr int kCastlesLines = 224;
constexpr int kSpriteEntries = 64;
constexpr int kSpriteWidth = 8, kSpriteHeight = 16;
constexpr int kSpriteBase = 232; // a sprite's top line is kSpriteBase - y

// `memory` is the processor's 64 KB; `sprites` the 256-byte buffer the board selects.
void renderCrystalCastles(ScreenSurface& screen, const ColourTables& colours, const uint8_t* memory,
                          const uint8_t* sprites, const GraphicsSheet* sheet);
// Lit pixels are hardware entry 0xFF on 8-bit screens and white on 16-bit ones; dark ones 0.
void renderTunnelHunt(ScreenSurface& screen, const PixelLayout& layout, const uint8_t* memory);

// The running board's picture.
void render(DisplayState& display, const ColourTables& colours, const Board& board);

} // namespace vortastr::atari
