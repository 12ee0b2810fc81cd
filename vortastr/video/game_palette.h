#pragma once
// The games' colours: colour bytes in the 3-3-2 resistor layout, colour PROM files, the
// built-in PROMs and start-up palettes, and the colour lookup tables. Palette RAM is followed
// by the boards (boards/game_video.h).
#include "video/display_state.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vortastr {

// Bits 0-2 red, 3-5 green, 6-7 blue; full blue is 0xDE.
RgbEntry decodeColourByte(uint8_t value);
// Entries 0..count-1 of rgb from the bytes, each flagged 1.
void decodeColourBytes(const uint8_t* bytes, int count, RgbBank& rgb);
// A raw colour PROM file of count bytes (at most 256); a missing file changes nothing.
void loadColourFile(const std::string& path, int count, RgbBank& rgb);

constexpr int kLookupGroups = 32;
constexpr int kLookupGroupBytes = 64;
using ColourLookup = std::array<uint8_t, kLookupGroups * kLookupGroupBytes>;

// The lookup table of a game's board family (the default table for boards without one).
const ColourLookup& colourLookupOf(GameId game);

// Maps a colour file's name ("scramble\scramble.clr") to the host file to open.
using ColourPathResolver = std::function<std::string(const std::string& name)>;

// Colours and lookup table of the game, then paletteUpload.
void initGamePalette(GameId game, DisplayState& display, ColourTables& colours, const ColourPathResolver& resolve);

} // namespace vortastr
