#pragma once
// Logical colours of the games and their translation into screen pixels: hardware palette
// indices in 8-bit mode, 16-bit pixels of the screen's format otherwise.
#include "boards/game_id.h"
#include "video/screen_surface.h"

#include <array>
#include <cstdint>

namespace vortastr {

struct RgbEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};
using RgbBank = std::array<RgbEntry, 256>;

struct ColourTables {
    std::array<RgbBank, 2> rgb{};                        // logical colours per bank
    std::array<uint8_t, 256> index8{};                   // logical colour -> palette index (8-bit)
    std::array<std::array<uint16_t, 256>, 2> colour16{}; // logical colour -> 16-bit pixel per bank
    int bank = 0;
    const uint8_t* colourLookup = nullptr; // the game's colour lookup table in force
};

// In 8-bit mode the games' colours live in hardware entries 16 to 79; colour 0 stays entry 0.
constexpr int kFirstGameEntry = 16;
constexpr int kGameEntryCount = 64;
constexpr uint8_t kReservedEntryFlag = 1;

// Reduces one 0-255 component into the field of a 16-bit pixel described by its mask.
uint16_t reduceComponent(uint8_t component, uint32_t mask);
uint16_t colour16Of(uint8_t red, uint8_t green, uint8_t blue, const PixelLayout& layout);

// index8 for 8-bit mode: i -> i + 16, 0 -> 0.
void setPaletteIndexMapping(ColourTables& tables);
void setIdentityIndexMapping(ColourTables& tables);

// Rebuilds one bank's 16-bit table from its logical colours; entry 0 is forced to 0.
void rebuildColour16(ColourTables& tables, int bank, const PixelLayout& layout);

// Decodes a palette-RAM byte of a game into red, green and blue.
using ColourByteDecoder = RgbEntry (*)(GameId game, uint8_t byte);

// Loads the 64 game colours of bank 0 into hardware entries 16 to 79 of an 8-bit palette.
void uploadGameEntries(const ColourTables& tables, std::array<uint32_t, 256>& palette);

} // namespace vortastr
