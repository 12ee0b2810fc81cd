#pragma once
// The shared machinery of the tile-and-sprite boards: 8 x 8 tiles are drawn into an off-screen
// 8-bit background only where a map cell changed (two caches, one entry per cell), the visible
// part of the background is copied to the screen with the board's scrolling, and 16 x 16
// sprites are drawn straight onto the screen.
//
// Values: on a graphics sheet a pixel is a pen (0-15); drawGraphic turns it into a logical
// colour through the colour lookup table (group x 64 + pen) and then into the destination's
// pixel: index8[colour] for an 8-bit destination (the background holds these, so a palette
// change shows on unchanged tiles), colour16[colour] of the current bank for a 16-bit one.
// copyRegion copies background values unchanged to an 8-bit screen and through colour16 to a
// 16-bit screen. Any board family may draw with these; the game's own rules (which cell, which
// tile, flips, groups, scroll and sprite layouts) live in its family folder.
#include "video/colour_tables.h"
#include "video/graphics_sheet.h"
#include "video/screen_surface.h"

#include <cstdint>
#include <vector>

namespace vortastr {

enum DrawFlag : int {
    DRAW_TRANSPARENT = 1,  // values whose colour is 0 are not written
    DRAW_FLIP_X = 2,       // mirror left-right (drawGraphic only)
    DRAW_FLIP_Y = 4,       // mirror top-bottom (drawGraphic only)
    DRAW_CLIP_SURFACE = 8, // clip to the destination (0,0)-(width,height)
    DRAW_CLIP_WINDOW = 16, // clip to the layout's window, then add its origin
};

// A locked surface: where its pixels are and how they are laid out.
struct DrawSurface {
    uint8_t* pixels = nullptr;
    int pitch = 0; // bytes per line
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;
};
DrawSurface describeSurface(ScreenSurface& screen);

// A graphics sheet as drawGraphic reads it.
struct SheetView {
    const uint8_t* pixels = nullptr;
    int width = kSheetWidth;
    int height = 0;
};
SheetView viewOf(const GraphicsSheet* sheet);

// The running game's video layout, set by the board set-up.
struct VideoLayout {
    uint32_t tileRamOffset = 0;         // tile video RAM in the main processor's memory image
    const uint8_t* scrollRam = nullptr; // scroll registers or scroll RAM, or none
    const uint8_t* spriteRam = nullptr;
    int screenCols = 32, screenRows = 32; // visible size in 8-pixel cells
    int originX = 0, originY = 0;         // added to every window-clipped drawing
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    bool starLayer = false;

    void setClipWindow(int left, int top, int right, int bottom)
    {
        clipLeft = left, clipTop = top, clipRight = right, clipBottom = bottom;
    }
};

// Draws a w x h graphic from (sx, sy) of the sheet at (x, y) with colour group `group`.
// Without a clip flag the graphic is drawn only when it lies wholly inside the destination.
void drawGraphic(DrawSurface& dest, int x, int y, const SheetView& source, int sx, int sy, int w, int h, int flags,
                 int group, const ColourTables& colours, const VideoLayout& layout);

// Copies a w x h rectangle of 8-bit values (the background) to the destination, clipped as
// drawGraphic (flips are ignored).
void copyRegion(DrawSurface& dest, int x, int y, const DrawSurface& source, int sx, int sy, int w, int h, int flags,
                const ColourTables& colours, const VideoLayout& layout);

// The off-screen background of the running game and its two caches.
struct Background {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;         // width x height values
    std::vector<uint16_t> tileCodeCache; // one entry per map cell, in the board's visiting order
    std::vector<uint16_t> tileAttrCache;

    DrawSurface surface() { return {pixels.data(), width, width, height, 8}; }
    bool empty() const { return pixels.empty(); }
};

// The tile-and-sprite video state of the running game.
struct TileVideo {
    Background background;
    VideoLayout layout;
};
TileVideo& tileVideo();

constexpr uint16_t kEmptyCodeCache = 0xFF;
constexpr uint16_t kEmptyAttrCache = 0;

// (Re)creates the background of width x height pixels (filled with 0) and both caches (codes
// 0xFF, attributes 0, so every cell is drawn on the first frame). False when memory runs out;
// the previous background is gone either way.
bool createBackground(TileVideo& video, int width, int height);
void releaseBackground(TileVideo& video);
// Codes 0xFF, attributes 0 again: the next frame redraws every cell.
void resetTileCaches(TileVideo& video);

// True, and the caches updated, when cell `index` now holds another code or attribute than
// when it was last drawn. Cells past the caches never count as changed.
inline bool cellChanged(Background& background, std::size_t index, uint16_t code, uint16_t attr)
{
    if (index >= background.tileCodeCache.size())
        return false;
    uint16_t& cachedCode = background.tileCodeCache[index];
    uint16_t& cachedAttr = background.tileAttrCache[index];
    if (cachedCode == code && cachedAttr == attr)
        return false;
    cachedCode = code;
    cachedAttr = attr;
    return true;
}

// The 8 x 8 tile `tile` of the sheet drawn opaque into the background at (x, y).
void drawTile(Background& background, int x, int y, const SheetView& tiles, int tile, int flags, int group,
              const ColourTables& colours, const VideoLayout& layout);
// The 16 x 16 sprite `sprite` of the sheet drawn transparent onto the screen at (x, y).
void drawSprite(DrawSurface& screen, int x, int y, const SheetView& sprites, int sprite, int flags, int group,
                const ColourTables& colours, const VideoLayout& layout);

// Copies the band of background lines [sourceY, sourceY + lines) to screen line screenY with
// a horizontal scroll: background x `scroll` lands at screen x 0, and the band wraps at
// `wrapWidth` (the background's width), filling `visibleWidth` screen pixels.
void copyScrolledBand(DrawSurface& screen, Background& background, int sourceY, int screenY, int lines, int scroll,
                      int visibleWidth, const ColourTables& colours, const VideoLayout& layout);

} // namespace vortastr
