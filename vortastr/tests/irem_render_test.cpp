// The Irem renderers: layer scroll with its splits, the fixed lines, sprite parts and flips,
// the order of layers and sprites.
#include "boards/irem/irem_video.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vortastr::test {
namespace {

using namespace irem;

constexpr int kWidth = 512, kHeight = 256;

uint8_t spritePattern(int sprite, int x, int y) { return x < 2 || y < 2 ? 0 : uint8_t((sprite + x + 3 * y) % 15 + 1); }
// Background values: never 0 in the second layer's region; holes in the first layer's.
uint8_t secondRegion(int x, int y) { return uint8_t((x * 7 + y * 3) % 200 + 1); }
uint8_t firstRegion(int x, int y) { return (x / 4 + y / 4) % 3 == 0 ? 0 : uint8_t(201 + (x + y) % 50); }

struct IremRenderTest : ::testing::Test {
    std::vector<uint8_t> memory = std::vector<uint8_t>(0x100000, 0);
    IremState state;
    std::unique_ptr<GraphicsSheet> tiles = createSheet(1);
    std::unique_ptr<GraphicsSheet> sprites = createSheet(1);
    ColourTables colours;
    ScreenSurface screen{kWidth, kHeight, PixelFormat::Rgb565};

    void SetUp() override
    {
        for (int s = 0; s < 64; ++s)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    sprites->pixels[std::size_t(((s >> 3) * 16 + y) * kSheetWidth + (s & 7) * 16 + x)] =
                        spritePattern(s, x, y);
        colours.colourLookup = colourLookupOf(RType).data();
        // Bank 0 pixels are 0x1000 + value, bank 1 pixels 0x2000 + value: a pixel names both.
        for (int v = 0; v < 256; ++v) {
            colours.colour16[0][std::size_t(v)] = uint16_t(0x1000 + v);
            colours.colour16[1][std::size_t(v)] = uint16_t(0x2000 + v);
        }
    }

