#pragma once
// The games' colours: colour bytes in the 3-3-2 resistor layout, colour PROM files, the
// built-in PROMs and start-up palettes, and the colour lookup tables. Palette RAM is followed
// by the boards (boards/game_video.h).
#include "video/display_state.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Reads up to `count` bytes of a colour file by its name ("scramble\scramble.clr") from the
// game's folder or archive; none when the file cannot be opened.
using ColourFileReader = std::function<std::optional<std::vector<uint8_t>>(const std::string& name, std::size_t count)>;

// Colours and lookup table of the game, then paletteUpload. Without a reader the colour files
// are opened by name from the working folder.
void initGamePalette(GameId game, DisplayState& display, ColourTables& colours, const ColourFileReader& read);

} // namespace vortastr
