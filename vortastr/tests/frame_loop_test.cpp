#include "boards/board.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "shell/frame_loop.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"
#include "video/graphics_sheet.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

struct FrameLoopFixture : ::testing::Test {
    TempFolder folder;
    void SetUp() override { writeTestRomSet(folder); }
};

TEST_F(FrameLoopFixture, FrameDisplayThreeDrawsOneFrameInThreeAtSixtyFramesPerSecond)
{
    RunningGame game(folder.str(), "JN");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.emu().settings.frameDisplay = 3;
    game.frames(1); // the first frame renders at once and starts the pacing
    const uint64_t start = game.clock.now;
    const int64_t renderedBefore = game.loop.renderedFrames;
    game.frames(180);
    const double seconds = double(game.clock.now - start) / 1e9;
    EXPECT_EQ(game.loop.renderedFrames - renderedBefore, 60);
    EXPECT_NEAR(180 / seconds, 60.0, 0.5);
    EXPECT_GT(game.clock.sleeps, 0); // it sleeps before it spins
}

TEST_F(FrameLoopFixture, NeverDrawsNothingAndTheTitleShowsFarMoreThanSixty)
{
    RunningGame game(folder.str(), "JN");
    game.emu().settings.frameDisplay = kFrameDisplayNever;
    const int presentsBefore = game.host().output.presents;
    game.frames(200);
    EXPECT_EQ(game.loop.renderedFrames, 0);
    EXPECT_EQ(game.host().output.presents, presentsBefore);
    EXPECT_GT(game.loop.fpsShown, 1000.0);
    EXPECT_EQ(game.emu().display.title.rfind("Vorta Strike - FPS ", 0), 0u) << game.emu().display.title;
}

TEST_F(FrameLoopFixture, InFullScreenTheTitleNeverChanges)
{
    RunningGame game(folder.str(), "JN -fullscreen");
    const std::string title = game.emu().display.title;
    game.frames(250);
    EXPECT_EQ(game.emu().display.title, title);
}

TEST_F(FrameLoopFixture, AnInterruptRequestedInASliceWithoutAnAnswerIsLost)
{
    RunningGame game(folder.str(), "JN");
    CpuSlot& slot = board().slots.slot[0];
    game.emu().run.interruptEnable[0] = 0;       // the rule answers nothing while disabled
    slot.m6809.pendingInterrupts = m6809FirqBit; // as if a handler had raised one
    slot.m6809.cc |= 0x40;                       // FIRQ masked: it waits
    runOneFrame(game.emu());
    EXPECT_EQ(slot.m6809.pendingInterrupts, 0);
}

TEST_F(FrameLoopFixture, ResetSetsTheLatchAndRestartsTheProgram)
{
    RunningGame game(folder.str(), "JN");
    game.frames(30);
    game.emu().run.interruptEnable[0] = 0;
    game.emu().run.pendingAction = ActionReset;
    game.frames(1);
    EXPECT_EQ(game.emu().run.interruptEnable[0] & 1, 1);
    EXPECT_EQ(board().slots.slot[0].cyclesTotal, 0);
    game.frames(1);
    EXPECT_EQ(board().slots.slot[0].cyclesTotal, 34133);
}

TEST_F(FrameLoopFixture, AFailedChangeKeepsTheLastLoadedGame)
{
    RunningGame game(folder.str(), "JN");
    game.frames(40);
    const uint8_t objectX = board().data()[testrom::kObjectXAddress];
    const uint8_t* memoryBefore = board().data();
    game.emu().run.requestedGame = Tutankham; // Tutankham: no ROMs in the folder
    game.emu().run.pendingAction = ActionChangeGame;
    game.frames(1);
    EXPECT_EQ(game.emu().run.currentGame, 9);
    EXPECT_EQ(board().game, 9);
    EXPECT_EQ(board().data(), memoryBefore);
    ASSERT_FALSE(game.host().messages.empty());
    EXPECT_EQ(game.host().messages.back().text, "ERROR - Can't find Game ROMS");
    EXPECT_EQ(game.host().messages.front().text.rfind("Couldn't open \"tutankhm/ra1_1i.cpu\"", 0), 0u);
    // The old game runs on (restarted with its extras).
    game.frames(60);
    EXPECT_FALSE(board().family.konamiBitmap.bankBuffer.empty());
    EXPECT_EQ(board().data()[testrom::kObjectXAddress], objectX);
    EXPECT_GT(board().data()[0x8800], 0); // its interrupt counts frames again

    // Choosing the loaded game again reloads nothing.
    const std::size_t messages = game.host().messages.size();
    game.emu().run.requestedGame = VortaStrike;
    game.emu().run.pendingAction = ActionChangeGame;
    game.frames(1);
    EXPECT_EQ(board().data(), memoryBefore);
    EXPECT_EQ(game.host().messages.size(), messages);
}

