// The generated Scramble and Tazmania test sets run through the whole emulator, headless; the
// picture is checked against what this test computes from the ROM files it wrote.
#include "boards/board.h"
#include "boards/scramble/scramble_board.h"
#include "boards/scramble/scramble_test_set.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace vortastr::test {
namespace {

using namespace scramble;

std::vector<uint8_t> readAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

int bit(uint8_t value, int n) { return (value >> n) & 1; }

struct Case {
    GameId game;
    const char* code;
    const char* programFile; // the first program ROM: holds the tables
    const char* plane0;
    const char* plane1;
    int shotLength;
};

struct ScrambleEndToEnd : ::testing::TestWithParam<Case> {
    TempFolder folder;
    std::vector<uint8_t> program, plane0, plane1;

    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(writeTestRomSets(folder.str(), SCRAMBLE_TEST_PROGRAMS "/scramble_test.bin",
                                     SCRAMBLE_TEST_PROGRAMS "/tazmania_test.bin", error))
            << error;
        const std::filesystem::path set = folder.path() / testRomFolder(GetParam().game);
        program = readAll(set / GetParam().programFile);
        plane0 = readAll(set / GetParam().plane0);
        plane1 = readAll(set / GetParam().plane1);
        ASSERT_GE(program.size(), kSpriteTable + 4u);
        ASSERT_EQ(plane0.size(), 2048u);
    }

    // Pens of the graphics ROMs: one bit plane per file, tiles of 8 bytes, sprites of 32, every
    // byte a raster line of the unturned picture: screen x runs against the lines, y along them.
    int tilePen(int tile, int x, int y) const
    {
        const std::size_t at = std::size_t(8 * tile + 7 - x);
        return bit(plane0[at], 7 - y) + 2 * bit(plane1[at], 7 - y);
    }
    int spritePen(int sprite, int x, int y) const
    {
        const std::size_t at = std::size_t(32 * sprite + (y < 8 ? 0 : 16) + 15 - x);
        return bit(plane0[at], 7 - y % 8) + 2 * bit(plane1[at], 7 - y % 8);
    }
    uint8_t scroll(int column) const { return program[kAttributeTable + std::size_t(2 * column)]; }
    int group(int column) const { return program[kAttributeTable + std::size_t(2 * column + 1)] & 7; }

    // The colour of background pixel (bx, line): the program gives every cell the low byte of
    // its tile RAM offset as its code.
    uint16_t background(const ColourTables& colours, int bx, int line) const
    {
        const int i = line / 8, k = bx / 8;
        const int code = (992 + i - 32 * k) & 0xFF;
        const uint8_t logical = colours.colourLookup[std::size_t(group(i) * 64 + tilePen(code, bx % 8, line % 8))];
        return colours.colour16[0][logical];
    }
    uint16_t screenX(const ColourTables& colours, int x, int line) const
    {
        const uint8_t s = scroll(line / 8);
        return background(colours, (x - (s == 255 ? 0 : s)) & 255, line);
    }
};

uint16_t pixel(const ScreenSurface& screen, int x, int y)
{
    uint16_t value;
    std::memcpy(&value, screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()) + 2 * std::size_t(x), 2);
    return value;
}

TEST_P(ScrambleEndToEnd, ColumnsScrollAndShotsAndTheSpriteFollowTheStick)
{
    RunningGame game(folder.str(), GetParam().code);
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("20:Right+Down,50:-", error);
    game.frames(80);
    ASSERT_TRUE(game.host().messages.empty());
    const uint8_t* memory = board().data();
    const ScrambleMap& map = mapOf(GetParam().game);

    // The sprite moved right and down one pixel a frame while the keys were held.
    const int x = memory[map.workRam + kSpriteXOffset], y = memory[map.workRam + kSpriteYOffset];
    const int startX = program[kSpriteTable + 2], startY = program[kSpriteTable + 3];
    EXPECT_GE(x - startX, 28);
    EXPECT_LE(x - startX, 31);
    EXPECT_EQ(y - startY, x - startX);

    const ScreenSurface& screen = game.emu().display.presented;
    const ColourTables& colours = game.emu().colours;
    ASSERT_EQ(screen.width(), 256);
    ASSERT_EQ(screen.format(), PixelFormat::Rgb565);

    // Whole bands of several columns: their colour groups and scrolls, 255 and 1 among them.
    ASSERT_EQ(scroll(1), 1);
    ASSERT_EQ(scroll(2), 255);
    for (int column : {1, 2, 3, 4, 5, 7, 13, 31}) // bands 0, 6, 18 and 23 hold shots
        for (int line = 8 * column; line < 8 * column + 8; ++line)
            for (int sx = 0; sx < 256; ++sx)
                ASSERT_EQ(pixel(screen, sx, line), screenX(colours, sx, line))
                    << "column " << column << " line " << line << " x " << sx;
    EXPECT_EQ(pixel(screen, 1, 9), background(colours, 0, 9)); // scroll 1: background x 0 at x 1
    EXPECT_NE(group(1), group(2));

    // The first shot: column 40, y 100, white on row 148, five pixels long on Scramble.
    const int length = GetParam().shotLength;
    for (int d = 0; d < length; ++d)
        EXPECT_EQ(pixel(screen, 40 + d, 148), 0xFFFF);
    EXPECT_EQ(pixel(screen, 40 + length, 148), screenX(colours, 40 + length, 148));
    // The shot at y = 250 (column 80) is not drawn.
    EXPECT_EQ(pixel(screen, 80, 0), screenX(colours, 80, 0));

    // The sprite where the program keeps it: its pens in its colour group, pen 0 transparent.
    const int code = program[kSpriteTable], spriteGroup = program[kSpriteTable + 1];
    int spritePixels = 0;
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx) {
            const int pen = spritePen(code, dx, dy);
            const uint16_t expected =
                pen ? colours.colour16[0][colours.colourLookup[std::size_t(spriteGroup * 64 + pen)]]
                    : screenX(colours, x + dx, y + dy);
            ASSERT_EQ(pixel(screen, x + dx, y + dy), expected) << dx << "," << dy;
            spritePixels += pen != 0;
        }
    EXPECT_GT(spritePixels, 150);
}

TEST_P(ScrambleEndToEnd, AFixedScriptGivesTheSamePictureEveryTime)
{
    auto run = [&](const std::string& script) {
        const HeadlessRun run = runHeadless(folder.str(), GetParam().code, script, 90);
        EXPECT_EQ(run.status, 0);
        EXPECT_FALSE(run.messages);
        return run.picture;
    };
    const std::string script = "10:Left,40:Up+Ctrl,70:-";
    const auto first = run(script);
    EXPECT_EQ(run(script), first);
    EXPECT_NE(run("10:Right,80:-"), first); // every script lets go of its keys: they outlive a run
}

INSTANTIATE_TEST_SUITE_P(Sets, ScrambleEndToEnd,
                         ::testing::Values(Case{Scramble, "SC", "scramble.1k", "scramble.15j", "scramble.15k", 5},
                                           Case{Tazmania, "TZ", "2c.cpu", "5h.cpu", "5f.cpu", 1},
                                           Case{SuperBond, "SB", "2d.cpu", "5h.cpu", "5f.cpu", 1}),
                         [](const auto& info) { return std::string(info.param.code); });

} // namespace
} // namespace vortastr::test
