// A board with a second processor: slot 1 is registered after slot 0 with its own address space,
// both run every slice, each has its own interrupt latch, and saved states carry both.
#include "boards/board.h"
#include "boards/board_setup.h"
#include "boards/saved_state.h"
#include "cpu/m6809/m6809_engine.h"
#include "video/colour_tables.h"

#include <gtest/gtest.h>

#include <vector>

namespace vortastr::test {
namespace {

constexpr uint16_t kStart = 0x8000;
constexpr uint16_t kCounterA = 0x0101; // counted up by the first processor's program
constexpr uint16_t kCounterB = 0x0102; // counted up by the second one's

std::vector<std::pair<int32_t, int32_t>> decisions;
int32_t recordDecision(int32_t game, int32_t slot)
{
    decisions.emplace_back(game, slot);
    return 0;
}

// A 6809 program that counts one byte up for ever: INC counter; BRA back.
void writeCounter(uint8_t* memory, uint16_t counter)
{
    const uint8_t program[] = {0x7C, uint8_t(counter >> 8), uint8_t(counter), 0x20, 0xFB};
    std::copy(std::begin(program), std::end(program), memory + kStart);
    memory[0xFFFE] = kStart >> 8;
    memory[0xFFFF] = kStart & 0xFF;
    std::copy(memory, memory + 0x10000, memory + m6809OpcodeImage);
}

CpuSlotSetup setupOf(uint8_t* memory)
{
    m6809MapPages(m6809Engine().state, 0x00, 0xFF, memory, memory);
    CpuSlotSetup setup;
    setup.kind = Cpu6809;
    setup.memory = memory;
    setup.secondImage = memory + m6809OpcodeImage;
    setup.cyclesPerSlice = 200;
    return setup;
}

bool secondCounter(Board& b, CpuSlotSetup& setup)
{
    b.secondMemory = CpuMemory::allocate(Cpu6809);
    writeCounter(b.secondMemory.data(), kCounterB);
    const CpuSlotSetup own = setupOf(b.secondMemory.data());
    setup.kind = own.kind, setup.memory = own.memory, setup.secondImage = own.secondImage;
    setup.cyclesPerSlice = own.cyclesPerSlice;
    return true;
}

bool secondMissing(Board&, CpuSlotSetup&) { return false; }

struct SecondCpu : ::testing::Test {
    uint8_t latches[2] = {0, 0};

    void SetUp() override
    {
        decisions.clear();
        Board& b = board();
        b = Board{};
        b.kind = Cpu6809;
        b.memory = CpuMemory::allocate(Cpu6809);
        b.io.interruptEnable = &latches[0];
        b.io.secondInterruptEnable = &latches[1];
        writeCounter(b.data(), kCounterA);
        m6809Engine().state = M6809Context{};
        CpuSlotSetup first = setupOf(b.data());
        first.interruptDecision = recordDecision;
        ASSERT_EQ(registerCpuSlot(b.slots, first), 0);
        b.cpuCount = 1;
    }

    void TearDown() override { board() = Board{}; }
};

TEST_F(SecondCpu, BothProcessorsRunTheirOwnProgramInTheirOwnMemoryEverySlice)
{
    Board& b = board();
    b.secondCpu = secondCounter;
    ASSERT_TRUE(registerSecondCpu(b, recordDecision));
    ASSERT_EQ(b.cpuCount, 2);
    resetAllCpus(b.slots);
    for (int s = 0; s < 3; ++s)
        runCpuSlice(b.slots, 5);

    EXPECT_GT(b.data()[kCounterA], 0);
    EXPECT_EQ(b.data()[kCounterB], 0);
    EXPECT_GT(b.secondMemory.data()[kCounterB], 0);
    EXPECT_EQ(b.secondMemory.data()[kCounterA], 0);
    // Each slot's decision is asked after its own run, slot 0 first.
    const std::vector<std::pair<int32_t, int32_t>> expected{{5, 0}, {5, 1}, {5, 0}, {5, 1}, {5, 0}, {5, 1}};
    EXPECT_EQ(decisions, expected);
    EXPECT_EQ(b.slots.slot[1].cyclesTotal, 600);
}

TEST_F(SecondCpu, WithoutASecondProcessorOneSlotStaysAndAFailedOneIsNotRegistered)
{
    Board& b = board();
    EXPECT_TRUE(registerSecondCpu(b, recordDecision));
    EXPECT_EQ(b.slots.cpuCount, 1);
    b.secondCpu = secondMissing;
    EXPECT_FALSE(registerSecondCpu(b, recordDecision));
    EXPECT_EQ(b.slots.cpuCount, 1);
    EXPECT_EQ(b.cpuCount, 1);
}

TEST_F(SecondCpu, EachSlotReadsItsOwnLatch)
{
    const Board& b = board();
    const struct {
        uint8_t first, second;
        bool slot0, slot1;
    } cases[] = {{0, 0, false, false}, {1, 0, true, false}, {0, 1, false, true}, {0xFE, 3, false, true}};
    for (const auto& c : cases) {
        latches[0] = c.first, latches[1] = c.second;
        EXPECT_EQ(b.interruptsEnabled(0), c.slot0);
        EXPECT_EQ(b.interruptsEnabled(1), c.slot1);
        EXPECT_FALSE(b.interruptsEnabled(2));
    }
}

TEST_F(SecondCpu, ASavedStateCarriesTheSecondMemoryAndLatchAndNeedsThem)
{
    Board& b = board();
    b.secondCpu = secondCounter;
    ASSERT_TRUE(registerSecondCpu(b, recordDecision));
    resetAllCpus(b.slots);
    runCpuSlice(b.slots, 5);
    latches[1] = 1;
    ColourTables colours;
    const std::vector<uint8_t> saved = encodeSavedState(b, colours);
    const uint8_t counted = b.secondMemory.data()[kCounterB];

    b.secondMemory.data()[kCounterB] = 0;
    latches[1] = 0;
    std::string reason;
    ASSERT_TRUE(decodeSavedState(saved, b, colours, reason)) << reason;
    EXPECT_EQ(b.secondMemory.data()[kCounterB], counted);
    EXPECT_EQ(latches[1], 1);

    // A state written while one processor ran does not fit the two-processor board.
    b.slots.cpuCount = 1;
    const std::vector<uint8_t> single = encodeSavedState(b, colours);
    b.slots.cpuCount = 2;
    b.secondMemory.data()[kCounterB] = 0x5A;
    EXPECT_FALSE(decodeSavedState(single, b, colours, reason));
    EXPECT_EQ(b.secondMemory.data()[kCounterB], 0x5A);
}

} // namespace
} // namespace vortastr::test
