#include "boards/scramble/scramble_video.h"

#include "boards/scramble/scramble_board.h"

#include <cstring>

namespace vortastr::scramble {
namespace {

constexpr int kTileSize = 8;
constexpr int kSpriteSize = 16;
constexpr int kSprites = 8;
constexpr int kShots = 8;
constexpr int kEntryBytes = 4;
constexpr int kShotBase = 248; // a shot's row is this minus its y byte
constexpr int kFiveShotPixels = 5;
constexpr uint8_t kWhite8 = 0xFF; // the last hardware palette entry
constexpr uint16_t kWhite16 = 0xFFFF;
constexpr int kColourGroupMask = 7;

// Pen p of colour group g as a logical colour.
uint8_t logical(const ColourTables& colours, int group, int pen)
{
    return colours.colourLookup ? colours.colourLookup[std::size_t(group * 64 + pen)] : static_cast<uint8_t>(pen);
}

// The pen at (x, y) of a sheet; 0 outside it.
uint8_t sheetPen(const GraphicsSheet* sheet, int x, int y)
{
    if (!sheet || x < 0 || x >= kSheetWidth || y < 0 || y >= sheet->lines())
        return 0;
    return sheet->line(y)[x];
}

// Writes logical colour v at (x, y) of the screen in its own format.
class ScreenWriter {
public:
    ScreenWriter(ScreenSurface& screen, const ColourTables& colours)
        : pixels_(screen.pixels()), pitch_(screen.pitch()), wide_(screen.format() != PixelFormat::Indexed8),
          width_(std::min(screen.width(), kScreenSize)), height_(std::min(screen.height(), kScreenSize)),
          colours_(colours), colour16_(colours.colour16[std::size_t(colours.bank & 1)])
    {}
    bool inside(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
    void logical(int x, int y, uint8_t value)
    {
        if (!inside(x, y))
            return;
        if (wide_)
            raw16(x, y, colour16_[value]);
        else
            pixels_[std::ptrdiff_t(y) * pitch_ + x] = colours_.index8[value];
    }
    void white(int x, int y)
    {
        if (!inside(x, y))
            return;
        if (wide_)
            raw16(x, y, kWhite16);
        else
            pixels_[std::ptrdiff_t(y) * pitch_ + x] = kWhite8;
    }
    int height() const { return height_; }
    int width() const { return width_; }

private:
    void raw16(int x, int y, uint16_t value) { std::memcpy(pixels_ + std::ptrdiff_t(y) * pitch_ + 2 * x, &value, 2); }
    uint8_t* pixels_;
    int pitch_;
    bool wide_;
    int width_, height_;
    const ColourTables& colours_;
    const std::array<uint16_t, 256>& colour16_;
};

void drawTile(BackgroundCache& cache, const GraphicsSheet* sheet, int tile, int group, int left, int top,
              const ColourTables& colours)
{
    const int sx = (tile & 15) * kTileSize, sy = (tile >> 4) * kTileSize;
    for (int y = 0; y < kTileSize; ++y) {
        uint8_t* row = cache.pixels.data() + std::size_t(top + y) * kScreenSize + std::size_t(left);
        for (int x = 0; x < kTileSize; ++x)
            row[x] = logical(colours, group, sheetPen(sheet, sx + x, sy + y));
    }
}

} // namespace

VideoLayout videoLayoutOf(GameId game)
{
    const ScrambleMap& m = mapOf(game);
    VideoLayout layout;
    layout.tileRam = m.tileRam;
    layout.attributeRam = m.attributeRam;
    layout.spriteRam = static_cast<uint16_t>(m.attributeRam + kSpriteRamOffset);
    layout.shotRam = static_cast<uint16_t>(m.attributeRam + kShotRamOffset);
    layout.shots = game == Scramble ? ShotStyle::FivePixels : ShotStyle::OnePixel;
    return layout;
}

void BackgroundCache::reset()
{
    pixels.fill(0);
    tiles.fill(0xFFFF); // no tile number is this large: every cell is drawn next time
    colourRecord.fill(0xFF);
}

BackgroundCache& backgroundCache()
{
    static BackgroundCache cache;
    return cache;
}

int updateBackground(BackgroundCache& cache, const VideoInputs& in, const ColourTables& colours)
{
    if (!in.memory)
        return 0;
    const uint8_t* tileRam = in.memory + in.layout.tileRam;
    const uint8_t* attributes = in.memory + in.layout.attributeRam;
    int drawn = 0;
    for (int i = 0; i < kColumns; ++i) {
        const uint8_t group = attributes[2 * i + 1] & kColourGroupMask;
        const bool recolour = group != cache.colourRecord[std::size_t(i)];
        for (int k = 0; k < kColumns; ++k) {
            const uint16_t tile = static_cast<uint16_t>(tileRam[992 + i - 32 * k] + 256 * (in.tileBank & 1));
            uint16_t& cached = cache.tiles[std::size_t(i * kColumns + k)];
            if (!recolour && cached == tile)
                continue;
            drawTile(cache, in.tiles, tile, group, kTileSize * k, kTileSize * i, colours);
            cached = tile;
            ++drawn;
        }
        cache.colourRecord[std::size_t(i)] = group;
    }
    return drawn;
}

void copyBands(ScreenSurface& screen, const BackgroundCache& cache, const uint8_t* attributeRam,
               const ColourTables& colours)
{
    ScreenWriter out(screen, colours);
    for (int i = 0; i < kColumns; ++i) {
        const uint8_t s = attributeRam[2 * i];
        const int shift = s == kUnshifted ? 0 : s;
        for (int y = kTileSize * i; y < kTileSize * (i + 1); ++y) {
            const uint8_t* row = cache.pixels.data() + std::size_t(y) * kScreenSize;
            for (int x = 0; x < kScreenSize; ++x)
                out.logical((x + shift) & (kScreenSize - 1), y, row[x]);
        }
    }
}

void drawShots(ScreenSurface& screen, const uint8_t* shotRam, ShotStyle style)
{
    ColourTables unused;
    ScreenWriter out(screen, unused);
    const int length = style == ShotStyle::FivePixels ? kFiveShotPixels : 1;
    for (int n = 0; n < kShots; ++n) {
        const uint8_t* entry = shotRam + kEntryBytes * n;
        const int c = entry[1], y = entry[3];
        if (c == 0 || y == 0)
            continue;
        const int r = kShotBase - y;
        if (r < 0)
            continue;
        for (int d = 0; d < length; ++d)
            out.white(c + d, r); // past the right edge nothing is written
    }
}

void drawSprites(ScreenSurface& screen, const VideoInputs& in, const ColourTables& colours)
{
    if (!in.memory)
        return;
    ScreenWriter out(screen, colours);
    const uint8_t* ram = in.memory + in.layout.spriteRam;
    for (int n = 0; n < kSprites; ++n) {
        const uint8_t* entry = ram + kEntryBytes * n;
        const int x = entry[0], y = entry[3];
        if (x == 0 || y == 0)
            continue;
        const int sprite = (entry[1] & 63) + 64 * in.spriteBank;
        const bool flipX = entry[1] & 0x80, flipY = entry[1] & 0x40;
        const int group = entry[2] & kColourGroupMask;
        const int sx = (sprite & 7) * kSpriteSize, sy = (sprite >> 3) * kSpriteSize;
        for (int dy = 0; dy < kSpriteSize; ++dy) {
            const int py = flipY ? kSpriteSize - 1 - dy : dy;
            for (int dx = 0; dx < kSpriteSize; ++dx) {
                const int px = flipX ? kSpriteSize - 1 - dx : dx;
                const uint8_t value = logical(colours, group, sheetPen(in.sprites, sx + px, sy + py));
                if (value != 0)
                    out.logical(x + dx, y + dy, value); // the window is the 256 x 256 screen
            }
        }
    }
}

void renderFrame(ScreenSurface& screen, BackgroundCache& cache, const VideoInputs& in, const ColourTables& colours)
{
    if (!in.memory || screen.empty())
        return;
    updateBackground(cache, in, colours);
    copyBands(screen, cache, in.memory + in.layout.attributeRam, colours);
    drawShots(screen, in.memory + in.layout.shotRam, in.layout.shots);
    drawSprites(screen, in, colours);
}

void render(DisplayState& display, const ColourTables& colours, const Board& board)
{
    VideoInputs in;
    in.memory = board.data();
    in.layout = videoLayoutOf(board.game);
    in.tileBank = board.family.scramble.tileBank;
    in.spriteBank = board.family.scramble.spriteBank;
    in.tiles = graphicsSheets().tileSheet.get();
    in.sprites = graphicsSheets().spriteSheet.get();
    renderFrame(display.screen, backgroundCache(), in, colours);
}

} // namespace vortastr::scramble
