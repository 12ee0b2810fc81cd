// The Scramble-type renderer on a memory image and sheets made here: band scrolling, the
// column colour cache, shots and sprites.
#include "boards/rom_files.h"
#include "boards/scramble/scramble_graphics.h"
#include "boards/scramble/scramble_video.h"
#include "tests/game_fixtures.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vortastr::test {
namespace {

using namespace scramble;

// Tile t, pixel (x, y) has pen (x + 3y + t) mod 4: no two neighbouring pixels of a row alike.
uint8_t tilePen(int t, int x, int y) { return static_cast<uint8_t>((x + 3 * y + t) & 3); }

struct ScrambleVideo : ::testing::Test {
    std::vector<uint8_t> memory = std::vector<uint8_t>(0x10000, 0);
    std::unique_ptr<GraphicsSheet> tiles = createSheet(2);
    std::unique_ptr<GraphicsSheet> sprites = createSheet(1);
    ColourTables colours;
    ScreenSurface screen{256, 256, PixelFormat::Indexed8};
    BackgroundCache cache;
    VideoInputs in;

    void SetUp() override
    {
        for (int t = 0; t < 512; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    tiles->pixels[std::size_t(((t >> 4) * 8 + y) * 128 + (t & 15) * 8 + x)] = tilePen(t, x, y);
        // Sprite 1: pen 2 everywhere but its top-left pixel (pen 1) and its bottom row (pen 0).
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x)
                sprites->pixels[std::size_t(y * 128 + 16 + x)] = x == 0 && y == 0 ? 1 : 2;
        colours.colourLookup = colourLookupOf(Scramble).data();
        setIdentityIndexMapping(colours); // screen values are the logical colours
        in.memory = memory.data();
        in.layout = videoLayoutOf(Scramble);
        in.tiles = tiles.get();
        in.sprites = sprites.get();
        for (int i = 0; i < 1024; ++i)
            memory[in.layout.tileRam + std::size_t(i)] = static_cast<uint8_t>(i * 7);
        for (int i = 0; i < kColumns; ++i)
            attribute(i, 255, 0);
    }
    void attribute(int column, uint8_t scroll, uint8_t colour)
    {
        memory[in.layout.attributeRam + std::size_t(2 * column)] = scroll;
        memory[in.layout.attributeRam + std::size_t(2 * column + 1)] = colour;
    }
    uint8_t at(int x, int y) const { return screen.pixels()[std::size_t(y) * 256 + std::size_t(x)]; }
    // The logical colour of background pixel (bx, line) from the rules of the map.
    uint8_t expectedBackground(int bx, int line) const
    {
        const int i = line / 8, k = bx / 8;
        const int tile = memory[in.layout.tileRam + std::size_t(992 + i - 32 * k)] + 256 * (in.tileBank & 1);
        const int group = memory[in.layout.attributeRam + std::size_t(2 * i + 1)] & 7;
        return colours.colourLookup[std::size_t(group * 64 + tilePen(tile, bx % 8, line % 8))];
    }
    void render() { renderFrame(screen, cache, in, colours); }
};

TEST_F(ScrambleVideo, BandsScrollRightWithAFullWrapAnd255ShowsThemAsTheyAre)
{
    struct Case {
        uint8_t scroll;
        int shift;
    };
    const Case cases[] = {{255, 0}, {0, 0}, {1, 1}, {8, 8}, {200, 200}, {254, 254}};
    for (int n = 0; n < 6; ++n)
        attribute(n, cases[n].scroll, static_cast<uint8_t>(n + 1));
    screen.fill(0xEE); // a stale picture must not survive anywhere
    render();
    for (int n = 0; n < 6; ++n)
        for (int line = 8 * n; line < 8 * n + 8; ++line)
            for (int x = 0; x < 256; ++x)
                ASSERT_EQ(at(x, line), expectedBackground((x - cases[n].shift) & 255, line))
                    << "scroll " << int(cases[n].scroll) << " x " << x << " line " << line;
    // Scroll byte 1 puts background x 0 at screen x 1 and the last background column at x 0.
    EXPECT_EQ(at(1, 16), expectedBackground(0, 16)); // band 2 has scroll byte 1
    EXPECT_EQ(at(0, 16), expectedBackground(255, 16));
}

TEST_F(ScrambleVideo, AColumnsColourChangeRedrawsExactlyItsCellsAndNoChangeNothing)
{
    EXPECT_EQ(updateBackground(cache, in, colours), 1024); // the first frame draws every cell
    EXPECT_EQ(updateBackground(cache, in, colours), 0);
    attribute(7, 255, 5);
    EXPECT_EQ(updateBackground(cache, in, colours), 32);
    render();
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(at(x, 7 * 8 + 3), expectedBackground(x, 7 * 8 + 3));
    // Only bits 0-2 of the colour byte count; a scroll change redraws no cell.
    attribute(7, 3, 5 | 0xF8);
    EXPECT_EQ(updateBackground(cache, in, colours), 0);
    memory[in.layout.tileRam + 992 + 4 - 32 * 9] ^= 1; // one code of column 4
    EXPECT_EQ(updateBackground(cache, in, colours), 1);
    in.tileBank = 1; // every tile number changes
    EXPECT_EQ(updateBackground(cache, in, colours), 1024);
    render();
    EXPECT_EQ(at(12, 100), expectedBackground(12, 100));
}

TEST_F(ScrambleVideo, ShotsAreWhiteLinesOfTheirStyleAndRowsAbove0Only)
{
    struct Shot {
        uint8_t column, y;
    };
    const Shot shots[] = {{40, 100}, {253, 60}, {80, 250}, {0, 50}, {120, 0}, {10, 248}};
    for (int n = 0; n < 6; ++n) {
        memory[in.layout.shotRam + std::size_t(4 * n + 1)] = shots[n].column;
        memory[in.layout.shotRam + std::size_t(4 * n + 3)] = shots[n].y;
    }
    for (const ShotStyle style : {ShotStyle::FivePixels, ShotStyle::OnePixel}) {
        screen.fill(0);
        drawShots(screen, memory.data() + in.layout.shotRam, style);
        const int length = style == ShotStyle::FivePixels ? 5 : 1;
        int white = 0;
        for (std::size_t i = 0; i < screen.byteCount(); ++i)
            white += screen.pixels()[i] == 0xFF;
        EXPECT_EQ(white, length + std::min(length, 3) + length); // 40/148, 253/188 (cut), 10/0
        for (int d = 0; d < length; ++d) {
            EXPECT_EQ(at(40 + d, 148), 0xFF);
            EXPECT_EQ(at(10 + d, 0), 0xFF);
        }
        EXPECT_EQ(at(40 + length, 148), 0);
        EXPECT_EQ(at(253, 188), 0xFF);
    }
    // Sixteen-bit screens get 0xFFFF.
    ScreenSurface wide(256, 256, PixelFormat::Rgb565);
    drawShots(wide, memory.data() + in.layout.shotRam, ShotStyle::OnePixel);
    EXPECT_EQ(wide.pixels()[std::size_t(148 * 512 + 80)], 0xFF);
    EXPECT_EQ(wide.pixels()[std::size_t(148 * 512 + 81)], 0xFF);
    EXPECT_EQ(videoLayoutOf(Scramble).shots, ShotStyle::FivePixels);
    EXPECT_EQ(videoLayoutOf(Tazmania).shots, ShotStyle::OnePixel);
    EXPECT_EQ(videoLayoutOf(SuperBond).shotRam, 0x9060);
}

TEST_F(ScrambleVideo, SpritesFlipAndLeavePen0AndAnEmptyPositionUndrawn)
{
    struct Case {
        uint8_t codeByte;
        int markX, markY; // where the pen-1 pixel lands, from the sprite's corner
    };
    const Case cases[] = {{0x01, 0, 0}, {0x81, 15, 0}, {0x41, 0, 15}, {0xC1, 15, 15}};
    for (const Case& c : cases) {
        screen.fill(0);
        uint8_t* entry = memory.data() + in.layout.spriteRam;
        entry[0] = 100;
        entry[1] = c.codeByte;
        entry[2] = 2;
        entry[3] = 50;
        drawSprites(screen, in, colours);
        EXPECT_EQ(at(100 + c.markX, 50 + c.markY), colours.colourLookup[2 * 64 + 1]) << int(c.codeByte);
        // The pen-0 row is transparent: it lies at the bottom, or at the top when flipped in y.
        const int emptyRow = c.codeByte & 0x40 ? 50 : 65;
        EXPECT_EQ(at(107, emptyRow), 0);
    }
    screen.fill(0);
    memory[in.layout.spriteRam + 3] = 0; // y = 0: not drawn
    drawSprites(screen, in, colours);
    EXPECT_EQ(at(107, 55), 0);
    // The sprite bank adds 64 codes: sprite 65 lies past this one-unit sheet and draws nothing.
    memory[in.layout.spriteRam + 3] = 50;
    in.spriteBank = 1;
    drawSprites(screen, in, colours);
    EXPECT_EQ(at(107, 55), 0);
}

TEST(ScramblePalette, TheColourPromFilesAreDecodedWithTheDefaultLookup)
{
    TempFolder folder;
    writeFile(folder.path() / "tazmania" / "colr6f.cpu", {0x00, 0xF6, 0x3F, 0xC0});
    writeFile(folder.path() / "scramble" / "scramble.clr", {0x00, 0x07});
    romFiles().romPath = folder.str();
    StartedEmulator s("", 16);
    // SuperBond has no colour file of its own: it takes Tazmania's.
    initGamePalette(SuperBond, s.emu.display, s.emu.colours, readRomBytes);
    const RgbBank& rgb = s.emu.colours.rgb[0];
    EXPECT_EQ(rgb[1].red, 0x47 + 0x97);
    EXPECT_EQ(rgb[1].green, 0x47 + 0x97);
    EXPECT_EQ(rgb[1].blue, 0x47 + 0x97);
    EXPECT_EQ(rgb[2].red, 255);
    EXPECT_EQ(rgb[2].green, 255);
    EXPECT_EQ(rgb[3].blue, 222);
    initGamePalette(Scramble, s.emu.display, s.emu.colours, readRomBytes);
    EXPECT_EQ(s.emu.colours.rgb[0][1].red, 255);
    EXPECT_EQ(s.emu.colours.rgb[0][1].green, 0);
    romFiles().romPath = ".";
    const uint8_t* lookup = s.emu.colours.colourLookup;
    ASSERT_NE(lookup, nullptr);
    const uint8_t group1[16] = {0, 5, 6, 7, 4, 5, 6, 7, 4, 5, 6, 7, 4, 5, 6, 7};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(lookup[64 + p], group1[p]);
    EXPECT_EQ(lookup[7 * 64 + 3], 31);
}

} // namespace
} // namespace vortastr::test

