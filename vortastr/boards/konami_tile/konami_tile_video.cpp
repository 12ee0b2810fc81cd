#include "boards/konami_tile/konami_tile_video.h"

#include "boards/konami_tile/mega_zone_board.h"
#include "boards/konami_tile/shaolin_board.h"

#include "video/graphics_sheet.h"

#include <algorithm>

namespace vortastr::konamiTile {
namespace {

// Where the boards keep their video RAM (addresses of the main processor). Track'n'Field:
// video RAM 0x3000 with its colour RAM at 0x3800, object RAM in two halves at 0x1800 and
// 0x1C00 with the row scroll right after each half, as a published description of its main
// board lists them. The others are placed by what the boards' maps leave for them: Hyper
// Sports' tile RAM below its RAM at 0x3000 (scroll at 0x36C0) and its object RAM at 0x1000 in
// the handler pages; Rock'n'Rope's object RAM halves at 0x4000/0x4400 and its colour and video
// RAM at 0x4800/0x4C00; Circus Charlie's colour and video RAM at 0x3000/0x3400, the two sprite
// banks at 0x3800/0x3900 and the scroll byte at 0x1C00.
constexpr uint32_t kTrackFieldTiles = 0x3000;
constexpr uint32_t kTrackFieldSprites = 0x1800;
constexpr uint32_t kTrackFieldScroll = 0x1840;
constexpr uint32_t kHyperSportsTiles = 0x2000;
constexpr uint32_t kHyperSportsSprites = 0x1000;
constexpr uint32_t kHyperSportsScroll = 0x36C0;
constexpr uint32_t kRockNRopeTiles = 0x4C00; // colour RAM 0x4800
constexpr uint32_t kRockNRopeSprites = 0x4000;
constexpr uint32_t kCircusCharlieTiles = 0x3400; // colour RAM 0x3000
constexpr uint32_t kCircusCharlieSprites = 0x3800;
constexpr uint32_t kCircusCharlieScroll = 0x1C00;
constexpr uint32_t kCircusCharlieSpriteBank = 0x0005;

constexpr int kSpriteGroupBase = 16;

bool bit(uint8_t value, int n) { return (value >> n) & 1; }

int flips(bool x, bool y) { return (x ? DRAW_FLIP_X : 0) | (y ? DRAW_FLIP_Y : 0); }

// Draws the cell when its code or attribute changed since it was last drawn.
struct CellDrawer {
    const TileFrame& frame;
    Background& background;

