#pragma once
// Picture and palette of the Konami bitmap boards: video RAM of 256 lines of 128 bytes, two
// 4-bit pixels per byte, turned a quarter for a vertical monitor; 16 colour bytes of palette
// RAM at 0x8000. Every frame converts the whole bitmap; there is no cache.
#include "boards/board.h"
#include "video/display_state.h"

#include <array>
#include <cstdint>

namespace vortastr::konamiBitmap {

// Line i is screen column i; byte k holds rows 255 - 2k (low nibble) and 254 - 2k (high).
void renderVortaStrike(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam);

// Bytes 0-95 of each line scroll horizontally by `scroll`; bytes 96-127 are the fixed status
// area in rows 0 to 63.
void renderTutankham(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam, uint8_t scroll);

// The running board's picture: its memory and, for Tutankham, its scroll register.
void render(DisplayState& display, const ColourTables& colours, const Board& board);

// The last byte seen of each of the 16 palette-RAM entries of Tutankham and of Vorta Strike.
struct PaletteRecords {
    std::array<uint8_t, 16> tutankham{};
    std::array<uint8_t, 16> vortaStrike{};
};
PaletteRecords& paletteRecords();

// Follows palette RAM: every entry in 16-bit modes or with palette cycling, else the first 15
// (Tutankham) or the first one (Vorta Strike).
void syncPaletteRam(GameId game, DisplayState& display, ColourTables& colours, const uint8_t* memory,
                    bool paletteCycling);

} // namespace vortastr::konamiBitmap
