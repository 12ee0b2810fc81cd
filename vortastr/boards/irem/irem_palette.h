#pragma once
// The Irem palettes: two banks of 256 colours (tiles in bank 0, sprites in bank 1), each held
// in palette RAM as three planes of 5-bit components, one word per colour. Before every
// rendered frame the planes are compared with the last values seen and only changed colours
// are converted.
#include "boards/game_id.h"
#include "video/display_state.h"

#include <array>
#include <cstdint>

namespace vortastr::irem {

constexpr uint32_t kSpritePalette = 0xC8000;
constexpr uint32_t kTilePalette = 0xCC000;
constexpr uint32_t kTilePaletteLate = 0xD8000; // RType II and Kengo
constexpr uint32_t kPlaneStride = 0x400;       // red, green, blue planes
constexpr int kPaletteColours = 256;
constexpr std::size_t kAddressSpace = 0x100000;

// ((v << 3) | (v & 7)) & 0xFF: 31 gives 255, 16 gives 128.
constexpr uint8_t componentOf(uint8_t v) { return static_cast<uint8_t>((v << 3) | (v & 7)); }

uint32_t tilePaletteAddress(GameId game);

// Last converted components per bank and plane.
struct PaletteRecords {
    std::array<std::array<std::array<uint8_t, kPaletteColours>, 3>, 2> planes{};
};
PaletteRecords& paletteRecords();

// Fills every record with `value` (the renderer's reset fills 0xFF, then 0xFC).
void fillPaletteRecords(uint8_t value);

// Converts the colours of both banks whose planes changed and sets them in the colour tables
// (paletteSetRgb of the bank); leaves bank 0 selected. `memory` is the 1 MB address space.
void syncPaletteRam(GameId game, DisplayState& display, ColourTables& colours, const uint8_t* memory);

} // namespace vortastr::irem
