#include "boards/irem/irem_draw.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vortastr::irem {
namespace {

// A rectangle of destination positions (before the origin) and where it starts in the source.
struct Span {
    int x0, y0, x1, y1; // visible part in destination coordinates, half-open
};

// Cuts the rectangle (x, y, w, h) to the window when asked, then to the surface after the
// origin. Returns false when nothing is left.
bool clipRect(int x, int y, int w, int h, int flags, const ClipWindow& clip, int surfaceWidth, int surfaceHeight,
              Span& span, int& ox, int& oy)
{
    span = {x, y, x + w, y + h};
    ox = oy = 0;
    if (flags & DrawClipWindow) {
        span.x0 = std::max(span.x0, clip.left);
        span.y0 = std::max(span.y0, clip.top);
        span.x1 = std::min(span.x1, clip.right);
        span.y1 = std::min(span.y1, clip.bottom);
        ox = clip.originX;
        oy = clip.originY;
    }
    span.x0 = std::max(span.x0, -ox);
    span.y0 = std::max(span.y0, -oy);
    span.x1 = std::min(span.x1, surfaceWidth - ox);
    span.y1 = std::min(span.y1, surfaceHeight - oy);
    return span.x0 < span.x1 && span.y0 < span.y1;
}

// Screen pixels of the 16 pens of a colour group, and which of them are transparent.
struct PenTable {
    std::array<uint16_t, 16> pixel{};
    std::array<bool, 16> clear{};
};

PenTable penTable(const ColourTables& colours, int group, int bank, bool wide)
{
    PenTable pens;
    const auto& colour16 = colours.colour16[static_cast<std::size_t>(bank & 1)];
    for (int p = 0; p < 16; ++p) {
        const uint8_t value =
            colours.colourLookup ? colours.colourLookup[(group & 31) * 64 + p] : static_cast<uint8_t>(p);
        pens.clear[p] = value == 0;
        pens.pixel[p] = wide ? colour16[value] : colours.index8[value];
    }
    return pens;
}

// 16-bit pixels are stored bytewise: the surface is a byte block.
inline void store16(uint8_t* at, uint16_t value) { std::memcpy(at, &value, sizeof value); }

} // namespace

void drawTile(Background& dest, int x, int y, const GraphicsSheet& sheet, int tile, int flags, int group,
              const ColourTables& colours)
{
    const int sx = (tile & 15) * 8;
    const int sy = (tile >> 4) * 8;
    if (tile < 0 || sy + 8 > sheet.lines() || x < 0 || y < 0 || x + 8 > dest.width || y + 8 > dest.height)
        return;
    const PenTable pens = penTable(colours, group, 0, false);
    for (int row = 0; row < 8; ++row) {
        const uint8_t* from = sheet.line(sy + ((flags & DrawFlipY) ? 7 - row : row)) + sx;
        uint8_t* to = dest.line(y + row) + x;
        for (int col = 0; col < 8; ++col)
            to[col] = static_cast<uint8_t>(pens.pixel[from[(flags & DrawFlipX) ? 7 - col : col] & 15]);
    }
}

void drawSprite(ScreenSurface& dest, int x, int y, const GraphicsSheet& sheet, int sprite, int flags, int group,
                const ColourTables& colours, int bank, const ClipWindow& clip)
{
    const int sx = (sprite & 7) * 16;
    const int sy = (sprite >> 3) * 16;
    if (sprite < 0 || sy + 16 > sheet.lines())
        return;
    Span span;
    int ox, oy;
    if (!clipRect(x, y, 16, 16, flags, clip, dest.width(), dest.height(), span, ox, oy))
        return;
    const bool wide = dest.format() == PixelFormat::Rgb565;
    const PenTable pens = penTable(colours, group, bank, wide);
    const bool transparent = flags & DrawTransparent;
    for (int dy = span.y0; dy < span.y1; ++dy) {
        const int row = dy - y;
        const uint8_t* from = sheet.line(sy + ((flags & DrawFlipY) ? 15 - row : row)) + sx;
        uint8_t* line = dest.pixels() + std::size_t(dy + oy) * std::size_t(dest.pitch());
        for (int dx = span.x0; dx < span.x1; ++dx) {
            const int col = dx - x;
            const int pen = from[(flags & DrawFlipX) ? 15 - col : col] & 15;
            if (transparent && pens.clear[pen])
                continue;
            if (wide)
                store16(line + 2 * (dx + ox), pens.pixel[pen]);
            else
                line[dx + ox] = static_cast<uint8_t>(pens.pixel[pen]);
        }
    }
}

void copyRegion(ScreenSurface& dest, int x, int y, const Background& src, int sx, int sy, int w, int h, int flags,
                const ColourTables& colours, int bank, const ClipWindow& clip)
{
    // The source rectangle must lie inside the background; cut it there first.
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min(w, src.width - sx);
    h = std::min(h, src.height - sy);
    if (w <= 0 || h <= 0)
        return;
    Span span;
    int ox, oy;
    if (!clipRect(x, y, w, h, flags, clip, dest.width(), dest.height(), span, ox, oy))
        return;
    const int count = span.x1 - span.x0;
    const bool transparent = flags & DrawTransparent;
    const uint16_t* colour16 = colours.colour16[static_cast<std::size_t>(bank & 1)].data();
    for (int dy = span.y0; dy < span.y1; ++dy) {
        const uint8_t* from = src.line(sy + dy - y) + sx + (span.x0 - x);
        uint8_t* line = dest.pixels() + std::size_t(dy + oy) * std::size_t(dest.pitch());
        if (dest.format() == PixelFormat::Rgb565) {
            uint8_t* to = line + 2 * (span.x0 + ox);
            if (transparent) {
                // Without a branch per pixel: the layers' holes follow no pattern a predictor
                // could learn.
                for (int i = 0; i < count; ++i) {
                    uint16_t old;
                    std::memcpy(&old, to + 2 * i, sizeof old);
                    store16(to + 2 * i, from[i] ? colour16[from[i]] : old);
                }
            } else {
                for (int i = 0; i < count; ++i)
                    store16(to + 2 * i, colour16[from[i]]);
            }
        } else {
            uint8_t* to = line + span.x0 + ox;
            if (transparent) {
                for (int i = 0; i < count; ++i)
                    if (from[i])
                        to[i] = from[i];
            } else {
                std::copy(from, from + count, to);
            }
        }
    }
}

} // namespace vortastr::irem
