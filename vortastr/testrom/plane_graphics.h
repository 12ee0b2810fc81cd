#pragma once
// Encodes pictures drawn in pens into the bit-plane layouts of tile and sprite ROMs. A layout
// names, for one tile, the bit offset of every pen bit (plane), column and row; bit offset n
// is bit 7 - n % 8 of byte n / 8, the way graphics chips shift bytes out most significant bit
// first. Tiles follow each other `tileBits` apart; planes kept in separate regions of the ROM
// (one per chip) simply have plane offsets past the tile.
#include <cstdint>
#include <vector>

namespace vortastr::testrom {

// One pen per pixel, row by row.
struct PenImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pens;

    uint8_t pen(int x, int y) const { return pens[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

struct PlaneLayout {
    int width = 8;
    int height = 8;
    std::vector<uint32_t> planeBits; // planeBits[i]: where bit i of the pen goes
    std::vector<uint32_t> columnBits;
    std::vector<uint32_t> rowBits;
    uint32_t tileBits = 0;
};

// The image cut into tiles left to right, then top to bottom, each encoded by the layout.
// Throws std::invalid_argument when the image is not whole tiles, the layout's tables do not
// match its size, or a pen has bits the planes cannot hold.
std::vector<uint8_t> encodeTiles(const PenImage& image, const PlaneLayout& layout);

// Offsets start, start + step, ... (count of them), for building layouts.
std::vector<uint32_t> bitSteps(uint32_t start, uint32_t step, int count);

} // namespace vortastr::testrom
