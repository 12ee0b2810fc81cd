#include "boards/graphics_decode.h"

#include "boards/rom_files.h"
#include "boards/scramble/scramble_graphics.h"

#include <algorithm>

namespace vortastr {
namespace {

constexpr int kWidth = 128;

inline int bit(uint8_t value, int n) { return (value >> n) & 1; }

struct Image {
    std::vector<uint8_t> pixels;
    void put(int x, int y, int pen)
    {
        const std::size_t at = std::size_t(y) * kWidth + std::size_t(x);
        if (x >= 0 && x < kWidth && at < pixels.size())
            pixels[at] = static_cast<uint8_t>(pen);
    }
};

// Byte i of input f, zero past its end or for an absent file.
inline uint8_t byteOf(const GraphicsInputs& in, int f, std::size_t i) { return i < in[f].size() ? in[f][i] : 0; }

std::size_t inputSize(const GraphicsInputs& in)
{
    std::size_t size = 0;
    for (const auto& file : in)
        size = std::max(size, file.size());
    return size;
}

int filesPresent(const GraphicsInputs& in)
{
    int count = 0;
    for (const auto& file : in)
        count += file.empty() ? 0 : 1;
    return count;
}

// Number of items of `itemBytes` bytes per file that fit both the files and the image.
int itemCount(const GraphicsInputs& in, std::size_t itemBytes, int blocks, int perBlock)
{
    return static_cast<int>(std::min<std::size_t>(inputSize(in) / itemBytes, std::size_t(blocks) * perBlock));
}

// One byte per plane gives 8 pixels, left pixel from bit 7; file k carries plane weight 2^k.
int planePen(const GraphicsInputs& in, std::size_t index, int x)
{
    return bit(byteOf(in, 0, index), 7 - x) + 2 * bit(byteOf(in, 1, index), 7 - x) +
           4 * bit(byteOf(in, 2, index), 7 - x) + 8 * bit(byteOf(in, 3, index), 7 - x);
}

// Two-file nibble planes: four pixels from byte A of the higher-weighted file and B of the other.
int nibblePairPen(uint8_t a, uint8_t b, int x)
{
    return 8 * bit(a, 3 - x) + 4 * bit(a, 7 - x) + 2 * bit(b, 3 - x) + bit(b, 7 - x);
}

void planeTiles(const GraphicsInputs& in, int blocks, Image& out)
{
    const int tiles = itemCount(in, 8, blocks, 256);
    for (int t = 0; t < tiles; ++t)
        for (int r = 0; r < 8; ++r)
            for (int x = 0; x < 8; ++x)
                out.put((t % 16) * 8 + x, (t / 16) * 8 + r, planePen(in, std::size_t(8 * t + r), x));
}

void planeSprites(const GraphicsInputs& in, int blocks, Image& out)
{
    const int sprites = itemCount(in, 32, blocks, 64);
    for (int s = 0; s < sprites; ++s)
        for (int b = 0; b < 32; ++b) {
            const int column = b < 16 ? 0 : 8;
            const int row = b % 16;
            for (int x = 0; x < 8; ++x)
                out.put((s % 8) * 16 + column + x, (s / 8) * 16 + row, planePen(in, std::size_t(32 * s + b), x));
        }
}

// Characters of Hyper Sports: 16 bytes per tile, bytes 0-7 the left and 8-15 the right half.
void nibblePairTiles(const GraphicsInputs& in, int blocks, Image& out)
{
    const int tiles = itemCount(in, 16, blocks, 256);
    for (int t = 0; t < tiles; ++t)
        for (int k = 0; k < 16; ++k) {
            const std::size_t i = std::size_t(16 * t + k);
            for (int j = 0; j < 4; ++j)
                out.put((t % 16) * 8 + (k / 8) * 4 + j, (t / 16) * 8 + k % 8,
                        nibblePairPen(byteOf(in, 1, i), byteOf(in, 0, i), j));
        }
}

// The same turned a quarter: byte k is column k % 8, bytes 0-7 rows 7-4 and 8-15 rows 3-0.
void nibblePairRotatedTiles(const GraphicsInputs& in, int blocks, Image& out)
{
    const int tiles = itemCount(in, 16, blocks, 256);
    for (int t = 0; t < tiles; ++t)
        for (int k = 0; k < 16; ++k) {
            const std::size_t i = std::size_t(16 * t + k);
            const int topRow = k < 8 ? 7 : 3;
            for (int j = 0; j < 4; ++j)
                out.put((t % 16) * 8 + k % 8, (t / 16) * 8 + topRow - j,
                        nibblePairPen(byteOf(in, 1, i), byteOf(in, 0, i), j));
        }
}

void nibblePairSprites(const GraphicsInputs& in, int blocks, bool aFromFirstFile, Image& out)
{
    const int a = aFromFirstFile ? 0 : 1;
    const int sprites = itemCount(in, 64, blocks, 64);
    for (int s = 0; s < sprites; ++s)
        for (int b = 0; b < 64; ++b) {
            const std::size_t i = std::size_t(64 * s + b);
            const int row = (b / 32) * 8 + b % 8;
            const int column = ((b % 32) / 8) * 4;
            for (int j = 0; j < 4; ++j)
                out.put((s % 8) * 16 + column + j, (s / 8) * 16 + row,
                        nibblePairPen(byteOf(in, a, i), byteOf(in, 1 - a, i), j));
        }
}

// One file, 32 bytes per tile, 4 bytes per row, high nibble the left pixel.
void packedTiles(const GraphicsInputs& in, int blocks, Image& out)
{
    const int tiles = itemCount(in, 32, blocks, 256);
    for (int t = 0; t < tiles; ++t)
        for (int b = 0; b < 32; ++b) {
            const uint8_t v = byteOf(in, 0, std::size_t(32 * t + b));
            const int x = (t % 16) * 8 + (b % 4) * 2, y = (t / 16) * 8 + b / 4;
            out.put(x, y, v >> 4);
            out.put(x + 1, y, v & 15);
        }
}

// Packed nibbles turned a quarter: byte b is column 7 - b/4, rows 2(b%4) (high) and +1 (low).
void packedRotatedTiles(const GraphicsInputs& in, int blocks, Image& out)
{
    const int tiles = itemCount(in, 32, blocks, 256);
    for (int t = 0; t < tiles; ++t)
        for (int b = 0; b < 32; ++b) {
            const uint8_t v = byteOf(in, 0, std::size_t(32 * t + b));
            const int x = (t % 16) * 8 + 7 - b / 4, y = (t / 16) * 8 + 2 * (b % 4);
            out.put(x, y, v >> 4);
            out.put(x, y + 1, v & 15);
        }
}

// One file of 16 x 16 sprites, 128 bytes each, 8 bytes per row, high nibble the left pixel.
void packedSprites(const GraphicsInputs& in, int blocks, Image& out)
{
    const int sprites = itemCount(in, 128, blocks, 64);
    for (int s = 0; s < sprites; ++s)
        for (int b = 0; b < 128; ++b) {
            const uint8_t v = byteOf(in, 0, std::size_t(128 * s + b));
            const int x = (s % 8) * 16 + (b % 8) * 2, y = (s / 8) * 16 + b / 8;
            out.put(x, y, v >> 4);
            out.put(x + 1, y, v & 15);
        }
}

// Crystal Castles: 8 x 16 sprites, 16 per band; row r from bytes 2r (pixels 0-3) and 2r+1.
void crystalCastlesSprites(const GraphicsInputs& in, int blocks, Image& out)
{
    const int sprites = itemCount(in, 32, blocks, 128);
    for (int s = 0; s < sprites; ++s)
        for (int r = 0; r < 16; ++r)
            for (int x = 0; x < 8; ++x) {
                const std::size_t i = std::size_t(32 * s + 2 * r + x / 4);
                const uint8_t a = byteOf(in, 0, i), b = byteOf(in, 1, i);
                const int m = 3 - (x % 4);
                out.put((s % 16) * 8 + x, (s / 16) * 16 + r,
                        bit(a, m) + 2 * bit(a, m + 4) + 4 * bit(b, m) + 8 * bit(b, m + 4));
            }
}

Image emptyImage(int blocks)
{
    Image image;
    image.pixels.assign(std::size_t(std::max(blocks, 0)) * kBlockBytes, 0);
    return image;
}

std::optional<GraphicsInputs> readInputs(const RomList& files, uint32_t fileSize)
{
    GraphicsInputs in;
    for (std::size_t f = 0; f < files.size() && f < in.size(); ++f) {
        if (files[f].empty())
            continue;
        RomFile file = openRom(files[f]);
        if (!file)
            return std::nullopt;
        in[f].assign(fileSize, 0);
        readRom(file.get(), in[f].data(), fileSize);
    }
    return in;
}

} // namespace

std::vector<uint8_t> decodeCharacterImage(GameId game, const GraphicsInputs& in, int blocks)
{
    Image out = emptyImage(blocks);
    if (isIremV30(game)) {
        planeTiles(in, blocks, out);
        return std::move(out.pixels);
    }
    switch (game) {
    case IronHorse:
    case HyperSports:
    case ShaolinsRoad: nibblePairTiles(in, blocks, out); break;
    case RockNRope:
    case RopeMan:
    case RoadFighters: nibblePairRotatedTiles(in, blocks, out); break;
    case TrackNField:
    case JailBreak:
    case WhizQuiz: packedTiles(in, blocks, out); break;
    case CircusCharlie:
    case CircusCharlie2:
    case MegaZone: packedRotatedTiles(in, blocks, out); break;
    case Tazmania:
    case Scramble:
    case SuperBond: return scramble::decodeTileImage(in, blocks);
    default:
        // The remaining boards use the usual layouts of their kind: one file of packed 4-bit
        // pixels, or one bit plane per file (the first file the lowest plane).
        if (filesPresent(in) == 1 && !in[0].empty() && game != Tank && game != Vanguard)
            packedTiles(in, blocks, out);
        else
            planeTiles(in, blocks, out);
        break;
    }
    return std::move(out.pixels);
}

std::vector<uint8_t> decodeSpriteImage(GameId game, const GraphicsInputs& in, int blocks)
{
    Image out = emptyImage(blocks);
    if (isIremV30(game)) {
        planeSprites(in, blocks, out);
        return std::move(out.pixels);
    }
    switch (game) {
    case CrystalCastles: crystalCastlesSprites(in, blocks, out); break;
    case TrackNField:
    case WhizQuiz:
    case RockNRope: // the same object hardware as Track'n'Field: four bits a pixel in two files
    case RopeMan:
    case MegaZone:
    case ShaolinsRoad: nibblePairSprites(in, blocks, true, out); break;
    case HyperSports: nibblePairSprites(in, blocks, false, out); break;
    case IronHorse: nibblePairSprites(in, blocks, true, out); break;
    case Tazmania:
    case Scramble:
    case SuperBond: return scramble::decodeSpriteImage(in, blocks);
    default:
        // As for the characters: packed 4-bit pixels from one file, else one plane per file.
        if (filesPresent(in) == 1 && !in[0].empty())
            packedSprites(in, blocks, out);
        else
            planeSprites(in, blocks, out);
        break;
    }
    return std::move(out.pixels);
}

std::optional<std::vector<uint8_t>> decodeCharacters(GameId game, const RomList& files, uint32_t fileSize, int blocks)
{
    auto in = readInputs(files, fileSize);
    if (!in)
        return std::nullopt;
    return decodeCharacterImage(game, *in, blocks);
}

std::optional<std::vector<uint8_t>> decodeSprites(GameId game, const RomList& files, uint32_t fileSize, int blocks)
{
    auto in = readInputs(files, fileSize);
    if (!in)
        return std::nullopt;
    return decodeSpriteImage(game, *in, blocks);
}

} // namespace vortastr
