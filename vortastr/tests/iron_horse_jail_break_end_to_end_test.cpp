// The generated Iron Horse and Jail Break sets run through the whole emulator, headless: the
// picture is checked against what the test computes from the art the sets encoded (title and
// patterns from Iron Horse's tile bank 1, flipped tiles, the scrolled band, the flipped sprite
// where the program moved it, and no trace of the decoy in Iron Horse's other sprite RAM), and
// a fixed script gives the same picture every time.
#include "boards/board.h"
#include "boards/konami_tile/iron_horse_jail_break_test_sets.h"
#include "tests/game_fixtures.h"
#include "tests/tile_art_expect.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

using testrom::HorseBreakBoard;
using testrom::PlacedTile;

struct BoardCase {
    const char* code;
    GameId game;
    HorseBreakBoard board;
};

const BoardCase kCases[] = {
    {"IH", IronHorse, HorseBreakBoard::IronHorse},
    {"JB", JailBreak, HorseBreakBoard::JailBreak},
};

constexpr const char* kScript = "10:Right,40:Right+Down,60:-";

struct HorseBreakEndToEnd : ::testing::TestWithParam<BoardCase> {
    TempFolder folder;
    void SetUp() override
    {
        keyStates().releaseAll(); // keys a script of an earlier test left held
        std::string error;
        ASSERT_TRUE(testrom::writeHorseBreakTestRomSets(folder.str(), "", error)) << error;
    }
};

bool overlaps(int x, int y, int w, int h, int sx, int sy)
{
    return x + w > sx && x < sx + 16 && y + h > sy && y < sy + 16;
}

TEST_P(HorseBreakEndToEnd, TitleFlipsBandAndSpriteAppearWhereTheProgramPutThem)
{
    const BoardCase c = GetParam();
    RunningGame game(folder.str(), c.code);
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    ASSERT_TRUE(game.host().messages.empty());
    game.play(kScript, 90);
    ASSERT_EQ(board().game, c.game);
    const Emulator& emu = game.emu();
    const ScreenSurface& screen = emu.display.presented;
    ASSERT_EQ(screen.width(), 256);
    ASSERT_EQ(screen.height(), 256);

    const testrom::HorseBreakFacts facts = testrom::horseBreakFacts(c.board);
    const uint8_t* memory = board().data();
    const int sx = memory[facts.spriteX], sy = memory[facts.spriteY];
    EXPECT_GT(memory[facts.frameCounter], 30) << "the interrupt was taken and acknowledged";
    EXPECT_GT(sx, facts.startX) << "the sprite moved right";
    EXPECT_GT(sy, facts.startY) << "and down";

    // The fixed picture, cell for cell, except under the sprite. Iron Horse's decoy sprite lies
    // over the title, so a wrongly chosen sprite RAM fails here.
    for (const PlacedTile& t : testrom::horseBreakFixedTiles(c.board))
        if (!overlaps(8 * t.cellX, 8 * t.cellY, 8, 8, sx, sy))
            expectArtTile(emu, c.game, t, 8 * t.cellX, 8 * t.cellY, "fixed");

    // The sprite in its flips and group, opaque pens only.
    const int group = facts.spriteAttr & 15;
    int checked = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            const int pen = testrom::spriteArtPen(testrom::kSpriteCode, facts.spriteFlipX ? 15 - i : i,
                                                  facts.spriteFlipY ? 15 - j : j);
            if (!pen)
                continue;
            ASSERT_EQ(pixel16(screen, sx + i, sy + j), artColour(emu, c.game, group, pen))
                << "sprite " << i << "," << j;
            ++checked;
        }
    EXPECT_GT(checked, 100);

    // The band, scrolled left with wrap-around (Iron Horse shows a value of 255 unscrolled).
    const int value = memory[facts.scroll];
    EXPECT_GT(value, 0) << "the band scrolled";
    const int shift = c.board == HorseBreakBoard::IronHorse && value == 255 ? 0 : value;
    int cells = 0;
    for (const PlacedTile& t : testrom::horseBreakBandTiles(c.board)) {
        const int x = ((8 * t.cellX - shift) % facts.mapWidth + facts.mapWidth) % facts.mapWidth, y = 8 * t.cellY;
        if (x + 8 > 256 || overlaps(x, y, 8, 8, sx, sy))
            continue;
        expectArtTile(emu, c.game, t, x, y, "band");
        ++cells;
    }
    EXPECT_GT(cells, 100);
}

TEST_P(HorseBreakEndToEnd, AFixedScriptGivesTheSamePictureEveryTime)
{
    std::vector<std::vector<uint8_t>> pictures;
    for (const char* script : {kScript, kScript, "10:Left,60:-"}) {
        HeadlessRun r = runHeadless(folder.str(), GetParam().code, script, 80);
        EXPECT_EQ(r.status, 0) << script;
        EXPECT_FALSE(r.messages) << script;
        pictures.push_back(std::move(r.picture));
    }
    EXPECT_EQ(pictures[1], pictures[0]);
    EXPECT_NE(pictures[2], pictures[0]) << "another script, another picture";
}

INSTANTIATE_TEST_SUITE_P(Boards, HorseBreakEndToEnd, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BoardCase>& info) { return std::string(info.param.code); });

} // namespace
} // namespace vortastr::test
