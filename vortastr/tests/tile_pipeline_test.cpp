// The shared tile-and-sprite drawing: clipping on every side with every flip, transparency,
// 8-bit and 16-bit destinations, the background copy and the cell caches.
#include "video/tile_pipeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vortastr::test {
namespace {

constexpr int kW = 5, kH = 3; // the graphic: distinct pens 1..15, pen 0 in one corner
int pen(int i, int j) { return i == 4 && j == 2 ? 0 : 1 + i + kW * j; }

struct Canvas {
    int width = 12, height = 10, bits = 8;
    std::vector<uint8_t> pixels;
    Canvas(int w, int h, int b) : width(w), height(h), bits(b), pixels(std::size_t(w * h * b / 8), 0) {}
    DrawSurface surface() { return {pixels.data(), width * bits / 8, width, height, bits}; }
    uint32_t at(int x, int y) const
    {
        if (bits == 8)
            return pixels[std::size_t(y * width + x)];
        uint16_t v;
        std::memcpy(&v, pixels.data() + 2 * std::size_t(y * width + x), 2);
        return v;
    }
    void fill(uint8_t v) { std::fill(pixels.begin(), pixels.end(), v); }
};

struct Fixture {
    std::vector<uint8_t> sheet = std::vector<uint8_t>(std::size_t(kSheetWidth) * 16, 0);
    std::vector<uint8_t> lookup = std::vector<uint8_t>(32 * 64, 0);
    ColourTables colours;
    VideoLayout layout;
    Fixture()
    {
        // The graphic sits at (3, 2) of the sheet, so reads outside it would show as pen 0.
        for (int j = 0; j < kH; ++j)
            for (int i = 0; i < kW; ++i)
                sheet[std::size_t((2 + j) * kSheetWidth + 3 + i)] = static_cast<uint8_t>(pen(i, j));
        for (int p = 0; p < 16; ++p) {
            lookup[std::size_t(p)] = static_cast<uint8_t>(p);                   // group 0: the pen itself
            lookup[std::size_t(64 + p)] = static_cast<uint8_t>(p ? 40 + p : 0); // group 1
        }
        lookup[std::size_t(64 + 7)] = 0; // a pen whose colour is 0 counts as transparent
        colours.colourLookup = lookup.data();
        setIdentityIndexMapping(colours);
        for (int i = 0; i < 256; ++i)
            colours.colour16[0][std::size_t(i)] = static_cast<uint16_t>(0x1000 + 3 * i);
    }
    SheetView view() { return {sheet.data(), kSheetWidth, 16}; }
};

// What a drawing should give, by walking the source forwards: source pixel (i, j) lands at
// (x + i or x + w - 1 - i, y + j or y + h - 1 - j) when that point is inside `visible`.
std::vector<uint32_t> expected(Canvas canvas, int x, int y, int flags, int group, const Fixture& f, int left, int top,
                               int right, int bottom, bool wholeOrNothing)
{
    const bool inside = x >= left && y >= top && x + kW <= right && y + kH <= bottom;
    std::vector<uint32_t> out(std::size_t(canvas.width * canvas.height));
    for (int yy = 0; yy < canvas.height; ++yy)
        for (int xx = 0; xx < canvas.width; ++xx)
            out[std::size_t(yy * canvas.width + xx)] = canvas.at(xx, yy);
    if (wholeOrNothing && !inside)
        return out;
    for (int j = 0; j < kH; ++j)
        for (int i = 0; i < kW; ++i) {
            const int dx = x + ((flags & DRAW_FLIP_X) ? kW - 1 - i : i);
            const int dy = y + ((flags & DRAW_FLIP_Y) ? kH - 1 - j : j);
            if (dx < left || dx >= right || dy < top || dy >= bottom)
                continue;
            const uint8_t colour = f.lookup[std::size_t(group * 64 + pen(i, j))];
            if ((flags & DRAW_TRANSPARENT) && colour == 0)
                continue;
            out[std::size_t(dy * canvas.width + dx)] = canvas.bits == 8 ? colour : f.colours.colour16[0][colour];
        }
    return out;
}

std::vector<uint32_t> pixelsOf(const Canvas& c)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            out.push_back(c.at(x, y));
    return out;
}

