// The "Vorta Strike" board keeps its IRQ line asserted until the program writes 0 then 1 to
// the interrupt-enable latch at 0x8030. The generated test program must acknowledge that way
// in every interrupt it takes, and still behave and draw as before.
#include "boards/board.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "cpu/m6809/m6809_engine.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

constexpr uint16_t kLatch = 0x8030;
constexpr uint16_t kFrameCounter = 0x8800; // the program's interrupt count

std::vector<uint8_t> latchWrites;
M6809WriteHandler boardWrite = nullptr;

uint8_t* recordLatch(uint8_t value, uint16_t address)
{
    if (address == kLatch)
        latchWrites.push_back(value);
    return boardWrite(value, address);
}

TEST(InterruptAcknowledge, EveryInterruptTakenWritesZeroThenOneToTheLatch)
{
    TempFolder folder;
    writeTestRomSet(folder);
    RunningGame game(folder.str(), "JN");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("2:Right,62:-", error);

    // Wrap the write handler of the latch's page, in the slot and in the loaded engine.
    const unsigned page = kLatch >> 8;
    M6809Context& slot = board().slots.slot[0].m6809;
    boardWrite = slot.writeHandler[page];
    ASSERT_NE(boardWrite, nullptr);
    slot.writeHandler[page] = recordLatch;
    m6809Engine().state.writeHandler[page] = recordLatch;
    latchWrites.clear();

    const uint8_t* memory = board().data();
    const uint8_t countBefore = memory[kFrameCounter];
    game.frames(100);
    const int taken = uint8_t(memory[kFrameCounter] - countBefore);
    EXPECT_GE(taken, 45); // 30 interrupts a second
    EXPECT_LE(taken, 52);

    // The set-up's single enabling write (if it ran after the wrap), then one 0,1 per interrupt.
    std::vector<uint8_t> writes = latchWrites;
    if (!writes.empty() && writes.size() % 2 == 1 && writes.front() == 1)
        writes.erase(writes.begin());
    std::vector<uint8_t> expected;
    for (int i = 0; i < taken; ++i)
        expected.insert(expected.end(), {0, 1});
    EXPECT_EQ(writes, expected);

    // The program's speed, and with it the picture, is what it was: one line per interrupt.
    const int moved = memory[testrom::kObjectXAddress] - testrom::kObjectStartX;
    EXPECT_GE(moved, 28);
    EXPECT_LE(moved, 31);
    EXPECT_TRUE(game.host().messages.empty());
}

} // namespace
} // namespace vortastr::test