    // First frame draws every cell; then the background gets the known regions.
    void prepare(GameId game)
    {
        resetIremVideo(game);
        render(game);
        Background& bg = iremVideo().background;
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 512; ++x)
                bg.line(y)[x] = y < 512 ? secondRegion(x, y) : firstRegion(x, y - 512);
        screen.fill(0);
    }
    void render(GameId game)
    {
        IremFrame frame{game, memory.data(), memory.size(), &state, tiles.get(), sprites.get(), 0, 0};
        renderIremFrame(screen, colours, frame);
    }
    uint16_t at(int x, int y) const
    {
        uint16_t v;
        std::memcpy(&v, screen.pixels() + y * screen.pitch() + 2 * x, 2);
        return v;
    }
    void setPorts(uint16_t first, std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes)
            state.ports[first++] = b;
    }
    void setSprite(int entry, uint16_t w0, uint16_t w1, uint16_t w2, uint16_t w3)
    {
        const uint16_t words[4] = {w0, w1, w2, w3};
        std::memcpy(&memory[kSpriteRam + 8u * unsigned(entry)], words, 8);
    }
    // The layers' pixel at a screen position, as the rule gives it.
    uint16_t expectedLayers(int sx, int sy, LayerScroll second, LayerScroll first) const
    {
        if (sy >= 240)
            return uint16_t(0x1000 + firstRegion(sx, sy - 240));
        const uint8_t top = firstRegion((sx + first.x) % 512, (sy + first.y) % 512);
        if (top)
            return uint16_t(0x1000 + top);
        return uint16_t(0x1000 + secondRegion((sx + second.x) % 512, (sy + second.y) % 512));
    }
    void expectLayers(LayerScroll second, LayerScroll first, const char* what, int fromY = 0, int toY = kHeight)
    {
        int wrong = 0;
        for (int y = fromY; y < toY; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint16_t expected = x >= 64 && x < 440 ? expectedLayers(x, y, second, first) : 0;
                if (at(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << at(x, y) << ", expected "
                                  << expected;
            }
        EXPECT_EQ(wrong, 0) << what;
    }
};

TEST_F(IremRenderTest, LayerScrollFromPortsWithEverySplit)
{
    struct Case {
        const char* what;
        uint8_t p84, p85, p86, p87, p80, p81, p82, p83;
        LayerScroll second, first;
    };
    const Case cases[] = {
        {"0x84 = 0x80: y 256, one band", 0x80, 0, 0, 0, 0, 0, 0, 0, {0, 256}, {0, 128}},
        {"0x84 = 0x90: y 272, exactly fits", 0x90, 0, 0, 0, 0, 0, 0, 0, {0, 272}, {0, 128}},
        {"0x84 = 0x91: y 273 splits", 0x91, 0, 0, 0, 0, 0, 0, 0, {0, 273}, {0, 128}},
        {"split on both axes", 0x00, 1, 0x10, 1, 0x70, 0xFF, 0xFF, 0x01, {272, 384}, {511, 496}},
        {"high bits above bit 0 ignored", 0x05, 0xFE, 0x20, 0xFE, 0x00, 0x00, 0x01, 0x00, {32, 133}, {1, 128}},
    };
    for (const Case& c : cases) {
        prepare(RType);
        setPorts(0x80, {c.p80, c.p81, c.p82, c.p83, c.p84, c.p85, c.p86, c.p87});
        EXPECT_EQ(portScroll(state, kPortScrollSecondY).y, c.second.y) << c.what;
        render(RType);
        expectLayers(c.second, c.first, c.what);
    }
}

TEST_F(IremRenderTest, SpritesSkipEmptyEntriesAndDrawPartsInOrderFlipped)
{
    prepare(RType);
    render(RType);
    const std::vector<uint8_t> without(screen.pixels(), screen.pixels() + screen.byteCount());
    setSprite(0, 200, 0x1000, 0x0003, 256 + 100); // code out of range
    setSprite(1, 200, 0x0021, 0x0003, 0);         // x word 0
    render(RType);
    EXPECT_TRUE(std::equal(without.begin(), without.end(), screen.pixels()));

    // Two high, two wide, flipped both ways, group 3, at x 100, top y 384 - 200 - 32 = 152.
    std::memset(&memory[kSpriteRam], 0, 16);
    setSprite(0, 200, 0x0021, 0x5C03, 256 + 100);
    // The first layer is made transparent so that the sprite shows where it lies.
    Background& bg = iremVideo().background;
    std::memset(bg.line(512), 0, 512 * 512);
    render(RType);
    struct Quadrant {
        int dx, dy, code;
    };
    // Parts from the bottom (y flip: the first code is 0x21 + 1) and columns swapped (x flip).
    for (const Quadrant q :
         {Quadrant{16, 0, 0x22}, Quadrant{0, 0, 0x2A}, Quadrant{16, 16, 0x21}, Quadrant{0, 16, 0x29}})
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int sx = 100 + q.dx + x, sy = 152 + q.dy + y;
                const uint8_t pen = spritePattern(q.code, 15 - x, 15 - y);
                const uint16_t expected =
                    pen ? uint16_t(0x2000 + 3 * 16 + pen) : uint16_t(0x1000 + secondRegion(sx, (sy + 128) % 512));
                ASSERT_EQ(at(sx, sy), expected) << "code " << q.code << " at (" << sx << ", " << sy << ")";
            }
}

TEST_F(IremRenderTest, SpritesClipToTheirWindowAndSitUnderTheFirstLayer)
{
    prepare(RType);
    // A one-part sprite at the right edge of the window (x 430) and at the bottom (y 236).
    setSprite(0, 384 - 236 - 16, 0x0005, 0x0001, 256 + 430);
    render(RType);
    for (int y = 236; y < 256; ++y)
        for (int x = 430; x < 446; ++x) {
            const bool insideSpriteWindow = x < 440 && y < 240;
            const uint8_t pen = spritePattern(5, x - 430, y - 236);
            const uint8_t firstLayer = y < 240 ? firstRegion(x, (y + 128) % 512) : 1;
            if (insideSpriteWindow && pen && !firstLayer)
                EXPECT_EQ(at(x, y), 0x2000 + 16 + pen) << x << ", " << y;
            else
                EXPECT_LT(at(x, y), 0x2000) << x << ", " << y;
        }
}

