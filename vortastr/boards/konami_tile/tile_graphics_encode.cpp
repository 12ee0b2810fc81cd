#include "boards/konami_tile/tile_graphics_encode.h"

namespace vortastr::testrom {
namespace {

constexpr std::size_t kFileBytes = 0x2000;

void setBit(uint8_t& byte, int n, int value)
{
    if (value)
        byte = static_cast<uint8_t>(byte | (1u << n));
}

} // namespace

void putNibblePair(uint8_t& a, uint8_t& b, int j, int pen)
{
    setBit(a, 3 - j, (pen >> 3) & 1);
    setBit(a, 7 - j, (pen >> 2) & 1);
    setBit(b, 3 - j, (pen >> 1) & 1);
    setBit(b, 7 - j, pen & 1);
}

namespace {

// Packed nibbles, 32 bytes a tile, 4 a row, high nibble left.
std::vector<uint8_t> packedTiles(int firstTile)
{
    std::vector<uint8_t> file(kFileBytes, 0);
    for (int t = 0; t < 256; ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; x += 2)
                file[std::size_t(32 * t + 4 * y + x / 2)] =
                    static_cast<uint8_t>(tileArtPen(firstTile + t, x, y) << 4 | tileArtPen(firstTile + t, x + 1, y));
    return file;
}

// Packed nibbles turned: byte b is column 7 - b/4, rows 2(b%4) (high nibble) and +1 (low).
std::vector<uint8_t> packedTurnedTiles(int firstTile)
{
    std::vector<uint8_t> file(kFileBytes, 0);
    for (int t = 0; t < 256; ++t)
        for (int b = 0; b < 32; ++b) {
            const int x = 7 - b / 4, y = 2 * (b % 4);
            file[std::size_t(32 * t + b)] =
                static_cast<uint8_t>(tileArtPen(firstTile + t, x, y) << 4 | tileArtPen(firstTile + t, x, y + 1));
        }
    return file;
}

// Nibble-plane tiles, 16 bytes a tile: bytes 0-7 the left half's rows, 8-15 the right half's
// (turned: byte k is column k % 8, rows 7-4 for k < 8 and 3-0 after).
void nibbleTiles(std::vector<uint8_t>& a, std::vector<uint8_t>& b, int firstTile, bool turned)
{
    for (int t = 0; t < 512; ++t)
        for (int k = 0; k < 16; ++k) {
            const std::size_t i = std::size_t(16 * t + k);
            for (int j = 0; j < 4; ++j) {
                const int x = turned ? k % 8 : (k / 8) * 4 + j;
                const int y = turned ? (k < 8 ? 7 : 3) - j : k % 8;
                putNibblePair(a[i], b[i], j, tileArtPen(firstTile + t, x, y));
            }
        }
}

// Nibble-plane sprites, 64 bytes a sprite: bytes 0-31 rows 0-7, 32-63 rows 8-15, each eight
// bytes four columns further right.
void nibbleSprites(std::vector<uint8_t>& a, std::vector<uint8_t>& b, int firstSprite)
{
    for (int s = 0; s < 128; ++s)
        for (int k = 0; k < 64; ++k) {
            const std::size_t i = std::size_t(64 * s + k);
            const int y = (k / 32) * 8 + k % 8, x = ((k % 32) / 8) * 4;
            for (int j = 0; j < 4; ++j)
                putNibblePair(a[i], b[i], j, spriteArtPen(firstSprite + s, x + j, y));
        }
}

// Packed sprites, 128 bytes a sprite, 8 a row, high nibble left.
std::vector<uint8_t> packedSprites(int firstSprite)
{
    std::vector<uint8_t> file(kFileBytes, 0);
    for (int s = 0; s < 64; ++s)
        for (int b = 0; b < 128; ++b) {
            const int x = (b % 8) * 2, y = b / 8;
            file[std::size_t(128 * s + b)] = static_cast<uint8_t>(spriteArtPen(firstSprite + s, x, y) << 4 |
                                                                  spriteArtPen(firstSprite + s, x + 1, y));
        }
    return file;
}

std::vector<uint8_t> blank() { return std::vector<uint8_t>(kFileBytes, 0); }

} // namespace

RomImages encodeCharacters(TileBoard board)
{
    switch (board) {
    case TileBoard::TrackField: return {packedTiles(0), packedTiles(256), packedTiles(512)};
    case TileBoard::HyperSports: {
        RomImages files(4, blank());
        nibbleTiles(files[1], files[0], 0, false);
        nibbleTiles(files[3], files[2], 512, false);
        return files;
    }
    case TileBoard::RockNRope: {
        RomImages files(2, blank());
        nibbleTiles(files[1], files[0], 0, true);
        return files;
    }
    case TileBoard::CircusCharlie: return {packedTurnedTiles(0), packedTurnedTiles(256)};
    }
    return {};
}

RomImages encodeSprites(TileBoard board)
{
    switch (board) {
    case TileBoard::TrackField:
    case TileBoard::RockNRope: {
        RomImages files(4, blank());
        nibbleSprites(files[0], files[1], 0);
        nibbleSprites(files[2], files[3], 128);
        return files;
    }
    case TileBoard::HyperSports: {
        RomImages files(8, blank());
        for (int pair = 0; pair < 4; ++pair)
            nibbleSprites(files[std::size_t(2 * pair + 1)], files[std::size_t(2 * pair)], 128 * pair);
        return files;
    }
    case TileBoard::CircusCharlie: {
        RomImages files;
        for (int f = 0; f < 6; ++f)
            files.push_back(packedSprites(64 * f));
        return files;
    }
    }
    return {};
}

} // namespace vortastr::testrom
