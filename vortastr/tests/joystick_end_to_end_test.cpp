// The generated test ROM sets of WhizQuiz, Shaolin's Road and MegaZone run through the whole
// emulator, headless. The whole picture is checked against what the test computes from the art
// it encoded into the graphics ROMs: the map with its title, flipped and coloured tiles, the
// scrolled band (WhizQuiz) or the picture wrapped at both edges (MegaZone), and the sprites
// where the program put them; a fixed script gives the same picture every time.
#include "boards/board.h"
#include "boards/konami_tile/joystick_test_sets.h"
#include "tests/game_fixtures.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

namespace vortastr::test {
namespace {

using testrom::JoystickBoard;

struct BoardCase {
    const char* code;
    GameId game;
    JoystickBoard board;
    int width, height;
};
void PrintTo(const BoardCase& c, std::ostream* out) { *out << c.code; }

const BoardCase kCases[] = {
    {"WQ", WhizQuiz, JoystickBoard::WhizQuiz, 256, 224},
    {"sh", ShaolinsRoad, JoystickBoard::ShaolinsRoad, 256, 256},
    {"mz", MegaZone, JoystickBoard::MegaZone, 256, 256},
};
constexpr const char* kScript = "10:Right,40:Right+Down,60:-";

// Logical colours of a picture, one per pixel.
struct Picture {
    int width, height;
    std::vector<int> colour;
    int& at(int x, int y) { return colour[std::size_t(y * width + x)]; }
};

int lookup(GameId game, int group, int pen) { return colourLookupOf(game)[std::size_t(group * 64 + pen)]; }

// The background map as the board's tile routine should draw it.
Picture expectedMap(const BoardCase& c)
{
    const int width = c.board == JoystickBoard::WhizQuiz ? 512 : 256;
    Picture map{width, 256, std::vector<int>(std::size_t(width * 256), lookup(c.game, 0, 0))};
    for (const testrom::PlacedTile& t : testrom::joystickMapTiles(c.board))
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                map.at(8 * t.cellX + x, 8 * t.cellY + y) =
                    lookup(c.game, t.group, testrom::joystickTilePen(t.tile, t.flipX ? 7 - x : x, t.flipY ? 7 - y : y));
    return map;
}

void drawExpectedSprite(Picture& p, const BoardCase& c, int sx, int sy, int sheetSprite, bool fx, bool fy, int group)
{
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            const int value = lookup(
                c.game, group, testrom::joystickSpritePen(c.board, sheetSprite, fx ? 15 - i : i, fy ? 15 - j : j));
            if (value && sx + i >= 0 && sx + i < p.width && sy + j >= 0 && sy + j < p.height)
                p.at(sx + i, sy + j) = value;
        }
}

struct JoystickEndToEnd : ::testing::TestWithParam<BoardCase> {
    TempFolder folder;
    void SetUp() override
    {
        keyStates().releaseAll(); // keys a script of an earlier test left held
        std::string error;
        ASSERT_TRUE(testrom::writeJoystickTestRomSets(folder.str(), "", error)) << error;
    }
};

TEST_P(JoystickEndToEnd, ThePictureIsTheMapScrolledWithTheSpritesWhereTheProgramPutThem)
{
    const BoardCase c = GetParam();
    RunningGame game(folder.str(), c.code);
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    ASSERT_TRUE(game.host().messages.empty());
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript(kScript, error);
    game.frames(90);
    ASSERT_EQ(board().game, c.game);
    const Emulator& emu = game.emu();
    const ScreenSurface& screen = emu.display.presented;
    ASSERT_EQ(screen.width(), c.width);
    ASSERT_EQ(screen.height(), c.height);

    const testrom::JoystickFacts facts = testrom::joystickFacts(c.board);
    const uint8_t* memory = board().data();
    ASSERT_GT(memory[facts.frameCounter], 60) << "the interrupt is taken and acknowledged every frame";
    const int x = memory[facts.spriteX], y = memory[facts.spriteY];
    EXPECT_EQ(x, facts.startX + 50) << "Right was held for 50 frames";
    EXPECT_NE(y, facts.startY) << "and Down for 20";

    // The background as the board's scroll copy shows it.
    Picture map = expectedMap(c);
    Picture want{c.width, c.height, std::vector<int>(std::size_t(c.width * c.height))};
    switch (c.board) {
    case JoystickBoard::WhizQuiz: {
        // Rows of the band scroll by the program's byte; map line 8 r shows at screen line 8 r - 16.
        const int scroll = memory[facts.scrollX];
        EXPECT_GT(scroll, 60);
        for (int sy = 0; sy < c.height; ++sy) {
            const int row = (sy + 16) / 8;
            const bool band = row >= testrom::kWhizQuizBandRow && row < testrom::kWhizQuizBandRow + 4;
            for (int sx = 0; sx < c.width; ++sx)
                want.at(sx, sy) = map.at((sx + (band ? scroll : 0)) % 512, sy + 16);
        }
        break;
    }
    case JoystickBoard::MegaZone: {
        // Background (0, 0) at screen (ch, 255 - c), wrapping at both edges in both directions.
        const int dx = memory[facts.scrollX], dy = 255 - memory[facts.scrollY];
        ASSERT_TRUE(dx > 8 && dx < 248 && dy > 8 && dy < 248) << "both wrap edges lie on the screen";
        for (int sy = 0; sy < 256; ++sy)
            for (int sx = 0; sx < 256; ++sx)
                want.at(sx, sy) = map.at((sx - dx) & 255, (sy - dy) & 255);
        break;
    }
    case JoystickBoard::ShaolinsRoad: want = map; break;
    }

    // Sprites: the still ones, then the moving one (entries drawn later lie on top).
    for (const testrom::PlacedSprite& s : testrom::stillSprites(c.board))
        drawExpectedSprite(want, c, s.x, s.y, facts.sheetSprite, s.flipX, s.flipY, s.group);
    if (c.board == JoystickBoard::WhizQuiz) {
        drawExpectedSprite(want, c, x - 1, 225 - y, facts.sheetSprite, facts.spriteFlipX, false, facts.spriteGroup);
        drawExpectedSprite(want, c, x - 257, 225 - y, facts.sheetSprite, facts.spriteFlipX, false, facts.spriteGroup);
    } else {
        drawExpectedSprite(want, c, x, y, facts.sheetSprite, facts.spriteFlipX, false, facts.spriteGroup);
    }

    // A picture of one colour would compare equal to anything drawn the same; this one has many.
    const std::set<int> colours(want.colour.begin(), want.colour.end());
    ASSERT_GE(colours.size(), 4u);
    const auto& colour16 = emu.colours.colour16[0];
    std::set<uint16_t> shown;
    for (int v : colours)
        shown.insert(colour16[std::size_t(v)]);
    ASSERT_GE(shown.size(), 4u) << "the game's colours are loaded";

    int wrong = 0;
    for (int sy = 0; sy < c.height; ++sy)
        for (int sx = 0; sx < c.width; ++sx) {
            uint16_t got;
            std::memcpy(&got, screen.pixels() + std::size_t(sy) * std::size_t(screen.pitch()) + 2 * std::size_t(sx), 2);
            if (got != colour16[std::size_t(want.at(sx, sy))] && ++wrong <= 5)
                ADD_FAILURE() << c.code << " pixel " << sx << "," << sy << ": " << got << " instead of "
                              << colour16[std::size_t(want.at(sx, sy))];
        }
    EXPECT_EQ(wrong, 0);
}

TEST_P(JoystickEndToEnd, AFixedScriptGivesTheSamePictureEveryTime)
{
    const BoardCase c = GetParam();
    auto run = [&](const std::string& script) {
        // Each run starts as the first: no high-score table left behind by the run before.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
            if (entry.path().extension() == ".hsc")
                std::filesystem::remove(entry.path());
        const HeadlessRun r = runHeadless(folder.str(), c.code, script, 80);
        EXPECT_EQ(r.status, 0);
        EXPECT_FALSE(r.messages);
        return r.picture;
    };
    const auto first = run(kScript);
    EXPECT_EQ(run(kScript), first);
    EXPECT_NE(run("10:Left,60:-"), first);
}

INSTANTIATE_TEST_SUITE_P(Boards, JoystickEndToEnd, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BoardCase>& info) { return std::string(info.param.code); });

} // namespace
} // namespace vortastr::test