struct Placement {
    const char* name;
    int x, y;
};
// Inside, cut on each side, cut at two corners, and wholly outside.
constexpr Placement kPlacements[] = {{"inside", 4, 3},        {"left", -2, 3},   {"right", 9, 3},
                                     {"top", 4, -1},          {"bottom", 4, 8},  {"top-left", -3, -2},
                                     {"bottom-right", 10, 9}, {"outside", 20, 3}};

enum class ClipMode { Surface, Window, None };

TEST(DrawGraphic, ClipsOnEverySideWithEveryFlipAndDepth)
{
    Fixture f;
    for (int bits : {8, 16})
        for (ClipMode mode : {ClipMode::Surface, ClipMode::Window, ClipMode::None})
            for (int flip = 0; flip < 4; ++flip)
                for (bool transparent : {false, true})
                    for (const Placement& p : kPlacements) {
                        Canvas canvas(12, 10, bits);
                        canvas.fill(0x3C);
                        f.layout.setClipWindow(1, 2, 11, 9); // a window inside the surface
                        const int clip = mode == ClipMode::Surface  ? DRAW_CLIP_SURFACE
                                         : mode == ClipMode::Window ? DRAW_CLIP_WINDOW
                                                                    : 0;
                        const int flags = flip * DRAW_FLIP_X | clip | (transparent ? DRAW_TRANSPARENT : 0);
                        const auto want =
                            mode == ClipMode::Window
                                ? expected(canvas, p.x, p.y, flags, 1, f, 1, 2, 11, 9, false)
                                : expected(canvas, p.x, p.y, flags, 1, f, 0, 0, 12, 10, mode == ClipMode::None);
                        DrawSurface dest = canvas.surface();
                        drawGraphic(dest, p.x, p.y, f.view(), 3, 2, kW, kH, flags, 1, f.colours, f.layout);
                        EXPECT_EQ(pixelsOf(canvas), want) << p.name << " bits " << bits << " mode " << int(mode)
                                                          << " flip " << flip << " transparent " << transparent;
                    }
}

TEST(DrawGraphic, WindowOriginMovesTheDrawingAndSurfaceStillBoundsIt)
{
    Fixture f;
    Canvas canvas(12, 10, 8);
    f.layout.setClipWindow(0, 0, 12, 10);
    f.layout.originX = 3;
    f.layout.originY = 1;
    DrawSurface dest = canvas.surface();
    drawGraphic(dest, 6, 6, f.view(), 3, 2, kW, kH, DRAW_CLIP_WINDOW, 0, f.colours, f.layout);
    // Drawn at (9, 7): three columns fit, the rest would leave the surface and is cut.
    EXPECT_EQ(canvas.at(9, 7), uint32_t(pen(0, 0)));
    EXPECT_EQ(canvas.at(11, 9), uint32_t(pen(2, 2)));
    EXPECT_EQ(canvas.at(8, 7), 0u);
}

TEST(DrawGraphic, SourceOutsideTheSheetOrOddDepthsDrawNothing)
{
    Fixture f;
    for (auto [sx, sy, bits] : {std::tuple{126, 0, 8}, {0, 14, 8}, {-1, 0, 8}, {3, 2, 24}}) {
        Canvas canvas(12, 10, 8);
        canvas.fill(9);
        DrawSurface dest = canvas.surface();
        dest.bitsPerPixel = bits;
        drawGraphic(dest, 0, 0, f.view(), sx, sy, kW, kH, 0, 0, f.colours, f.layout);
        EXPECT_EQ(pixelsOf(canvas), std::vector<uint32_t>(120, 9)) << sx << "," << sy << " bits " << bits;
    }
}

