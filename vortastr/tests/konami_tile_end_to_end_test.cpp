// The generated test ROM sets of the tile-and-sprite boards run through the whole emulator,
// headless: the picture is checked against what the test computes from the art it encoded
// into the graphics ROMs (title, flipped tiles in their groups, the scrolled band, the sprite
// where the program put it), and a fixed script gives the same picture every time.
#include "boards/board.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"
#include "tests/tile_art_expect.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cstring>
#include <map>

namespace vortastr::test {
namespace {

using testrom::TileBoard;

struct BoardCase {
    const char* code;
    GameId game;
    TileBoard board;
    int width, height;
    const char* script; // moves the sprite right (and down) for a while
};

const BoardCase kCases[] = {
    {"TF", TrackNField, TileBoard::TrackField, 256, 224, "10:Right,40:Right+Shift,60:-"},
    {"HS", HyperSports, TileBoard::HyperSports, 256, 224, "10:Right,40:Right+Shift,60:-"},
    {"RR", RockNRope, TileBoard::RockNRope, 224, 256, "10:Right,40:Right+Down,60:-"},
    {"RM", RopeMan, TileBoard::RockNRope, 224, 256, "10:Right,40:Right+Down,60:-"},
    {"CH", CircusCharlie, TileBoard::CircusCharlie, 256, 256, "10:Right,40:Right+Down,60:-"},
    {"C2", CircusCharlie2, TileBoard::CircusCharlie, 256, 256, "10:Right,40:Right+Down,60:-"},
};

// Screen position of the sprite for the program's position bytes.
void spriteOnScreen(TileBoard board, int x, int y, int& sx, int& sy)
{
    switch (board) {
    case TileBoard::TrackField:
    case TileBoard::HyperSports: sx = x - 1, sy = 225 - y; break;
    case TileBoard::RockNRope: sx = x - 17, sy = y; break;
    case TileBoard::CircusCharlie: sx = 239 - x, sy = y; break;
    }
}

struct TileEndToEnd : ::testing::TestWithParam<BoardCase> {
    TempFolder folder;
    void SetUp() override
    {
        keyStates().releaseAll(); // keys a script of an earlier test left held
        std::string error;
        ASSERT_TRUE(testrom::writeTileTestRomSets(folder.str(), "", error)) << error;
    }
};

TEST_P(TileEndToEnd, TitleFlipsBandAndSpriteAppearWhereTheProgramPutThem)
{
    const BoardCase c = GetParam();
    RunningGame game(folder.str(), c.code);
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    ASSERT_TRUE(game.host().messages.empty());
    game.play(c.script, 90);
    ASSERT_EQ(board().game, c.game);
    const Emulator& emu = game.emu();
    const ScreenSurface& screen = emu.display.presented;
    ASSERT_EQ(screen.width(), c.width);
    ASSERT_EQ(screen.height(), c.height);

    const testrom::TileProgramFacts facts = testrom::tileProgramFacts(c.board);
    const uint8_t* memory = board().data();
    const int x = memory[facts.spriteX], y = memory[facts.spriteY];
    EXPECT_NE(x, facts.startX) << "the sprite moved sideways";
    EXPECT_NE(y, facts.startY) << "and down";

    // The fixed picture, cell for cell, except where the sprite lies over it.
    int sx = 0, sy = 0;
    spriteOnScreen(c.board, x, y, sx, sy);
    for (const testrom::PlacedTile& t : testrom::fixedTiles(c.board)) {
        const int px = 8 * t.cellX, py = 8 * t.cellY;
        if (px + 8 > sx && px < sx + 16 && py + 8 > sy && py < sy + 16)
            continue;
        expectArtTile(emu, c.game, t, px, py, "fixed");
    }

    // The sprite, opaque pens only (pen 0 shows what lies behind).
    const int group = (facts.spriteAttr & 15) + 16;
    int checked = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            const int pen = testrom::spriteArtPen(testrom::kSpriteCode, i, j);
            if (!pen || sx + i < 0 || sx + i >= c.width || sy + j < 0 || sy + j >= c.height)
                continue;
            ASSERT_EQ(pixel16(screen, sx + i, sy + j), artColour(emu, c.game, group, pen))
                << "sprite " << i << "," << j;
            ++checked;
        }
    EXPECT_GT(checked, 100);