namespace vortastr::test {
namespace {

TEST(ScrambleGraphics, RasterLinesOfTheRomsBecomeColumnsOfTheTurnedSheets)
{
    struct Case {
        bool sprite;
        int plane;
        std::size_t byte;
        uint8_t value;
        int x, y; // the one sheet pixel that shows it
    };
    const Case cases[] = {
        {false, 0, 7, 0x80, 0, 0},                      // tile 0, raster line 7, first pixel: top left
        {false, 1, 0, 0x01, 7, 7},                      // raster line 0, last pixel: bottom right, pen 2
        {false, 0, 8 * 17 + 3, 0x10, 8 + 4, 8 + 3},     // tile 17, line 3, pixel 3
        {true, 0, 32 * 9 + 15, 0x80, 16, 16},           // sprite 9: line 15 of the left half
        {true, 1, 32 * 9 + 16, 0x01, 16 + 15, 16 + 15}, // line 0 of the right half
    };
    for (const Case& c : cases) {
        GraphicsInputs in;
        in[0].assign(2048, 0);
        in[1].assign(2048, 0);
        in[std::size_t(c.plane)][c.byte] = c.value;
        const std::vector<uint8_t> image =
            c.sprite ? scramble::decodeSpriteImage(in, 1) : scramble::decodeTileImage(in, 1);
        int lit = 0;
        for (std::size_t i = 0; i < image.size(); ++i)
            lit += image[i] != 0;
        EXPECT_EQ(lit, 1) << c.byte;
        EXPECT_EQ(image[std::size_t(c.y * 128 + c.x)], 1 << c.plane) << c.byte;
        EXPECT_EQ(c.sprite ? decodeSpriteImage(Scramble, in, 1) : decodeCharacterImage(Tazmania, in, 1), image);
    }
}

} // namespace
} // namespace vortastr::test
