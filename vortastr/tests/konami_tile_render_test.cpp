// The tile, scroll and sprite routines of the Konami tile-and-sprite boards over the shared
// pipeline: the cell caches, row scrolls with their ninth bit, the split sprite at the right
// edge, Circus Charlie's still top and scrolled bottom, and colour changes on unchanged tiles.
#include "boards/konami_tile/konami_tile_video.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vortastr::test {
namespace {

struct Render : ::testing::Test {
    std::vector<uint8_t> memory = std::vector<uint8_t>(0x20000, 0);
    GraphicsSheet tiles, sprites;
    ColourTables colours;
    TileVideo video;
    ScreenSurface screen;
    GameId game = NoGame;

    void SetUp() override
    {
        tiles.units = 4;
        tiles.pixels.assign(4 * kUnitBytes, 0);
        sprites.units = 4;
        sprites.pixels.assign(4 * kUnitBytes, 0);
        // Tile t: pen (t + x + y) % 15 + 1; sprite s: pen x + 1 in its left half, else 0.
        for (int t = 0; t < 512; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    tiles.pixels[std::size_t(((t >> 4) * 8 + y) * kSheetWidth + (t & 15) * 8 + x)] =
                        static_cast<uint8_t>((t + x + y) % 15 + 1);
        for (int s = 0; s < 64; ++s)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    sprites.pixels[std::size_t(((s >> 3) * 16 + y) * kSheetWidth + (s & 7) * 16 + x)] =
                        static_cast<uint8_t>(x < 8 ? x + 1 : 0);
        setIdentityIndexMapping(colours);
        for (int i = 0; i < 256; ++i)
            colours.colour16[0][std::size_t(i)] = static_cast<uint16_t>(0x100 + i);
    }
    void use(GameId g, int width, int height)
    {
        game = g;
        colours.colourLookup = colourLookupOf(g).data();
        ASSERT_TRUE(konamiTile::setUpVideo(g, memory.data(), video));
        screen = ScreenSurface(width, height, PixelFormat::Rgb565);
    }
    konamiTile::TileFrame frame()
    {
        return {game, memory.data(), describeSurface(screen), viewOf(&tiles), viewOf(&sprites), &colours, &video};
    }
    void render()
    {
        video.layout.setClipWindow(0, 0, 0, 0);
        const konamiTile::TileFrame f = frame();
        konamiTile::updateBackground(f);
        konamiTile::copyBackground(f);
        konamiTile::drawSprites(f);
    }
    uint16_t at(int x, int y) const
    {
        uint16_t v;
        std::memcpy(&v, screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()) + 2 * std::size_t(x), 2);
        return v;
    }
    uint8_t& bg(int x, int y) { return video.background.pixels[std::size_t(y * video.background.width + x)]; }
};

TEST_F(Render, ACellIsRedrawnOnlyWhenItsCodeOrAttributeChanged)
{
    use(TrackNField, 256, 224);
    render();
    // Cell (col 3, row 4) at background (24, 32); another at (col 5, row 4).
    const uint8_t drawn = bg(24, 32);
    bg(24, 32) = 0x77;
    bg(40, 32) = 0x77;
    render();
    EXPECT_EQ(bg(24, 32), 0x77) << "an unchanged cell is left alone";
    memory[0x3000 + 4 * 64 + 5 + 0x800] = 0x03; // attribute of the second cell
    render();
    EXPECT_EQ(bg(24, 32), 0x77);
    EXPECT_NE(bg(40, 32), 0x77) << "a new attribute redraws the cell";
    memory[0x3000 + 4 * 64 + 3] = 1; // code of the first
    render();
    EXPECT_NE(bg(24, 32), 0x77);
    memory[0x3000 + 4 * 64 + 3] = 0;
    render();
    EXPECT_EQ(bg(24, 32), drawn);
    // Rows 0, 1, 30 and 31 are not part of the picture: never drawn.
    bg(0, 0) = 0x66;
    memory[0x3000] = 9;
    render();
    EXPECT_EQ(bg(0, 0), 0x66);
}

TEST_F(Render, TrackFieldAttributeGivesTileBankFlipsAndGroup)
{
    use(TrackNField, 256, 224);
    const int col = 2, row = 3;
    memory[0x3000 + row * 64 + col] = 0x10;
    memory[0x3000 + row * 64 + col + 0x800] = 0x40 | 0x10 | 0x01; // tile 0x110, X flip, group 1
    render();
    const uint8_t* lookup = colourLookupOf(TrackNField).data() + 64;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int pen = (0x110 + (7 - x) + y) % 15 + 1;
            ASSERT_EQ(bg(8 * col + x, 8 * row + y), lookup[pen]) << x << "," << y;
            ASSERT_EQ(at(8 * col + x, 8 * row + y - 16), colours.colour16[0][lookup[pen]]);
        }
}

