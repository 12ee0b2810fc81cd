#pragma once
// The test art encoded into graphics ROMs in each board's bit layout, the inverse of what the
// ROM loader decodes. Files come in the order of the board's ROM list (see tile_test_sets.cpp).
#include "boards/konami_tile/tile_test_art.h"

#include <cstdint>
#include <vector>

namespace vortastr::testrom {

using RomImages = std::vector<std::vector<uint8_t>>;

// Sets pixel j (0-3) of a two-file nibble-plane byte pair to `pen`: pen bit 3 -> A bit 3-j,
// bit 2 -> A bit 7-j, bit 1 -> B bit 3-j, bit 0 -> B bit 7-j (bits only set, never cleared).
void putNibblePair(uint8_t& a, uint8_t& b, int j, int pen);

// Track'n'Field: three packed files (tiles 0-255, 256-511, 512-767). Hyper Sports: two pairs
// of nibble-plane files (second-weighted file second; tiles 0-511, 512-1023). Rock'n'Rope: one
// pair of turned nibble-plane files. Circus Charlie: two turned packed files.
RomImages encodeCharacters(TileBoard board);
// Track'n'Field and Rock'n'Rope: two pairs (higher-weighted file first); Hyper Sports: four
// pairs (higher-weighted file second); Circus Charlie: six packed files of 64 sprites.
RomImages encodeSprites(TileBoard board);

// Four pixels j = 0..3 of a nibble-plane byte pair: pen bit 3 -> A bit 3-j, bit 2 -> A bit 7-j,
// bit 1 -> B bit 3-j, bit 0 -> B bit 7-j (bits are only set).
void putNibblePair(uint8_t& a, uint8_t& b, int j, int pen);

} // namespace vortastr::testrom
