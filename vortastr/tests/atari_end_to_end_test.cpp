// The generated Crystal Castles and Tunnel Hunt test sets run through the whole emulator,
// headless; the expected pixels come from the ROM files the test wrote.
#include "boards/atari/crystal_castles_board.h"
#include "boards/atari/testrom/atari_test_set.h"
#include "boards/board.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace vortastr::test {
namespace {

using namespace atari::testset;

std::vector<uint8_t> readRom(const TempFolder& folder, const std::string& name)
{
    std::ifstream in(romFile(folder, name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint16_t pixel(const ScreenSurface& screen, int x, int y)
{
    uint16_t value;
    std::memcpy(&value, screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()) + 2 * std::size_t(x), 2);
    return value;
}

// Where a pixel written at board (x, y) shows: the bitmap starts at line 24, on screen line 16.
constexpr int kScreenLineOffset = 16 - 24;

struct AtariEndToEnd : ::testing::Test {
    TempFolder folder;
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(writeCrystalCastlesTestSet(folder.str(), error)) << error;
        ASSERT_TRUE(writeTunnelHuntTestSet(folder.str(), error)) << error;
    }

    std::vector<uint8_t> snapshot(const std::string& code, const std::string& script, int frames)
    {
        const HeadlessRun run = runHeadless(folder.str(), code, script, frames);
        EXPECT_EQ(run.status, 0);
        EXPECT_FALSE(run.messages);
        EXPECT_EQ(run.width, 256);
        return run.picture;
    }
};

TEST_F(AtariEndToEnd, AFixedScriptGivesTheSamePictureEveryTime)
{
    const std::string script = "10:Right,40:Down,60:-";
    const auto first = snapshot("CC", script, 90);
    EXPECT_EQ(snapshot("CC", script, 90), first);
    EXPECT_NE(snapshot("CC", "10:Left", 90), first);
}

TEST_F(AtariEndToEnd, CastlesFiguresBanksAndTheTrackballSprite)
{
    RunningGame game(folder.str(), "CC");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    ASSERT_EQ(board().game, CrystalCastles);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("20:Right,50:-", error);
    game.frames(19);
    const AtariState& state = board().family.atari;
    EXPECT_EQ(state.trackballH, 0);
    game.frames(60);
    // One read of each counter a frame: 30 frames of Right moved H up 4 and V down 2 each.
    EXPECT_GE(state.trackballH, 4 * 29);
    EXPECT_LE(state.trackballH, 4 * 31);
    EXPECT_EQ(uint8_t(-state.trackballV), state.trackballH / 2);

    const ScreenSurface& screen = game.emu().display.presented;
    const auto& colour = game.emu().colours.colour16[0];
    for (const Figure& f : kFigures)
        for (int i = 0; i < f.count; ++i)
            EXPECT_EQ(pixel(screen, f.x + i * f.stepX, f.y + i * f.stepY + kScreenLineOffset), colour[f.colour])
                << "figure at " << f.x << "," << f.y << " pixel " << i;
    EXPECT_EQ(board().data()[kReadBackAddress], 0x55);

    // Each bank's row is drawn in the colour of its first byte.
    const uint8_t bankOne = readRom(folder, "crystalc\\136022.102").at(0);
    const uint8_t bankTwo = readRom(folder, "crystalc\\136022.303").at(0);
    EXPECT_EQ(board().data()[kBankOneByteAddress], bankOne);
    EXPECT_EQ(board().data()[kBankTwoByteAddress], bankTwo);
    EXPECT_NE(bankOne >> 4, bankTwo >> 4);
    for (int i = 0; i < kBankLineLength; ++i) {
        EXPECT_EQ(pixel(screen, kBankLineX + i, kBankOneLineY + kScreenLineOffset), colour[bankOne >> 4]);
        EXPECT_EQ(pixel(screen, kBankLineX + i, kBankTwoLineY + kScreenLineOffset), colour[bankTwo >> 4]);
    }

    // The sprite sits where the counters put it, in the pen its ROM bytes give.
    const auto first = readRom(folder, "crystalc\\136022.107"), second = readRom(folder, "crystalc\\136022.106");
    const std::size_t row0 = std::size_t(kSpriteCode) * 32;
    const int m = 3; // pixel 0 of row 0
    const int pen = (first[row0] >> m & 1) + 2 * (first[row0] >> (m + 4) & 1) + 4 * (second[row0] >> m & 1) +
                    8 * (second[row0] >> (m + 4) & 1);
    const int x = uint8_t(state.trackballH + kSpriteXBase);
    const int top = 232 - uint8_t(state.trackballV + kSpriteYBase);
    EXPECT_GT(x, kSpriteXBase + 100);
    EXPECT_EQ(pixel(screen, x, top), colour[pen]);
    EXPECT_EQ(pixel(screen, x + 7, top + 15), colour[pen]);
    EXPECT_NE(pixel(screen, x - 1, top), colour[pen]);
    EXPECT_NE(pixel(screen, kSpriteXBase, 232 - kSpriteYBase), colour[pen]); // it left its start
}

TEST_F(AtariEndToEnd, TunnelHuntDrawsItsOneBitPattern)
{
    RunningGame game(folder.str(), "TH");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    ASSERT_EQ(board().game, TunnelHunt);
    game.loop.unpaced = true;
    game.frames(10);
    const ScreenSurface& screen = game.emu().display.presented;
    const uint16_t white = colour16Of(255, 255, 255, game.emu().display.pixelFormat);
    for (int x = 0; x < 224; ++x) {
        EXPECT_EQ(pixel(screen, x, 255), white) << x;
        EXPECT_EQ(pixel(screen, x, 255 - x), white) << x;
        EXPECT_EQ(pixel(screen, x, 254 - x), 0) << x;
    }
    EXPECT_EQ(pixel(screen, 230, 255), 0); // past the 224 columns
}

} // namespace
} // namespace vortastr::test