    // The scrolled band: every band cell whose pixels land fully on screen away from the sprite.
    if (!facts.scroll)
        return;
    std::map<std::pair<int, int>, testrom::PlacedTile> band;
    int mapWidth = 0;
    for (const testrom::PlacedTile& t : testrom::bandTiles(c.board)) {
        band[{t.cellX, t.cellY}] = t;
        mapWidth = std::max(mapWidth, 8 * (t.cellX + 1));
    }
    const int scroll = memory[facts.scroll];
    EXPECT_GT(scroll, 0) << "the band scrolled";
    const bool trackLike = c.board != TileBoard::CircusCharlie;
    int bandPixels = 0;
    for (const auto& [cell, t] : band) {
        // Screen position of the cell: map x minus scroll (wrapped), line 8 r (- 16 on 64-wide maps).
        const int shift = trackLike ? scroll : (scroll == 0 ? 0 : 255 - scroll);
        const int screenX = ((8 * t.cellX - shift) % mapWidth + mapWidth) % mapWidth;
        const int screenY = trackLike ? 8 * t.cellY - 16 : 8 * t.cellY;
        if (screenX + 8 > c.width || (screenX + 8 > sx && screenX < sx + 16 && screenY + 8 > sy && screenY < sy + 16))
            continue;
        expectArtTile(emu, c.game, t, screenX, screenY, "band");
        ++bandPixels;
    }
    EXPECT_GT(bandPixels, 40);
}

TEST_P(TileEndToEnd, AFixedScriptGivesTheSamePictureEveryTime)
{
    const BoardCase c = GetParam();
    auto run = [&](const std::string& script) {
        // Each run starts as the first: no high-score table left behind by the run before.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
            if (entry.path().extension() == ".hsc")
                std::filesystem::remove(entry.path());
        const HeadlessRun run = runHeadless(folder.str(), c.code, script, 80);
        EXPECT_EQ(run.status, 0);
        EXPECT_FALSE(run.messages);
        return run.picture;
    };
    const auto first = run(c.script);
    EXPECT_EQ(run(c.script), first);
    EXPECT_NE(run("10:Left,60:-"), first);
}

TEST(TileEndToEndEightBit, TheBackgroundHoldsPaletteIndicesOnAnEightBitScreen)
{
    keyStates().releaseAll();
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(testrom::writeTileTestRomSets(folder.str(), "trackfld", error)) << error;
    RunningGame game(folder.str(), "TF", 8);
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    game.frames(20);
    const ScreenSurface& screen = game.emu().display.presented;
    ASSERT_EQ(screen.format(), PixelFormat::Indexed8);
    const ColourTables& colours = game.emu().colours;
    for (const testrom::PlacedTile& t : testrom::fixedTiles(TileBoard::TrackField))
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int pen = testrom::tileArtPen(t.tile, t.flipX ? 7 - x : x, t.flipY ? 7 - y : y);
                const uint8_t logical = colourLookupOf(TrackNField)[std::size_t(t.group * 64 + pen)];
                ASSERT_EQ(screen.pixels()[std::size_t(8 * t.cellY + y) * 256 + std::size_t(8 * t.cellX + x)],
                          colours.index8[logical])
                    << "tile " << t.tile << " pixel " << x << "," << y;
            }
}

INSTANTIATE_TEST_SUITE_P(Boards, TileEndToEnd, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BoardCase>& info) { return std::string(info.param.code); });

} // namespace
} // namespace vortastr::test