TEST_F(Render, TrackFieldRowScrollTakesItsNinthBitFromTheSecondHalf)
{
    use(TrackNField, 256, 224);
    render();
    for (int x = 0; x < 512; ++x)
        for (int y = 40; y < 48; ++y)
            bg(x, y) = static_cast<uint8_t>(x & 0xFF ? x & 0xFF : 1);
    memory[0x1840 + 5] = 300 & 0xFF; // row 5: 300
    memory[0x1840 + 5 + 0x400] = 1;
    render();
    for (int x = 0; x < 256; ++x) {
        const int source = x < 212 ? 300 + x : x - 212;
        ASSERT_EQ(at(x, 8 * 5 - 16), colours.colour16[0][source & 0xFF ? source & 0xFF : 1]) << x;
    }
}

TEST_F(Render, TrackFieldSpriteAtTheRightEdgeComesInAgainOnTheLeft)
{
    use(TrackNField, 256, 224);
    const int top = 225 - 100;
    render();
    const uint16_t withoutSprite = at(0, top + 3);
    memory[0x1800] = 0x40; // entry 0: attribute (bit 6: no X flip), y
    memory[0x1801] = 100;
    memory[0x1C00] = 250; // x, code
    memory[0x1C01] = 1;
    render();
    const uint8_t* lookup = colourLookupOf(TrackNField).data() + 16 * 64;
    for (int i = 0; i < 16; ++i) {
        const int x = i < 7 ? 249 + i : -7 + i;
        const int pen = i < 8 ? i + 1 : 0;
        if (pen) {
            EXPECT_EQ(at(x, top + 3), colours.colour16[0][lookup[pen]]) << i;
        }
    }
    // A y byte of 0 hides the entry.
    memory[0x1801] = 0;
    render();
    EXPECT_EQ(at(0, top + 3), withoutSprite);
}

TEST_F(Render, CircusCharlieKeepsTheTopStillAndScrollsTheRest)
{
    use(CircusCharlie, 256, 256);
    render();
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            bg(x, y) = static_cast<uint8_t>(x ^ y);
    render();
    for (int y : {0, 79, 80, 255})
        for (int x : {0, 100, 255})
            EXPECT_EQ(at(x, y), colours.colour16[0][uint8_t(x ^ y)]) << "scroll 0 at " << x << "," << y;
    memory[0x1C00] = 10;
    render();
    EXPECT_EQ(at(5, 40), colours.colour16[0][uint8_t(5 ^ 40)]);
    EXPECT_EQ(at(0, 100), colours.colour16[0][uint8_t(245 ^ 100)]);
    EXPECT_EQ(at(11, 100), colours.colour16[0][uint8_t(0 ^ 100)]);
}

TEST_F(Render, AColourChangeShowsOnUnchangedTilesWithoutRedrawing)
{
    use(HyperSports, 256, 224);
    memory[0x2000 + 4 * 64 + 1] = 7;
    render();
    const uint8_t value = bg(8, 32);
    ASSERT_NE(value, 0);
    colours.colour16[0][value] = 0xBEEF;
    render();
    EXPECT_EQ(bg(8, 32), value) << "the background keeps the logical colour";
    EXPECT_EQ(at(8, 32 - 16), 0xBEEF);
}

TEST_F(Render, RockNRopeColumnsRunRightToLeftFromTheSixtyFourthByte)
{
    use(RockNRope, 224, 256);
    // k = 4 (x = 216), j = 2: byte 64 + 4 + 64; attribute 0x400 below it: Y flip, group 2.
    const std::size_t at = 0x4C00 + 64 + 4 + 32 * 2;
    memory[at] = 5;
    memory[at - 0x400] = 0x40 | 0x02;
    render();
    const uint8_t* lookup = colourLookupOf(RockNRope).data() + 2 * 64;
    EXPECT_EQ(bg(216, 16), lookup[(5 + 0 + 7) % 15 + 1]);
    EXPECT_EQ(this->at(216 + 3, 16 + 6), colours.colour16[0][lookup[(5 + 3 + 1) % 15 + 1]]);
}

} // namespace
} // namespace vortastr::test
