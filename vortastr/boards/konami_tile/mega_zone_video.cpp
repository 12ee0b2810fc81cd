// MegaZone's and Shaolin's Road's tile, scroll and sprite routines over the shared pipeline.
#include "boards/konami_tile/mega_zone_board.h"
#include "boards/konami_tile/shaolin_board.h"

namespace vortastr::konamiTile {
namespace {

constexpr int kMapPixels = 256;

int flipsOf(bool x, bool y) { return (x ? DRAW_FLIP_X : 0) | (y ? DRAW_FLIP_Y : 0); }

} // namespace

void turnedMapTiles(const TileFrame& f, std::size_t attrDistance, bool flips)
{
    Background& background = f.video->background;
    const uint8_t* ram = f.memory + f.video->layout.tileRamOffset;
    for (int k = 0; k < 32; ++k)
        for (int j = 0; j < 32; ++j) {
            const std::size_t at = std::size_t(992 + j - 32 * k);
            const uint8_t c = ram[at], m = ram[at + attrDistance];
            if (!cellChanged(background, at, c, m))
                continue;
            const int flip = flips ? flipsOf(m & 0x20, m & 0x40) : 0;
            drawTile(background, 8 * k, 8 * j, f.tiles, c + 256 * (m >> 7), flip, m & 15, *f.colours, f.video->layout);
        }
}

void megaZoneScroll(const TileFrame& f)
{
    TileVideo& v = *f.video;
    const uint8_t c = v.layout.scrollRam[0];
    const uint8_t ch = v.layout.scrollRam[megaZonePort::kScrollX - megaZonePort::kScrollY];
    const bool still = c == 0 && ch == 0;
    const int dx = still ? 0 : ch, dy = still ? 0 : 255 - c;
    // Four rectangles: background (0, 0) to screen (dx, dy); what passes the right or bottom
    // edge comes in at the left or top.
    DrawSurface screen = f.screen;
    const DrawSurface source = v.background.surface();
    const int w = kMapPixels - dx, h = kMapPixels - dy;
    const struct {
        int sx, sy, x, y, w, h;
    } parts[] = {{0, 0, dx, dy, w, h}, {w, 0, 0, dy, dx, h}, {0, h, dx, 0, w, dy}, {w, h, 0, 0, dx, dy}};
    for (const auto& p : parts)
        if (p.w > 0 && p.h > 0)
            copyRegion(screen, p.x, p.y, source, p.sx, p.sy, p.w, p.h, 0, *f.colours, v.layout);
}

// 64 entries drawn from the last, so the first lies on top.
void megaZoneSprites(const TileFrame& f)
{
    const uint8_t* ram = f.video->layout.spriteRam;
    DrawSurface screen = f.screen;
    for (int k = 63; k >= 0; --k) {
        const uint8_t* e = ram + 4 * k;
        const uint8_t attr = e[0], x = e[1], code = e[2], y = e[3];
        if (x == 0 || y <= 16)
            continue;
        drawSprite(screen, x, y, f.sprites, code + 256 * (attr >> 7),
                   flipsOf(attr & 0x10, attr & 0x20) | DRAW_CLIP_SURFACE, attr & 15, *f.colours, f.video->layout);
    }
}

void shaolinTiles(const TileFrame& f) { turnedMapTiles(f, 0x400, false); }

void shaolinSprites(const TileFrame& f)
{
    const uint8_t* ram = f.video->layout.spriteRam;
    const int bank = f.memory[shaolinPort::kSpriteBank] & 3;
    DrawSurface screen = f.screen;
    f.video->layout.setClipWindow(0, 0, 256, 256);
    for (int k = 0; k < 8; ++k) {
        const uint8_t* e = ram + 4 * k;
        const uint8_t x = e[0], codeFlags = e[1], colour = e[2], y = e[3];
        if (x == 0 || y == 0)
            continue;
        drawSprite(screen, x, y, f.sprites, (codeFlags & 63) + 64 * bank,
                   flipsOf(codeFlags & 0x80, codeFlags & 0x40) | DRAW_CLIP_WINDOW, colour & 7, *f.colours,
                   f.video->layout);
    }
}

} // namespace vortastr::konamiTile
