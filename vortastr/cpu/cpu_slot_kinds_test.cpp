// The slot protocol over the Z80, V30 and 6502 engines: registration, reset of all processors,
// the interrupt answer mapping per kind and the cycle totals.
#include "cpu_slot.h"

#include "cpu/m6502/m6502_engine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vortastr;

namespace {

int32_t nextAnswer = 0;
int32_t decide(int32_t, int32_t) { return nextAnswer; }

struct Block {
    explicit Block(CpuKind kind) : bytes(cpuMemorySize(kind), 0) {}
    uint8_t* data() { return bytes.data(); }
    std::vector<uint8_t> bytes;
};

CpuSlotSetup setupFor(CpuKind kind, uint8_t* memory, int32_t budget)
{
    CpuSlotSetup setup;
    setup.kind = kind;
    setup.memory = memory;
    setup.cyclesPerSlice = budget;
    setup.interruptDecision = &decide;
    return setup;
}

} // namespace

TEST(CpuSlotKinds, Z80RegistrationNeedsARecordAndSetsTheInterruptAddresses)
{
    Block memory(CpuZ80);
    CpuSlotTable slots;
    EXPECT_EQ(registerCpuSlot(slots, setupFor(CpuZ80, memory.data(), 100)), -1);

    Z80Context record;
    record.nmiAddress = 0x1234;
    record.irqAddress = 0x99;
    record.pc = 0x4000;
    CpuSlotSetup setup = setupFor(CpuZ80, memory.data(), 100);
    setup.z80 = &record;
    ASSERT_EQ(registerCpuSlot(slots, setup), 0);
    EXPECT_EQ(record.memory, memory.data());
    EXPECT_EQ(record.nmiAddress, 0x66);
    EXPECT_EQ(record.irqAddress, 0x38);
    EXPECT_EQ(record.pc, 0) << "registration resets the processor";
}

TEST(CpuSlotKinds, Z80AnswersNmiAt0x66EvenWhenTheBoardMovedTheAddressAndIrqWithTheAnswer)
{
    Block memory(CpuZ80); // all NOPs
    Z80Context record;
    CpuSlotTable slots;
    CpuSlotSetup setup = setupFor(CpuZ80, memory.data(), 40);
    setup.z80 = &record;
    ASSERT_EQ(registerCpuSlot(slots, setup), 0);
    resetAllCpus(slots);
    record.sp = 0xF000;

    nextAnswer = z80AnswerNone;
    runCpuSlice(slots, 0);
    const uint16_t pcAfterSlice = record.pc;
    EXPECT_EQ(pcAfterSlice, 11) << "NOPs of 4 T-states until one crosses the budget of 40";
    EXPECT_EQ(slots.slot[0].cyclesTotal, 40);

    record.nmiAddress = 0x2000;
    nextAnswer = z80AnswerNmi;
    runCpuSlice(slots, 0);
    // The slice ran first, then the NMI was taken: PC is on the NMI address.
    EXPECT_EQ(record.pc, 0x66);
    EXPECT_EQ(record.nmiAddress, 0x66);

    // Mode 1 IRQ with interrupts enabled: the answer is stored and the call goes to 0x38.
    record.iff = 1;
    record.interruptMode = 1;
    nextAnswer = 0x38;
    runCpuSlice(slots, 0);
    EXPECT_EQ(record.pc, 0x38);
    EXPECT_EQ(record.irqAddress, 0x38);
}

TEST(CpuSlotKinds, V30ResetStartsAtTheTopAndAnswersRequestVectors)
{
    Block memory(CpuV30);
    uint8_t* m = memory.data();
    m[0xFFFF0] = 0xFB; // STI
    for (uint32_t a = 0xFFFF1; a < 0xFFFF8; ++a)
        m[a] = 0x90;   // NOP
    m[0xFFFF8] = 0xEB; // JMP $-2+... : jump to self
    m[0xFFFF9] = 0xFE;
    // Vector 0x20 -> 0000:0400, where the handler jumps to itself.
    m[0x80] = 0x00;
    m[0x81] = 0x04;
    m[0x400] = 0xEB;
    m[0x401] = 0xFE;

    CpuSlotTable slots;
    ASSERT_EQ(registerCpuSlot(slots, setupFor(CpuV30, m, 200)), 0);
    slots.slot[0].interruptEnable = 0;
    resetAllCpus(slots);
    EXPECT_EQ(slots.slot[0].interruptEnable & 1, 1);
    EXPECT_EQ(slots.slot[0].v30.memory, m);

    nextAnswer = 0;
    runCpuSlice(slots, 0);
    EXPECT_EQ(slots.slot[0].v30.ip, 0x8u) << "spinning on the jump after STI and the NOPs";

    nextAnswer = 0x20;
    runCpuSlice(slots, 0);
    EXPECT_EQ(slots.slot[0].v30.ip, 0x400u);
    EXPECT_EQ(slots.slot[0].cyclesTotal, 400);
}

TEST(CpuSlotKinds, A6502IrqWhileIIsSetIsDroppedNotHeld)
{
    Block memory(Cpu6502);
    uint8_t* m = memory.data();
    m[0x0200] = 0x78; // SEI
    m[0x0201] = 0x58; // CLI
    m[0x0202] = 0x4C; // JMP $0202
    m[0x0203] = 0x02;
    m[0x0204] = 0x02;
    m[0xFFFC] = 0x00; // reset vector 0x0200
    m[0xFFFD] = 0x02;
    m[0xFFFE] = 0x00; // IRQ vector 0x0300
    m[0xFFFF] = 0x03;
    m[0xFFFA] = 0x00; // NMI vector 0x0300 too
    m[0xFFFB] = 0x03;
    m[0x0300] = 0x4C; // JMP $0300
    m[0x0301] = 0x00;
    m[0x0302] = 0x03;

    M6502Engine::context.readList = nullptr;
    M6502Engine::context.writeList = nullptr;
    CpuSlotTable slots;
    ASSERT_EQ(registerCpuSlot(slots, setupFor(Cpu6502, m, 1)), 0);
    resetAllCpus(slots);

    nextAnswer = 1; // after SEI: refused, and not remembered
    runCpuSlice(slots, 0);
    EXPECT_EQ(M6502Engine::context.pc, 0x0201);
    nextAnswer = 0;
    runCpuSlice(slots, 0); // CLI
    runCpuSlice(slots, 0); // JMP
    EXPECT_EQ(M6502Engine::context.pc, 0x0202) << "the dropped IRQ did not come back";

    nextAnswer = 2; // NMI goes through regardless of I
    runCpuSlice(slots, 0);
    EXPECT_EQ(M6502Engine::context.pc, 0x0300);
    EXPECT_EQ(slots.slot[0].cyclesTotal, 4);
}