TEST(CopyRegion, SixteenBitPairsEqualThePerPixelRuleAtEveryWidthAndOffset)
{
    Fixture f;
    Canvas source(9, 4, 8);
    for (std::size_t i = 0; i < source.pixels.size(); ++i)
        source.pixels[i] = static_cast<uint8_t>(i % 3 == 0 ? 0 : 7 * i + 1);
    for (bool transparent : {false, true})
        for (int w = 1; w <= 9; ++w)
            for (int x = -2; x <= 4; ++x) {
                Canvas dest(12, 6, 16);
                dest.fill(0x55);
                const DrawSurface from = source.surface();
                DrawSurface to = dest.surface();
                const int flags = DRAW_CLIP_SURFACE | (transparent ? DRAW_TRANSPARENT : 0);
                copyRegion(to, x, 1, from, 0, 0, w, 4, flags, f.colours, f.layout);
                for (int yy = 0; yy < 6; ++yy)
                    for (int xx = 0; xx < 12; ++xx) {
                        const int i = xx - x, j = yy - 1;
                        uint32_t want = 0x5555;
                        if (i >= 0 && i < w && j >= 0 && j < 4) {
                            const uint8_t v = source.pixels[std::size_t(j * 9 + i)];
                            if (!(transparent && v == 0))
                                want = f.colours.colour16[0][v];
                        }
                        ASSERT_EQ(dest.at(xx, yy), want) << "w " << w << " x " << x << " at " << xx << "," << yy;
                    }
            }
}

TEST(CopyRegion, EightBitCopiesValuesUnchangedAndWholeOrNothingWithoutClip)
{
    Fixture f;
    Canvas source(8, 2, 8);
    for (std::size_t i = 0; i < source.pixels.size(); ++i)
        source.pixels[i] = static_cast<uint8_t>(200 + i);
    Canvas dest(6, 3, 8);
    DrawSurface to = dest.surface();
    copyRegion(to, 1, 1, source.surface(), 2, 0, 4, 2, 0, f.colours, f.layout);
    EXPECT_EQ(dest.at(1, 1), 202u);
    EXPECT_EQ(dest.at(4, 2), 213u);
    Canvas untouched(6, 3, 8);
    DrawSurface other = untouched.surface();
    copyRegion(other, 3, 1, source.surface(), 0, 0, 4, 2, 0, f.colours, f.layout); // one column too wide
    EXPECT_EQ(pixelsOf(untouched), std::vector<uint32_t>(18, 0));
}

TEST(Background, CachesStartEmptyAndReportOnlyChangedCells)
{
    TileVideo video;
    ASSERT_TRUE(createBackground(video, 64, 32));
    Background& bg = video.background;
    EXPECT_EQ(bg.pixels.size(), 64u * 32u);
    // A fresh cache makes every cell draw once, including code 0 attribute 0.
    EXPECT_TRUE(cellChanged(bg, 0, 0, 0));
    EXPECT_FALSE(cellChanged(bg, 0, 0, 0));
    EXPECT_TRUE(cellChanged(bg, 0, 0, 1)); // attribute changed
    EXPECT_TRUE(cellChanged(bg, 0, 5, 1)); // code changed
    EXPECT_FALSE(cellChanged(bg, 0, 5, 1));
    EXPECT_FALSE(cellChanged(bg, 1u << 20, 1, 1)); // past the cache: never
    resetTileCaches(video);
    EXPECT_TRUE(cellChanged(bg, 0, 5, 1));
    releaseBackground(video);
    EXPECT_TRUE(video.background.empty());
    EXPECT_FALSE(createBackground(video, 0, 8));
}

TEST(Background, ScrolledBandWrapsAtTheBackgroundWidth)
{
    Fixture f;
    TileVideo video;
    ASSERT_TRUE(createBackground(video, 512, 8));
    for (int x = 0; x < 512; ++x)
        video.background.pixels[std::size_t(x)] = static_cast<uint8_t>(x % 251 + 1);
    struct Case {
        int scroll, firstSourceX, splitAt;
    };
    // 200: x 200-455 in one piece; 300: 212 pixels from 300, then x 0 on; 256: x 256-511 only.
    for (const Case c : {Case{200, 200, 256}, Case{300, 300, 212}, Case{256, 256, 256}}) {
        Canvas screen(256, 1, 8);
        DrawSurface to = screen.surface();
        copyScrolledBand(to, video.background, 0, 0, 1, c.scroll, 256, f.colours, video.layout);
        for (int x = 0; x < 256; ++x) {
            const int sourceX = x < c.splitAt ? c.firstSourceX + x : x - c.splitAt;
            ASSERT_EQ(screen.at(x, 0), uint32_t(sourceX % 251 + 1)) << "scroll " << c.scroll << " x " << x;
        }
    }
}

} // namespace
} // namespace vortastr::test