TEST_F(IremRenderTest, RTypeIIDrawsSpritesLastAndSplitsTheSecondLayer)
{
    prepare(RType2);
    state.scrollWords = {0x0010, 0x0020};     // upper band: y 144, x 32
    setPorts(0x80, {0x40, 0x00, 0x05, 0x00}); // lower band: y 192, x 5
    setPorts(0x84, {0x00, 0x00, 0x00, 0x00}); // first layer: y 128, x 0
    render(RType2);
    expectLayers({32, 144}, {0, 128}, "upper band", 0, 120);
    expectLayers({5, 192}, {0, 128}, "lower band", 120, 256);

    // A sprite over the first layer: x = w3 - 260, drawn after both layers.
    setSprite(0, 384 - 100 - 16, 0x0002, 0x0000, 260 + 200);
    render(RType2);
    for (int y = 102; y < 116; ++y)
        for (int x = 202; x < 216; ++x)
            EXPECT_EQ(at(x, y), 0x2000 + spritePattern(2, x - 200, y - 100)) << x << ", " << y;
}

TEST_F(IremRenderTest, RTypeIIPartCountIsAPowerOfTwoField)
{
    prepare(RType2);
    std::memset(iremVideo().background.line(512), 0, 512 * 512);
    // Bits 12-13 = 2: four parts, codes 8, 9, 10, 11 from the top down.
    setSprite(0, 250, 0x0008, 0x2000, 260 + 150);
    render(RType2);
    const int top = 384 - 250 - 64;
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(at(150 + 8, top + 16 * k + 8), 0x2000 + spritePattern(8 + k, 8, 8)) << "part " << k;
}

TEST_F(IremRenderTest, FullScreenOriginAndEightBitScreens)
{
    // The 400 x 300 mode: the window x 64-440 lands at 8-384, everything 22 lines down.
    prepare(RType);
    ScreenSurface full(400, 300, PixelFormat::Rgb565);
    full.fill(0);
    setSprite(0, 384 - 50 - 16, 0x0004, 0x0002, 256 + 70);
    IremFrame frame{RType, memory.data(), memory.size(), &state, tiles.get(), sprites.get(), -56, 22};
    renderIremFrame(full, colours, frame);
    const auto pixel = [&](int x, int y) {
        uint16_t v;
        std::memcpy(&v, full.pixels() + y * full.pitch() + 2 * x, 2);
        return v;
    };
    const LayerScroll second{0, 128}, first{0, 128};
    for (int y = 0; y < 256; ++y)
        for (int x = 64; x < 440; x += 7) {
            const uint16_t layers = expectedLayers(x, y, second, first);
            const bool sprite = x >= 72 && x < 86 && y >= 52 && y < 66 && firstRegion(x, (y + 128) % 512) == 0;
            if (!sprite) {
                ASSERT_EQ(pixel(x - 56, y + 22), layers) << x << ", " << y;
            }
        }
    EXPECT_EQ(pixel(7, 22), 0);    // left of the window
    EXPECT_EQ(pixel(384, 100), 0); // right of it
    EXPECT_EQ(pixel(100, 21), 0);  // above it
    EXPECT_EQ(pixel(100, 278), 0); // below it

    // An 8-bit screen gets the background's values as they are and sprite pens through index8.
    for (int v = 0; v < 256; ++v)
        colours.index8[std::size_t(v)] = uint8_t(255 - v);
    ScreenSurface eight(kWidth, kHeight, PixelFormat::Indexed8);
    IremFrame plain{RType, memory.data(), memory.size(), &state, tiles.get(), sprites.get(), 0, 0};
    renderIremFrame(eight, colours, plain);
    EXPECT_EQ(eight.pixels()[100 * kWidth + 200], uint8_t(expectedLayers(200, 100, second, first) - 0x1000));
    ASSERT_EQ(firstRegion(80, (58 + 128) % 512), 0); // the first layer has a hole there
    EXPECT_EQ(eight.pixels()[58 * kWidth + 80], uint8_t(255 - (2 * 16 + spritePattern(4, 10, 8))));
}

} // namespace
} // namespace vortastr::test
