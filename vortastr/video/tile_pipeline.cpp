#include "video/tile_pipeline.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vortastr {
namespace {

// The destination rectangle that is drawn, and how far it was cut on each side.
struct Clipped {
    int x = 0, y = 0, w = 0, h = 0; // visible part, in destination coordinates
    int cutLeft = 0, cutTop = 0;    // columns and lines cut off at the left and top
    bool visible = false;
};

Clipped clipTo(int x, int y, int w, int h, int left, int top, int right, int bottom, int originX, int originY)
{
    Clipped c;
    if (w <= 0 || h <= 0 || x + w <= left || y + h <= top || x >= right || y >= bottom)
        return c;
    const int x0 = std::max(x, left), y0 = std::max(y, top);
    const int x1 = std::min(x + w, right), y1 = std::min(y + h, bottom);
    c.cutLeft = x0 - x;
    c.cutTop = y0 - y;
    c.x = x0 + originX;
    c.y = y0 + originY;
    c.w = x1 - x0;
    c.h = y1 - y0;
    c.visible = true;
    return c;
}

Clipped clip(const DrawSurface& dest, int x, int y, int w, int h, int flags, const VideoLayout& layout)
{
    Clipped c;
    if (flags & DRAW_CLIP_WINDOW) {
        c = clipTo(x, y, w, h, layout.clipLeft, layout.clipTop, layout.clipRight, layout.clipBottom, layout.originX,
                   layout.originY);
        // The origin may still push the window past the surface; keep every write inside it.
        if (c.visible && (c.x < 0 || c.y < 0 || c.x + c.w > dest.width || c.y + c.h > dest.height)) {
            const Clipped inner = clipTo(c.x, c.y, c.w, c.h, 0, 0, dest.width, dest.height, 0, 0);
            if (!inner.visible)
                return {};
            c.cutLeft += inner.cutLeft;
            c.cutTop += inner.cutTop;
            c.x = inner.x, c.y = inner.y, c.w = inner.w, c.h = inner.h;
        }
        return c;
    }
    if (flags & DRAW_CLIP_SURFACE)
        return clipTo(x, y, w, h, 0, 0, dest.width, dest.height, 0, 0);
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > dest.width || y + h > dest.height)
        return c;
    c.x = x, c.y = y, c.w = w, c.h = h, c.visible = true;
    return c;
}

bool validDestination(const DrawSurface& dest)
{
    return dest.pixels && (dest.bitsPerPixel == 8 || dest.bitsPerPixel == 16);
}

// Writes one line of pens through the 16-entry value table of the graphic.
template <typename Pixel>
void writeLine(Pixel* out, const uint8_t* pens, int count, int step, const Pixel* values, const bool* opaque,
               bool transparent)
{
    if (transparent) {
        for (int i = 0; i < count; ++i, pens += step) {
            const uint8_t pen = *pens & 15;
            if (opaque[pen])
                out[i] = values[pen];
        }
    } else {
        for (int i = 0; i < count; ++i, pens += step)
            out[i] = values[*pens & 15];
    }
}

template <typename Pixel>
void drawPens(DrawSurface& dest, const Clipped& c, const SheetView& source, int sx, int sy, int w, int h, int flags,
              const Pixel* values, const bool* opaque)
{
    const bool flipX = flags & DRAW_FLIP_X, flipY = flags & DRAW_FLIP_Y;
    // A cut on the left of an X-flipped graphic skips source columns at its end; likewise Y.
    const int firstColumn = flipX ? sx + w - 1 - c.cutLeft : sx + c.cutLeft;
    const int step = flipX ? -1 : 1;
    for (int line = 0; line < c.h; ++line) {
        const int sourceLine = flipY ? sy + h - 1 - (c.cutTop + line) : sy + c.cutTop + line;
        const uint8_t* pens = source.pixels + std::size_t(sourceLine) * std::size_t(source.width) + firstColumn;
        auto* out = reinterpret_cast<Pixel*>(dest.pixels + std::ptrdiff_t(c.y + line) * dest.pitch) + c.x;
        writeLine(out, pens, c.w, step, values, opaque, flags & DRAW_TRANSPARENT);
    }
}

} // namespace

DrawSurface describeSurface(ScreenSurface& screen)
{
    return {screen.pixels(), screen.pitch(), screen.width(), screen.height(), screen.bytesPerPixel() * 8};
}

SheetView viewOf(const GraphicsSheet* sheet)
{
    if (!sheet)
        return {};
    return {sheet->pixels.data(), kSheetWidth, sheet->lines()};
}

void drawGraphic(DrawSurface& dest, int x, int y, const SheetView& source, int sx, int sy, int w, int h, int flags,
                 int group, const ColourTables& colours, const VideoLayout& layout)
{
    // The source rectangle must lie inside the sheet; anything else is not a graphic of it.
    if (!validDestination(dest) || !source.pixels || !colours.colourLookup || sx < 0 || sy < 0 ||
        sx + w > source.width || sy + h > source.height || group < 0 || group > 31)
        return;
    const Clipped c = clip(dest, x, y, w, h, flags, layout);
    if (!c.visible)
        return;
    const uint8_t* lookup = colours.colourLookup + group * 64;
    bool opaque[16];
    for (int pen = 0; pen < 16; ++pen)
        opaque[pen] = lookup[pen] != 0;
    if (dest.bitsPerPixel == 8) {
        uint8_t values[16];
        for (int pen = 0; pen < 16; ++pen)
            values[pen] = colours.index8[lookup[pen]];
        drawPens(dest, c, source, sx, sy, w, h, flags, values, opaque);
    } else {
        const auto& colour16 = colours.colour16[std::size_t(colours.bank & 1)];
        uint16_t values[16];
        for (int pen = 0; pen < 16; ++pen)
            values[pen] = colour16[lookup[pen]];
        drawPens(dest, c, source, sx, sy, w, h, flags, values, opaque);
    }
}

