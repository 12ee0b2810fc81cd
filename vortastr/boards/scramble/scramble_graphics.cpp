#include "boards/scramble/scramble_graphics.h"

#include <algorithm>

namespace vortastr::scramble {
namespace {

constexpr int kTileBytes = 8;
constexpr int kSpriteBytes = 32;
constexpr int kSheetWidth = 128;

int penAt(const GraphicsInputs& in, RomBit at)
{
    int pen = 0;
    for (int plane = 0; plane < 2; ++plane)
        if (at.byte < in[std::size_t(plane)].size())
            pen |= ((in[std::size_t(plane)][at.byte] >> at.bit) & 1) << plane;
    return pen;
}

std::size_t planeBytes(const GraphicsInputs& in) { return std::max(in[0].size(), in[1].size()); }

} // namespace

RomBit tileBit(int tile, int x, int y) { return {std::size_t(tile * kTileBytes + 7 - x), 7 - y}; }

RomBit spriteBit(int sprite, int x, int y)
{
    return {std::size_t(sprite * kSpriteBytes + (y < 8 ? 0 : 16) + 15 - x), 7 - y % 8};
}

std::vector<uint8_t> decodeTileImage(const GraphicsInputs& in, int blocks)
{
    std::vector<uint8_t> image(std::size_t(std::max(blocks, 0)) * kBlockBytes, 0);
    const int tiles = static_cast<int>(std::min<std::size_t>(planeBytes(in) / kTileBytes, std::size_t(blocks) * 256));
    for (int t = 0; t < tiles; ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                image[std::size_t(((t >> 4) * 8 + y) * kSheetWidth + (t & 15) * 8 + x)] =
                    static_cast<uint8_t>(penAt(in, tileBit(t, x, y)));
    return image;
}

std::vector<uint8_t> decodeSpriteImage(const GraphicsInputs& in, int blocks)
{
    std::vector<uint8_t> image(std::size_t(std::max(blocks, 0)) * kBlockBytes, 0);
    const int sprites =
        static_cast<int>(std::min<std::size_t>(planeBytes(in) / kSpriteBytes, std::size_t(blocks) * 64));
    for (int s = 0; s < sprites; ++s)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                image[std::size_t(((s >> 3) * 16 + y) * kSheetWidth + (s & 7) * 16 + x)] =
                    static_cast<uint8_t>(penAt(in, spriteBit(s, x, y)));
    return image;
}

} // namespace vortastr::scramble
