// The Scramble-type boards set up from their generated test sets: the range lists of both maps,
// the 8255 ports, the output latch, the sound command and the interrupt rule.
#include "boards/board_setup.h"
#include "boards/interrupt_rules.h"
#include "boards/rom_files.h"
#include "boards/scramble/scramble_board.h"
#include "boards/scramble/scramble_test_set.h"
#include "cpu/z80/z80_bus.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

using namespace scramble;

uint32_t heldInputs = 0;
uint32_t fakePoll(uint32_t mask) { return heldInputs & mask; }
std::vector<uint8_t> sounds;

struct ScrambleBoard : ::testing::TestWithParam<GameId> {
    TempFolder folder;
    DipBytes dips{0x02, 0x05};
    uint8_t latch = 1;

    void SetUp() override
    {
        heldInputs = 0;
        sounds.clear();
        std::string error;
        ASSERT_TRUE(writeTestRomSets(folder.str(), SCRAMBLE_TEST_PROGRAMS "/scramble_test.bin",
                                     SCRAMBLE_TEST_PROGRAMS "/tazmania_test.bin", error))
            << error;
        romFiles().romPath = folder.str();
        board().io.pollInput = fakePoll;
        board().io.dips = &dips;
        board().io.interruptEnable = &latch;
        board().io.soundCommand = [](GameId, uint8_t command) { sounds.push_back(command); };
        ASSERT_EQ(setUpBoard(GetParam()), kBoardOk);
    }
    void TearDown() override
    {
        board().io = BoardIo{};
        romFiles().romPath = ".";
    }
    const ScrambleMap& map() const { return mapOf(GetParam()); }
    const Z80Context& z80() const { return board().family.scramble.z80; }
    uint8_t read(uint16_t address) { return z80::readData(board().data(), z80().readList, address); }
    void write(uint16_t address, uint8_t value) { z80::writeData(board().data(), z80().writeList, address, value); }
};

TEST_P(ScrambleBoard, TakesAZ80SlotWithTheMapsRangeLists)
{
    const Board& b = board();
    EXPECT_EQ(b.kind, CpuZ80);
    EXPECT_EQ(b.cyclesPerSlice, 34133);
    ASSERT_EQ(b.slots.cpuCount, 1);
    EXPECT_EQ(b.slots.slot[0].z80, &b.family.scramble.z80);
    EXPECT_EQ(b.visibleWidth, 256);
    EXPECT_EQ(b.visibleHeight, 256);
    // The program ROM is in place and cannot be written.
    EXPECT_EQ(read(kSpriteTable), 40);
    write(kSpriteTable, 0x99);
    write(map().romEnd, 0x99);
    EXPECT_EQ(read(kSpriteTable), 40);
    EXPECT_NE(read(map().romEnd), 0x99);
    // Tile RAM answers in its mirror too; work RAM and object RAM are plain memory.
    write(map().tileRam + 0x400 + 5, 0x5A);
    EXPECT_EQ(board().data()[map().tileRam + 5], 0x5A);
    EXPECT_EQ(read(map().tileRam + 0x400 + 5), 0x5A);
    write(map().workRam + 0x10, 0x77);
    write(map().attributeRam + 0xFF, 0x66);
    EXPECT_EQ(read(map().workRam + 0x10), 0x77);
    EXPECT_EQ(read(map().attributeRam + 0xFF), 0x66);
}

TEST_P(ScrambleBoard, InputPortsAreActiveLowWithTheDipBanksComplemented)
{
    struct Case {
        uint32_t held;
        uint8_t in0, in1, in2;
    };
    // Dip bank A = 0x02 (IN1 bit 1 low), bank B = 0x05 (IN2 bits 1 and 3 low).
    const Case cases[] = {
        {0, 0xFF, 0xFD, 0xF5},
        {InputLeft | InputRight, 0xDF, 0xFD, 0xF5}, // left wins
        {InputRight | InputCtrl | InputShift, 0xE5, 0xFD, 0xF5},
        {InputUp | InputDown, 0xFE, 0xFD, 0xF5}, // up wins
        {InputDown | InputDigit3, 0x7F, 0xFD, 0xB5},
        {InputDigit1 | InputDigit2, 0xFF, 0x3D, 0xF5},
    };
    for (const Case& c : cases) {
        heldInputs = c.held;
        EXPECT_EQ(read(map().inputPpi), c.in0) << c.held;
        EXPECT_EQ(read(map().inputPpi + 1), c.in1) << c.held;
        EXPECT_EQ(read(map().inputPpi + 2), c.in2) << c.held;
    }
    write(map().inputPpi + 3, 0x9B);
    EXPECT_EQ(read(map().inputPpi + 3), 0x9B);
    EXPECT_EQ(read(map().soundPpi + 2), 0xFF); // protection bits read 1
}

TEST_P(ScrambleBoard, TheLatchGatesTheNmiAndTheSound8255TakesCommands)
{
    Board& b = board();
    EXPECT_EQ(interruptRule(GetParam(), 0), z80AnswerNmi);
    write(map().latch + LatchNmiEnable, 0xFE); // bit 0 of the byte is the output
    EXPECT_EQ(latch & 1, 0);
    EXPECT_EQ(interruptRule(GetParam(), 0), z80AnswerNone);
    write(map().latch + LatchNmiEnable, 1);
    EXPECT_EQ(latch & 1, 1);
    write(map().latch + LatchFlipX, 1);
    EXPECT_EQ(b.family.scramble.latch[LatchFlipX], 1);
    write(map().soundPpi, kFireSound);
    write(map().soundPpi + 1, 0x08);
    EXPECT_EQ(sounds, std::vector<uint8_t>{kFireSound});
    EXPECT_EQ(b.family.scramble.soundCommand, kFireSound);
    EXPECT_EQ(read(map().soundPpi), kFireSound);
    read(map().watchdog);
    EXPECT_EQ(b.family.scramble.watchdogReads, 1u);
}

INSTANTIATE_TEST_SUITE_P(Maps, ScrambleBoard, ::testing::Values(Scramble, Tazmania, SuperBond));

} // namespace
} // namespace vortastr::test
