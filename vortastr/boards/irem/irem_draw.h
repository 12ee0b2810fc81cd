#pragma once
// Drawing primitives of the Irem renderers: 8 x 8 tiles into the 8-bit background, 16 x 16
// sprites and background rectangles onto the screen surface, with flips, transparency and the
// clip window. Pixel values follow the screen: the background holds screen-palette values
// (hardware indices in 8-bit mode, logical colours in 16-bit mode) and 16-bit screens receive
// colour16 of the bank in force.
#include "video/colour_tables.h"
#include "video/graphics_sheet.h"
#include "video/screen_surface.h"

#include <cstdint>
#include <vector>

namespace vortastr::irem {

enum DrawFlag : int {
    DrawTransparent = 1, // pixels whose value is 0 are not written
    DrawFlipX = 2,
    DrawFlipY = 4,
    DrawClipWindow = 16, // clip to the window and add the origin
};

// The visible window for clipped drawing and the origin added to what is drawn.
struct ClipWindow {
    int left = 0, top = 0, right = 0, bottom = 0;
    int originX = 0, originY = 0;
};

// An 8-bit surface of screen-palette values (the tile layers' background).
struct Background {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;

    uint8_t* line(int y) { return pixels.data() + std::size_t(y) * std::size_t(width); }
    const uint8_t* line(int y) const { return pixels.data() + std::size_t(y) * std::size_t(width); }
};

// Draws tile `tile` of the sheet opaque at (x, y) of the background with the flips and colour
// group; a tile outside the sheet or a position outside the background draws nothing.
void drawTile(Background& dest, int x, int y, const GraphicsSheet& sheet, int tile, int flags, int group,
              const ColourTables& colours);

// Draws sprite `sprite` (16 x 16) of the sheet on the screen at (x, y); with DrawClipWindow the
// part outside the window is cut off (from the side the flips put there) and the rest lands
// at the origin's offset. Anything outside the surface is never written.
void drawSprite(ScreenSurface& dest, int x, int y, const GraphicsSheet& sheet, int sprite, int flags, int group,
                const ColourTables& colours, int bank, const ClipWindow& clip);

// Copies w x h values of the background from (sx, sy) to the screen at (x, y), converting them
// through colour16 of `bank` on 16-bit screens; DrawTransparent skips value 0.
void copyRegion(ScreenSurface& dest, int x, int y, const Background& src, int sx, int sy, int w, int h, int flags,
                const ColourTables& colours, int bank, const ClipWindow& clip);

} // namespace vortastr::irem