void copyRegion(DrawSurface& dest, int x, int y, const DrawSurface& source, int sx, int sy, int w, int h, int flags,
                const ColourTables& colours, const VideoLayout& layout)
{
    if (!validDestination(dest) || !source.pixels || source.bitsPerPixel != 8 || sx < 0 || sy < 0 ||
        sx + w > source.width || sy + h > source.height)
        return;
    const Clipped c = clip(dest, x, y, w, h, flags & ~(DRAW_FLIP_X | DRAW_FLIP_Y), layout);
    if (!c.visible)
        return;
    const bool transparent = flags & DRAW_TRANSPARENT;
    const auto& colour16 = colours.colour16[std::size_t(colours.bank & 1)];
    for (int line = 0; line < c.h; ++line) {
        const uint8_t* in = source.pixels + std::ptrdiff_t(sy + c.cutTop + line) * source.pitch + sx + c.cutLeft;
        uint8_t* row = dest.pixels + std::ptrdiff_t(c.y + line) * dest.pitch;
        if (dest.bitsPerPixel == 8) {
            uint8_t* out = row + c.x;
            if (!transparent) {
                std::memcpy(out, in, std::size_t(c.w));
                continue;
            }
            for (int i = 0; i < c.w; ++i)
                if (in[i])
                    out[i] = in[i];
            continue;
        }
        auto* out = reinterpret_cast<uint16_t*>(row) + c.x;
        if (transparent) {
            for (int i = 0; i < c.w; ++i)
                if (in[i])
                    out[i] = colour16[in[i]];
            continue;
        }
        // Two pixels per step; the odd last one alone.
        int i = 0;
        for (; i + 1 < c.w; i += 2) {
            const uint32_t pair = uint32_t(colour16[in[i]]) | uint32_t(colour16[in[i + 1]]) << 16;
            std::memcpy(out + i, &pair, 4);
        }
        if (i < c.w)
            out[i] = colour16[in[i]];
    }
}

TileVideo& tileVideo()
{
    static TileVideo video;
    return video;
}

bool createBackground(TileVideo& video, int width, int height)
{
    releaseBackground(video);
    if (width <= 0 || height <= 0)
        return false;
    Background& bg = video.background;
    const std::size_t cells = std::size_t(width / 8 + 1) * std::size_t(height / 8 + 1);
    try {
        bg.pixels.assign(std::size_t(width) * std::size_t(height), 0);
        bg.tileCodeCache.assign(cells, kEmptyCodeCache);
        bg.tileAttrCache.assign(cells, kEmptyAttrCache);
    } catch (const std::bad_alloc&) {
        releaseBackground(video);
        return false;
    }
    bg.width = width;
    bg.height = height;
    return true;
}

void releaseBackground(TileVideo& video) { video.background = Background{}; }

void resetTileCaches(TileVideo& video)
{
    Background& bg = video.background;
    std::fill(bg.tileCodeCache.begin(), bg.tileCodeCache.end(), kEmptyCodeCache);
    std::fill(bg.tileAttrCache.begin(), bg.tileAttrCache.end(), kEmptyAttrCache);
}

void drawTile(Background& background, int x, int y, const SheetView& tiles, int tile, int flags, int group,
              const ColourTables& colours, const VideoLayout& layout)
{
    DrawSurface surface = background.surface();
    drawGraphic(surface, x, y, tiles, (tile & 15) * 8, (tile >> 4) * 8, 8, 8, flags & (DRAW_FLIP_X | DRAW_FLIP_Y),
                group, colours, layout);
}

void drawSprite(DrawSurface& screen, int x, int y, const SheetView& sprites, int sprite, int flags, int group,
                const ColourTables& colours, const VideoLayout& layout)
{
    drawGraphic(screen, x, y, sprites, (sprite & 7) * 16, (sprite >> 3) * 16, 16, 16, flags | DRAW_TRANSPARENT, group,
                colours, layout);
}

void copyScrolledBand(DrawSurface& screen, Background& background, int sourceY, int screenY, int lines, int scroll,
                      int visibleWidth, const ColourTables& colours, const VideoLayout& layout)
{
    const int wrap = background.width;
    if (wrap <= 0)
        return;
    const DrawSurface source = background.surface();
    scroll %= wrap;
    const int first = std::min(visibleWidth, wrap - scroll);
    copyRegion(screen, 0, screenY, source, scroll, sourceY, first, lines, 0, colours, layout);
    if (first < visibleWidth)
        copyRegion(screen, first, screenY, source, 0, sourceY, std::min(visibleWidth - first, wrap), lines, 0, colours,
                   layout);
}

} // namespace vortastr
