// Every running game on memory full of random bytes. Drawn: scroll registers, bank latches,
// sprite coordinates and tile attributes then take values no test program writes; nothing may
// be read or written outside its buffer (the sanitizer build checks that), and the picture must
// come from the memory alone: drawing the same memory again, or after the caches are reset,
// gives the same picture. Run: the processor executes those bytes as its program, so every
// handler sees addresses and values (bank numbers, latches) no real program would write.
#include "boards/board.h"
#include "boards/board_setup.h"
#include "boards/game_catalogue.h"
#include "boards/game_video.h"
#include "boards/konami_bitmap/konami_bitmap_video.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace vortastr::test {
namespace {

std::vector<uint8_t> screenBytes(const ScreenSurface& screen)
{
    const uint8_t* p = screen.pixels();
    return std::vector<uint8_t>(p, p + screen.byteCount());
}

// Starts every running game that has a code on a blank set and hands it to the check; the
// palette records, which outlive a game, are cleared again for the tests after this one.
int forEachRunningGame(const std::function<void(const GameInfo&, RunningGame&, Board&)>& check)
{
    int games = 0;
    for (const GameInfo& info : gameCatalogue()) {
        if (!boardAvailable(info.id) || !info.code)
            continue;
        SCOPED_TRACE(info.code);
        TempFolder folder;
        writeBlankRomSet(folder, info.id);
        RunningGame game(folder.str(), info.code);
        EXPECT_EQ(game.emu().run.currentGame, info.id);
        if (board().data())
            check(info, game, board());
        else
            ADD_FAILURE() << "no memory";
        konamiBitmap::paletteRecords() = {};
        ++games;
    }
    return games;
}

void fillRandom(Board& b, std::mt19937& random)
{
    for (std::size_t i = 0; i < b.size(); ++i)
        b.data()[i] = uint8_t(random());
}

TEST(RenderAnyMemory, EveryRunningGameDrawsRandomMemoryInsideItsBuffersAndFromTheMemoryAlone)
{
    const int games = forEachRunningGame([](const GameInfo& info, RunningGame& game, Board& b) {
        DisplayState& display = game.emu().display;
        std::mt19937 random(0xC0FFEEu + uint32_t(info.id));
        for (int round = 0; round < 3; ++round) {
            fillRandom(b, random);
            syncPaletteRam(info.id, display, game.emu().colours, b.data(), true);
            renderFrame(display, game.emu().colours, b);
            const std::vector<uint8_t> first = screenBytes(display.screen);
            renderFrame(display, game.emu().colours, b);
            EXPECT_EQ(screenBytes(display.screen), first) << "round " << round << ", drawn again";
            resetRendererCaches(b);
            renderFrame(display, game.emu().colours, b);
            EXPECT_EQ(screenBytes(display.screen), first) << "round " << round << ", caches reset";
        }
    });
    EXPECT_GE(games, 25);
}

TEST(RenderAnyMemory, EveryRunningGameRunsRandomBytesAsItsProgramInsideItsBuffers)
{
    const int games = forEachRunningGame([](const GameInfo& info, RunningGame& game, Board& b) {
        game.loop.unpaced = true;
        std::mt19937 random(0xBADC0DEu + uint32_t(info.id));
        for (int round = 0; round < 3; ++round) {
            fillRandom(b, random);
            resetMachine(game.emu());
            game.frames(4);
            EXPECT_EQ(game.emu().run.currentGame, info.id);
            ASSERT_GE(b.slots.cpuCount, 1);
            EXPECT_GT(b.slots.slot[0].cyclesTotal, 0) << "round " << round << ": the processor did not run";
        }
    });
    EXPECT_GE(games, 25);
}

} // namespace
} // namespace vortastr::test
