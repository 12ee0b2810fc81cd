#pragma once
// Graphics ROMs of the Scramble-type boards: two files, one bit plane each (the first file the
// lower bit), holding 256 tiles of 8 bytes or, read the other way, 64 sprites of 32 bytes. A
// byte is a line of the board's horizontal raster, most significant bit first; the monitor is
// turned a quarter, so the sheets hold every tile and sprite turned: sheet pixel (x, y) is
// raster pixel y of raster line 7 - x (15 - x for sprites). Sprite lines 0-15 of the left half
// are bytes 0-15, those of the right half bytes 16-31.
#include "boards/graphics_decode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vortastr::scramble {

// Where a sheet pixel's bits lie in each plane file.
struct RomBit {
    std::size_t byte;
    int bit; // 7 = most significant
};
RomBit tileBit(int tile, int x, int y);
RomBit spriteBit(int sprite, int x, int y);

std::vector<uint8_t> decodeTileImage(const GraphicsInputs& in, int blocks);
std::vector<uint8_t> decodeSpriteImage(const GraphicsInputs& in, int blocks);

} // namespace vortastr::scramble