TEST_F(FrameLoopFixture, AChangeToAnotherGameLoadsItWithItsDips)
{
    writeBlankRomSet(folder, Tutankham);
    RunningGame game(folder.str(), "JN");
    game.emu().settings.savedDipA[8] = 0x5A;
    game.emu().run.requestedGame = Tutankham;
    game.emu().run.pendingAction = ActionChangeGame;
    game.frames(1);
    EXPECT_EQ(game.emu().run.currentGame, 8);
    EXPECT_EQ(board().game, 8);
    EXPECT_EQ(game.emu().run.dips.a, 0x5A);
    EXPECT_EQ(game.emu().run.titleName, std::string("Tutankham"));
    EXPECT_TRUE(game.host().messages.empty());
}

TEST_F(FrameLoopFixture, ANewBoardStartsFromTheFirstPaletteBank)
{
    writeBlankRomSet(folder, Tutankham);
    RunningGame game(folder.str(), "JN");
    EXPECT_EQ(game.emu().colours.bank, 0);
    game.emu().colours.bank = 1; // as a two-layer board's sprite pass leaves it
    game.emu().run.requestedGame = Tutankham;
    game.emu().run.pendingAction = ActionChangeGame;
    game.frames(1);
    EXPECT_EQ(board().game, 8);
    EXPECT_EQ(game.emu().colours.bank, 0);
}

TEST_F(FrameLoopFixture, F7HeldSavesOnEverySecondFrameAndWinsOverF8)
{
    RunningGame game(folder.str(), "JN");
    std::vector<int64_t> saves, loads;
    game.loop.saveState = [&](GameId) {
        saves.push_back(game.loop.framesBegun);
        return 0;
    };
    game.loop.loadState = [&](GameId) {
        loads.push_back(game.loop.framesBegun);
        return 0;
    };
    const int first = game.loop.framesBegun + 1;
    keyStates().set(Key::F7, true);
    game.frames(6);
    EXPECT_EQ(saves, (std::vector<int64_t>{first, first + 2, first + 4}));
    keyStates().set(Key::F8, true);
    saves.clear();
    game.frames(2);
    EXPECT_EQ(saves.size(), 1u);
    EXPECT_TRUE(loads.empty());
    keyStates().set(Key::F7, false);
    game.frames(2);
    EXPECT_EQ(loads.size(), 1u);
    EXPECT_EQ(game.loop.frameCounter, 1); // a load starts the frame count again
}

TEST(FrameLoopPacing, TicksPerRenderFollowTheRateAndTheFrameCount)
{
    FrameLoop loop;
    SimulatedClock clock;
    loop.clock = clock.clock();
    EXPECT_TRUE(paceFrame(loop, 60, 1));
    EXPECT_EQ(loop.ticksPerRender, 1000000000u / 60);
    EXPECT_FALSE(paceFrame(loop, 60, 1));
    EXPECT_FALSE(paceFrame(loop, 55, 4));
    EXPECT_EQ(loop.ticksPerRender, 4u * 1000000000u / 55);
    clock.now += loop.ticksPerRender;
    EXPECT_TRUE(paceFrame(loop, 55, 4));
}

TEST(FrameLoopStart, MissingRomsStopTheRunWithBothMessages)
{
    TempFolder empty;
    Emulator emu;
    FakeHost host;
    MemoryStore store;
    LaunchOptions options;
    options.romPath = empty.str();
    options.frames = 3;
    EXPECT_EQ(runEmulator(emu, host, store, options), 1);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "Couldn't open \"vorta/VSA_B9.BIN\".\n\nCheck you have correctly named roms");
    EXPECT_EQ(host.messages[0].caption, "Emulator Error");
    EXPECT_EQ(host.messages[1].text, "ERROR - Can't find Game ROMs");
    EXPECT_FALSE(host.windowExists);
}

} // namespace
} // namespace vortastr::test
