// MegaZone's wrap-around copy at every edge, Shaolin's Road's unflipped tiles and sprite bank,
// and which MegaZone sprite entries are drawn, over the shared tile pipeline.
#include "boards/konami_tile/mega_zone_board.h"
#include "boards/konami_tile/shaolin_board.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vortastr::test {
namespace {

struct JoystickRender : ::testing::Test {
    std::vector<uint8_t> memory = std::vector<uint8_t>(0x20000, 0);
    GraphicsSheet tiles, sprites;
    ColourTables colours;
    TileVideo video;
    ScreenSurface screen{256, 256, PixelFormat::Rgb565};
    GameId game = NoGame;

    void SetUp() override
    {
        tiles.units = 4;
        tiles.pixels.assign(4 * kUnitBytes, 0);
        sprites.units = 4;
        sprites.pixels.assign(4 * kUnitBytes, 0);
        // Tile t: pen 1 at its top-left pixel only. Sprite s: pen 1 + s % 15 on its left column.
        for (int t = 0; t < 512; ++t)
            tiles.pixels[std::size_t((t >> 4) * 8 * kSheetWidth + (t & 15) * 8)] = 1;
        for (int s = 0; s < 256; ++s)
            for (int y = 0; y < 16; ++y)
                sprites.pixels[std::size_t(((s >> 3) * 16 + y) * kSheetWidth + (s & 7) * 16)] =
                    static_cast<uint8_t>(1 + s % 15);
        setIdentityIndexMapping(colours);
        for (int i = 0; i < 256; ++i)
            colours.colour16[0][std::size_t(i)] = static_cast<uint16_t>(0x100 + i);
    }
    void use(GameId g)
    {
        game = g;
        colours.colourLookup = colourLookupOf(g).data();
        ASSERT_TRUE(konamiTile::setUpVideo(g, memory.data(), video));
    }
    void render()
    {
        video.layout.setClipWindow(0, 0, 0, 0);
        const konamiTile::TileFrame f{
            game, memory.data(), describeSurface(screen), viewOf(&tiles), viewOf(&sprites), &colours, &video};
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
};

TEST_F(JoystickRender, MegaZoneWrapsTheWholeBackgroundAtBothEdgesInBothDirections)
{
    use(MegaZone);
    render();
    // A background where every pixel names its own position.
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            video.background.pixels[std::size_t(y * 256 + x)] = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
    const struct {
        uint8_t ch, c;
        int dx, dy; // where background (0, 0) shows
    } cases[] = {{0, 0, 0, 0},       {0, 255, 0, 0},   {5, 0, 5, 255},     {0, 1, 0, 254},
                 {255, 254, 255, 1}, {1, 128, 1, 127}, {200, 77, 200, 178}};
    for (const auto& c : cases) {
        memory[0x1000] = c.c;
        memory[0x1800] = c.ch;
        video.layout.setClipWindow(0, 0, 0, 0);
        const konamiTile::TileFrame f{
            game, memory.data(), describeSurface(screen), viewOf(&tiles), viewOf(&sprites), &colours, &video};
        konamiTile::copyBackground(f);
        int wrong = 0;
        for (int sy = 0; sy < 256; ++sy)
            for (int sx = 0; sx < 256; ++sx) {
                const int bx = (sx - c.dx) & 255, by = (sy - c.dy) & 255;
                if (at(sx, sy) != 0x100 + ((bx * 7 + by * 13) & 0xFF))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "ch " << int(c.ch) << " c " << int(c.c);
    }
}

TEST_F(JoystickRender, ShaolinTilesIgnoreTheFlipBitsAndSpritesUseTheBank)
{
    use(ShaolinsRoad);
    // Cell (k 2, j 3) at byte 992 + 3 - 64, attribute 0x400 above: bits 4-6 set, group 2, tile 256+.
    const std::size_t cell = konamiTile::shaolinPort::kVideoRam + 992 + 3 - 64;
    memory[cell] = 5;
    memory[cell + 0x400] = 0xF2;
    // Sprite entry 0: x 40, code 3 with an X flip, colour 9 (group 1), y 60; bank 2.
    const std::size_t e = konamiTile::shaolinPort::kSpriteRam;
    memory[e] = 40, memory[e + 1] = 0x83, memory[e + 2] = 9, memory[e + 3] = 60;
    memory[konamiTile::shaolinPort::kSpriteBank] = 2;
    render();
    const uint8_t* lookupOf = colours.colourLookup;
    EXPECT_EQ(at(16, 24), 0x100 + lookupOf[2 * 64 + 1]) << "tile 261 unflipped: pen 1 at its top left";
    EXPECT_EQ(at(23, 31), 0x100 + lookupOf[2 * 64]);
    // Sprite 3 + 64 x 2 = 131: pen 1 + 131 % 15 on its left column, flipped to the right.
    EXPECT_EQ(at(40 + 15, 60), 0x100 + lookupOf[64 + (1 + 131 % 15)]);
    EXPECT_EQ(at(40, 60), 0x100 + lookupOf[0]);
}

TEST_F(JoystickRender, MegaZoneDrawsSpritesRightOfZeroAndBelowLineSixteen)
{
    use(MegaZone);
    const struct {
        uint8_t attr, x, code, y;
        bool drawn;
    } cases[] = {{0x01, 30, 2, 40, true}, {0x01, 0, 2, 40, false}, {0x01, 30, 2, 16, false}, {0x81, 30, 2, 17, true}};
    for (const auto& c : cases) {
        std::memset(memory.data() + konamiTile::megaZonePort::kSpriteRam, 0, 256);
        uint8_t* entry = memory.data() + konamiTile::megaZonePort::kSpriteRam + 4 * 63;
        entry[0] = c.attr, entry[1] = c.x, entry[2] = c.code, entry[3] = c.y;
        render();
        const int sprite = c.code + 256 * (c.attr >> 7);
        const uint16_t pen = static_cast<uint16_t>(0x100 + colours.colourLookup[64 + 1 + sprite % 15]);
        // Code 258 lies past the 256 sprites of the sheet: nothing of it can be drawn.
        const bool visible = c.drawn && sprite < 256;
        EXPECT_EQ(at(c.x, c.y) == pen, visible) << int(c.x) << "," << int(c.y) << " code " << sprite;
    }
}

} // namespace
} // namespace vortastr::test