    void cell(std::size_t index, uint8_t code, uint8_t attr, int x, int y, int tile, int flipFlags) const
    {
        if (cellChanged(background, index, code, attr))
            drawTile(background, x, y, frame.tiles, tile, flipFlags, attr & 15, *frame.colours, frame.video->layout);
    }
};

const uint8_t* tileRam(const TileFrame& f) { return f.memory + f.video->layout.tileRamOffset; }

// 64 x 32 map, code at row x 64 + col and attribute 0x800 above.
void trackFieldTiles(const TileFrame& f, int lastRow, bool hyperSports)
{
    const CellDrawer draw{f, f.video->background};
    const uint8_t* ram = tileRam(f);
    for (int row = 2; row <= lastRow; ++row)
        for (int col = 0; col < 64; ++col) {
            const std::size_t at = std::size_t(row * 64 + col);
            const uint8_t c = ram[at], m = ram[at + 0x800];
            const int tile = hyperSports ? c + 256 * (m >> 7) + 512 * ((m >> 6) & 1) : c + 256 * (m >> 6);
            draw.cell(at, c, m, 8 * col, 8 * row, tile, flips(bit(m, 4), bit(m, 5)));
        }
}

// Columns from x = 248 leftwards, 28 cells each from the top, 32 bytes apart, from byte 64.
void rockNRopeTiles(const TileFrame& f)
{
    const CellDrawer draw{f, f.video->background};
    const uint8_t* ram = tileRam(f);
    for (int k = 0; k < 32; ++k)
        for (int j = 0; j < 28; ++j) {
            const std::size_t at = std::size_t(64 + k + 32 * j);
            const uint8_t c = ram[at], m = ram[std::ptrdiff_t(at) - 0x400];
            draw.cell(at, c, m, 248 - 8 * k, 8 * j, c + 256 * (m >> 7), flips(bit(m, 5), bit(m, 6)));
        }
}

// Column i from x = 248 leftwards, cell r of it at r + 32 i; the corners of the top ten rows
// (the fixed status area's edges) are left as they are.
void circusCharlieTiles(const TileFrame& f)
{
    const CellDrawer draw{f, f.video->background};
    const uint8_t* ram = tileRam(f);
    for (int i = 0; i < 32; ++i)
        for (int r = 0; r < 32; ++r) {
            if (r < 10 && (i < 2 || i >= 30))
                continue;
            const std::size_t at = std::size_t(r + 32 * i);
            const uint8_t c = ram[at], m = ram[std::ptrdiff_t(at) - 0x400];
            draw.cell(at, c, m, 248 - 8 * i, 8 * r, c + 256 * ((m >> 5) & 1), flips(bit(m, 7), bit(m, 6)));
        }
}

// Rows 2 to 29 scrolled by a 9-bit value each; rows with equal values are copied as one band,
// background line 8 r to screen line 8 r - 16.
template <typename RowScroll>
void rowScrollCopy(const TileFrame& f, RowScroll scrollOf)
{
    TileVideo& v = *f.video;
    DrawSurface screen = f.screen;
    int row = 2;
    while (row <= 29) {
        const int scroll = scrollOf(row);
        int last = row;
        while (last < 29 && scrollOf(last + 1) == scroll)
            ++last;
        copyScrolledBand(screen, v.background, 8 * row, 8 * row - 16, 8 * (last - row + 1), scroll, 256, *f.colours,
                         v.layout);
        row = last + 1;
    }
}

// The top 80 lines stand still; the rest scroll right by the scroll byte (0: not at all).
void circusCharlieScroll(const TileFrame& f)
{
    TileVideo& v = *f.video;
    DrawSurface screen = f.screen;
    const int ch = v.layout.scrollRam ? v.layout.scrollRam[0] : 0;
    copyScrolledBand(screen, v.background, 0, 0, 80, 0, 256, *f.colours, v.layout);
    copyScrolledBand(screen, v.background, 80, 80, 176, ch == 0 ? 0 : 255 - ch, 256, *f.colours, v.layout);
}

void plainCopy(const TileFrame& f)
{
    TileVideo& v = *f.video;
    DrawSurface screen = f.screen;
    copyRegion(screen, 0, 0, v.background.surface(), 0, 0, v.layout.screenCols * 8, v.layout.screenRows * 8, 0,
               *f.colours, v.layout);
}

void sprite(const TileFrame& f, int x, int y, int code, int flipFlags, int clip, int group)
{
    DrawSurface screen = f.screen;
    drawSprite(screen, x, y, f.sprites, code, flipFlags | clip, group, *f.colours, f.video->layout);
}

// 32 entries in two halves 0x400 apart, drawn from the last; also drawn 256 further left so a
// sprite leaving the right edge comes in on the left.
void trackFieldSprites(const TileFrame& f)
{
    const uint8_t* ram = f.video->layout.spriteRam;
    f.video->layout.setClipWindow(0, 0, 256, 256);
    for (int k = 31; k >= 0; --k) {
        const uint8_t* a = ram + 2 * k;
        const uint8_t* b = a + 0x400;
        const uint8_t attr = a[0], y = a[1], x = b[0], code = b[1];
        if (y == 0)
            continue;
        const int flip = flips(!bit(attr, 6), bit(attr, 7));
        const int group = (attr & 15) + kSpriteGroupBase;
        sprite(f, x - 1, 225 - y, code, flip, DRAW_CLIP_WINDOW, group);
        sprite(f, x - 257, 225 - y, code, flip, DRAW_CLIP_WINDOW, group);
    }
}

void hyperSportsSprites(const TileFrame& f)
{
    const uint8_t* ram = f.video->layout.spriteRam;
    for (int k = 47; k >= 0; --k) {
        const uint8_t* e = ram + 4 * k;
        const uint8_t attr = e[0], y = e[1], x = e[3];
        if (y == 0)
            continue;
        const int code = e[2] + 256 * ((attr >> 5) & 1);
        const int flip = flips(!bit(attr, 6), bit(attr, 7));
        const int group = (attr & 15) + kSpriteGroupBase;
        sprite(f, x - 1, 225 - y, code, flip, DRAW_CLIP_SURFACE, group);
        sprite(f, x - 257, 225 - y, code, flip, DRAW_CLIP_SURFACE, group);
    }
}

void rockNRopeSprites(const TileFrame& f)
{
    const uint8_t* ram = f.video->layout.spriteRam;
    f.video->layout.setClipWindow(0, 0, 224, 256);
    for (int k = 31; k >= 0; --k) {
        const uint8_t* a = ram + 2 * k;
        const uint8_t* b = a + 0x400;
        const uint8_t attr = a[0], x = a[1], y = b[0], code = b[1];
        if (x == 0 || x == 255)
            continue;
        sprite(f, x - 17, y, code, flips(bit(attr, 7), !bit(attr, 6)), DRAW_CLIP_WINDOW,
               (attr & 15) + kSpriteGroupBase);
    }
}

void circusCharlieSprites(const TileFrame& f)
{
    const uint8_t* ram = f.video->layout.spriteRam;
    if (!(f.memory[kCircusCharlieSpriteBank] & 1))
        ram += 256;
    f.video->layout.setClipWindow(0, 80, 256, 256);
    for (int k = 0; k < 64; ++k) {
        const uint8_t* e = ram + 4 * k;
        const uint8_t attr = e[1], y = e[2], x = e[3];
        if ((x == 0 && y == 0) || x <= 7)
            continue;
        sprite(f, 239 - x, y, e[0] + 256 * ((attr >> 5) & 1), flips(bit(attr, 7), bit(attr, 6)), DRAW_CLIP_WINDOW,
               (attr & 15) + kSpriteGroupBase);
    }
}

struct LayoutRow {
    uint32_t tiles;
    int32_t scroll; // -1: none
    uint32_t sprites;
    int cols, rows;
};

LayoutRow layoutOf(GameId game)
{
    switch (game) {
    case TrackNField:
    case WhizQuiz: return {kTrackFieldTiles, kTrackFieldScroll, kTrackFieldSprites, 32, 28};
    case HyperSports: return {kHyperSportsTiles, kHyperSportsScroll, kHyperSportsSprites, 32, 28};
    case RockNRope:
    case RopeMan: return {kRockNRopeTiles, -1, kRockNRopeSprites, 28, 32};
    case CircusCharlie:
    case CircusCharlie2: return {kCircusCharlieTiles, kCircusCharlieScroll, kCircusCharlieSprites, 32, 32};
    case MegaZone: return {megaZonePort::kVideoRam, megaZonePort::kScrollY, megaZonePort::kSpriteRam, 32, 32};
    case ShaolinsRoad: return {shaolinPort::kVideoRam, -1, shaolinPort::kSpriteRam, 32, 32};
    default: return {0, -1, 0, 32, 32};
    }
}

} // namespace

TileMapSize mapSize(GameId game)
{
    switch (game) {
    case TrackNField:
    case WhizQuiz:
    case HyperSports: return {512, 256};
    default: return {256, 256};
    }
}

bool setUpVideo(GameId game, const uint8_t* memory, TileVideo& video)
{
    const LayoutRow row = layoutOf(game);
    VideoLayout& layout = video.layout;
    layout = VideoLayout{};
    layout.tileRamOffset = row.tiles;
    layout.scrollRam = memory && row.scroll >= 0 ? memory + row.scroll : nullptr;
    layout.spriteRam = memory ? memory + row.sprites : nullptr;
    layout.screenCols = row.cols;
    layout.screenRows = row.rows;
    const TileMapSize size = mapSize(game);
    return createBackground(video, size.width, size.height);
}

void updateBackground(const TileFrame& f)
{
    switch (f.game) {
    case TrackNField:
    case WhizQuiz: trackFieldTiles(f, 29, false); break;
    case HyperSports: trackFieldTiles(f, 31, true); break;
    case RockNRope:
    case RopeMan: rockNRopeTiles(f); break;
    case CircusCharlie:
    case CircusCharlie2: circusCharlieTiles(f); break;
    case MegaZone: turnedMapTiles(f, 0x800, true); break;
    case ShaolinsRoad: shaolinTiles(f); break;
    default: break;
    }
}

void copyBackground(const TileFrame& f)
{
    const uint8_t* s = f.video->layout.scrollRam;
    if (!s)
        return plainCopy(f);
    switch (f.game) {
    case TrackNField:
    case WhizQuiz: rowScrollCopy(f, [s](int r) { return s[r] | (s[r + 0x400] & 1) << 8; }); break;
    case HyperSports: rowScrollCopy(f, [s](int r) { return s[2 * r] | (s[2 * r + 1] & 1) << 8; }); break;
    case CircusCharlie:
    case CircusCharlie2: circusCharlieScroll(f); break;
    case MegaZone: megaZoneScroll(f); break;
    default: plainCopy(f); break;
    }
}

void drawSprites(const TileFrame& f)
{
    if (!f.video->layout.spriteRam)
        return;
    switch (f.game) {
    case TrackNField:
    case WhizQuiz: trackFieldSprites(f); break;
    case HyperSports: hyperSportsSprites(f); break;
    case RockNRope:
    case RopeMan: rockNRopeSprites(f); break;
    case CircusCharlie:
    case CircusCharlie2: circusCharlieSprites(f); break;
    case MegaZone: megaZoneSprites(f); break;
    case ShaolinsRoad: shaolinSprites(f); break;
    default: break;
    }
}

void render(DisplayState& display, const ColourTables& colours, const Board& board)
{
    TileVideo& video = tileVideo();
    const uint8_t* memory = board.data();
    if (display.suspended || !memory || display.screen.empty())
        return;
    // Video set up for another board (another game, or a board set up since) is set up again
    // for this one, so the renderer never reads through pointers into memory that is gone.
    if (video.layout.spriteRam != memory + layoutOf(board.game).sprites && !setUpVideo(board.game, memory, video))
        return;
    if (video.background.empty())
        return;
    video.layout.setClipWindow(0, 0, 0, 0);
    const GraphicsSheets& sheets = graphicsSheets();
    const TileFrame frame{board.game,
                          memory,
                          describeSurface(display.screen),
                          viewOf(sheets.tileSheet.get()),
                          viewOf(sheets.spriteSheet.get()),
                          &colours,
                          &video};
    updateBackground(frame);
    copyBackground(frame);
    drawSprites(frame);
}

void resetCaches() { resetTileCaches(tileVideo()); }

} // namespace vortastr::konamiTile
