// Slots over the 6809 engine: registration, the slice protocol, the shared cycle counter,
// interrupt answers and the reset of all processors.
#include "cpu_slot.h"

#include "cpu/m6809/m6809_engine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vortastr;

namespace {

int32_t answerFor[maxCpuSlots] = {};
std::vector<std::pair<int32_t, int32_t>> decisionCalls;

int32_t boardDecision(int32_t gameId, int32_t slotIndex)
{
    decisionCalls.emplace_back(gameId, slotIndex);
    return answerFor[slotIndex];
}

// Two 6809 blocks, each a run of `LDA $3000` (5 cycles) from its reset vector.
class CpuSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        decisionCalls.clear();
        answerFor[0] = answerFor[1] = 0;
        for (int i = 0; i < 2; ++i) {
            blocks[i].assign(0x20000, 0);
            uint8_t* mem = blocks[i].data();
            for (uint16_t a = 0x1000; a < 0x1100; a += 3) {
                mem[a] = 0xB6;
                mem[a + 1] = 0x30;
                mem[a + 2] = 0x00;
            }
            mem[0xFFFE] = 0x10;
            mem[0xFFFF] = uint8_t(i * 0x21); // slot 0 at 0x1000, slot 1 at 0x1021
            std::copy(mem, mem + 0x10000, mem + m6809OpcodeImage);
            register6809(mem, 6);
        }
        resetAllCpus(slots);
    }

    int32_t register6809(uint8_t* mem, int32_t cycles)
    {
        M6809Engine& engine = m6809Engine();
        engine.state = M6809Context{};
        m6809MapPages(engine.state, 0, 255, mem, mem);
        CpuSlotSetup setup;
        setup.kind = Cpu6809;
        setup.memory = mem;
        setup.secondImage = mem + m6809OpcodeImage;
        setup.cyclesPerSlice = cycles;
        setup.interruptDecision = &boardDecision;
        return registerCpuSlot(slots, setup);
    }

    std::vector<uint8_t> blocks[2];
    CpuSlotTable slots;
};

TEST_F(CpuSlots, RegistrationTakesTheEngineTablesAndRefusesAThirdSlot)
{
    EXPECT_EQ(slots.cpuCount, 2);
    EXPECT_EQ(slots.slot[1].m6809.memory, blocks[1].data());
    EXPECT_EQ(slots.slot[1].m6809.readPage[0x12], blocks[1].data() + 0x1200);
    EXPECT_EQ(register6809(blocks[0].data(), 6), -1);
    clearCpuSlots(slots);
    EXPECT_EQ(slots.cpuCount, 0);
}

TEST_F(CpuSlots, TwoSlotsKeepTheirRegistersButShareTheCounter)
{
    runCpuSlice(slots, 7);
    // Slot 0: 6 -> 1 -> -4 (two loads). Slot 1 starts from 6 - 4 = 2: one load.
    EXPECT_EQ(slots.slot[0].m6809.pc, 0x1006);
    EXPECT_EQ(slots.slot[1].m6809.pc, 0x1024);
    EXPECT_EQ(m6809Engine().counter, -3);
    EXPECT_EQ(slots.slot[0].cyclesTotal, 6);
    EXPECT_EQ(slots.slot[1].cyclesTotal, 6);
    EXPECT_EQ(currentMemory, blocks[1].data());
    EXPECT_EQ(currentSecondImage, blocks[1].data() + m6809OpcodeImage);
    EXPECT_EQ(decisionCalls, (std::vector<std::pair<int32_t, int32_t>>{{7, 0}, {7, 1}}));
}

TEST_F(CpuSlots, InterruptAnswersSetBitsAndAnyOtherAnswerClearsThemAll)
{
    CpuSlot& slot = slots.slot[0];
    const struct {
        int32_t answer;
        uint16_t before, after;
    } cases[] = {
        {2, 0x00, 0x02}, {4, 0x00, 0x04}, {32, 0x00, 0x20},          {32, 0x02, 0x22},
        {0, 0x22, 0x00}, {1, 0x04, 0x00}, {0x20 | 0x02, 0x20, 0x00}, {-1, 0x02, 0x00},
    };
    for (const auto& c : cases) {
        slot.m6809.pendingInterrupts = c.before;
        applyInterruptAnswer(slot, c.answer);
        EXPECT_EQ(slot.m6809.pendingInterrupts, c.after) << c.answer;
    }
}

TEST_F(CpuSlots, NoInterruptAnswerClearsABitAHandlerRaisedDuringTheSlice)
{
    auto raiseFirq = [](uint16_t) -> uint8_t {
        m6809Engine().state.pendingInterrupts |= m6809FirqBit; // masked: CC is 0x50 after reset
        return 0;
    };
    m6809MapHandlers(slots.slot[0].m6809, 0x30, 0x30, raiseFirq, nullptr);
    answerFor[0] = 0;
    runCpuSlot(slots.slot[0]);
    EXPECT_EQ(slots.slot[0].m6809.pendingInterrupts, m6809FirqBit);
    applyInterruptAnswer(slots.slot[0], answerFor[0]);
    EXPECT_EQ(slots.slot[0].m6809.pendingInterrupts, 0);
}

TEST_F(CpuSlots, AnIrqAnswerIsTakenInTheNextSliceOfThatSlotOnly)
{
    for (auto& block : blocks) {
        block[0xFFF8] = 0x20;
        block[0xFFF9] = 0x00;
        block[m6809OpcodeImage + 0x2000] = 0x12; // NOP
    }
    for (int i = 0; i < 2; ++i) {
        slots.slot[i].m6809.cc = 0x00;
        slots.slot[i].m6809.s = 0x8000;
    }
    answerFor[0] = 2;
    runCpuSlice(slots, 0);
    EXPECT_EQ(slots.slot[0].m6809.pendingInterrupts, m6809IrqBit);
    EXPECT_EQ(slots.slot[1].m6809.pendingInterrupts, 0);
    slots.slot[0].cyclesPerSlice = 30;
    runCpuSlice(slots, 0);
    EXPECT_EQ(slots.slot[0].m6809.s, 0x8000 - 12);
    EXPECT_EQ(slots.slot[1].m6809.s, 0x8000);
}

TEST_F(CpuSlots, ResetOfAllProcessorsSetsTheLatchAndClearsPendingAndTotals)
{
    runCpuSlice(slots, 0);
    slots.slot[0].interruptEnable = 0x04;
    slots.slot[1].interruptEnable = 0x00;
    slots.slot[0].m6809.pendingInterrupts = m6809FirqBit;
    slots.slot[1].secondImage = nullptr; // the memory block stands in for it
    resetAllCpus(slots);
    EXPECT_EQ(slots.slot[0].interruptEnable, 0x05);
    EXPECT_EQ(slots.slot[1].interruptEnable, 0x01);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(slots.slot[i].cyclesTotal, 0);
        EXPECT_EQ(slots.slot[i].m6809.pendingInterrupts, 0);
        EXPECT_EQ(slots.slot[i].m6809.cc, 0x50);
        EXPECT_EQ(slots.slot[i].m6809.pc, 0x1000 + 0x21 * i);
    }
    EXPECT_EQ(m6809Engine().counter, 0);
    EXPECT_EQ(m6809Engine().secondImage, blocks[1].data());
}

} // namespace
