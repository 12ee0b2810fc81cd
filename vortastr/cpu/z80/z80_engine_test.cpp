// Z80Engine as the frame loop and board code see it: budgets, HALT, interrupts, range lists,
// ports, context swapping and opcodes that end a slice.
#include "z80_test_machine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

using namespace vortastr;
using vortastr::testing::contextFields;
using vortastr::testing::Z80TestMachine;

namespace {

// Calls seen by the logging handlers below, reached through the entries' user pointers.
struct AccessLog {
    std::vector<std::pair<uint16_t, uint8_t>> calls;
    int32_t cyclesAtCall = -1;
};

uint8_t logRead(uint16_t address, const Z80MemoryReadEntry* entry)
{
    static_cast<AccessLog*>(entry->user)->calls.push_back({address, 0});
    return 0xA5;
}

void logWrite(uint16_t address, uint8_t value, const Z80MemoryWriteEntry* entry)
{
    auto* log = static_cast<AccessLog*>(entry->user);
    log->calls.push_back({address, value});
    log->cyclesAtCall = Z80Engine::cyclesThisCall();
}

uint8_t logPortIn(uint16_t port, const Z80PortInputEntry* entry)
{
    static_cast<AccessLog*>(entry->user)->calls.push_back({port, 0});
    return 0x5A;
}

void logPortOut(uint16_t port, uint8_t value, const Z80PortOutputEntry* entry)
{
    static_cast<AccessLog*>(entry->user)->calls.push_back({port, value});
}

// ---- budgets ----

TEST(Z80Budget, ZeroBudgetRunsExactlyOneInstruction)
{
    Z80TestMachine m; // zeroed memory: NOPs
    EXPECT_EQ(m.run(0), Z80Engine::sliceDone);
    EXPECT_EQ(m.context.pc, 1);
    EXPECT_EQ(Z80Engine::cyclesThisCall(), 4);
}

TEST(Z80Budget, InstructionThatCrossesTheBudgetCompletes)
{
    // LD BC,nn costs 10 each; the call ends after the instruction whose cost exceeds what is left.
    struct Case {
        uint32_t budget;
        int instructions;
    };
    for (Case c : {Case{0, 1}, Case{9, 1}, Case{10, 2}, Case{19, 2}, Case{20, 3}, Case{95, 10}}) {
        Z80TestMachine m;
        for (uint16_t at = 0; at < 60; at += 3)
            m.place(at, {0x01, 0x34, 0x12});
        m.run(c.budget);
        EXPECT_EQ(m.context.pc, 3 * c.instructions) << "budget " << c.budget;
        EXPECT_EQ(Z80Engine::cyclesThisCall(), 10 * c.instructions) << "budget " << c.budget;
    }
}

TEST(Z80Budget, BlockInstructionsNeverSplitAcrossSlices)
{
    Z80TestMachine m;
    m.place(0, {0xED, 0xB0}); // LDIR
    for (int i = 0; i < 100; ++i)
        m.mem()[0x4000 + i] = uint8_t(i + 1);
    m.context.hl = 0x4000;
    m.context.de = 0x5000;
    m.context.bc = 100;
    m.run(0);
    EXPECT_EQ(m.context.pc, 2);
    EXPECT_EQ(m.context.bc, 0);
    EXPECT_EQ(std::memcmp(m.mem() + 0x4000, m.mem() + 0x5000, 100), 0);
    EXPECT_EQ(Z80Engine::cyclesThisCall(), 2100);
}

// ---- HALT ----

TEST(Z80Halt, ChargesTheRestOfTheBudgetAndBlocksUntilAnInterrupt)
{
    Z80TestMachine m;
    m.place(0, {0x00, 0x3E, 0x07, 0x76, 0x3C}); // NOP; LD A,7; HALT; INC A
    EXPECT_EQ(m.run(100), Z80Engine::sliceDone);
    EXPECT_EQ(m.context.halted, 1u);
    EXPECT_EQ(m.context.pc, 4);                          // after the HALT
    EXPECT_EQ(Z80Engine::cyclesThisCall(), 100 + 4 + 7); // the budget on top of NOP and LD A,7

    for (int slice = 0; slice < 3; ++slice) {
        EXPECT_EQ(m.run(1000), Z80Engine::sliceDone);
        EXPECT_EQ(m.context.pc, 4);
        EXPECT_EQ(Z80Engine::cyclesThisCall(), 0);
    }
    EXPECT_EQ(m.context.af >> 8, 7);
}

TEST(Z80Halt, TheWholeUnsignedBudgetCanBeCharged)
{
    Z80TestMachine m;
    m.place(0, {0x00, 0x76});
    m.run(0xFFFFFFFFu);
    EXPECT_EQ(m.context.halted, 1u);
    EXPECT_EQ(uint32_t(Z80Engine::cyclesThisCall()), 0xFFFFFFFFu + 4u); // wraps with the unsigned budget
}

TEST(Z80Halt, RefusedIrqStillWakesTheProcessor)
{
    Z80TestMachine m;
    m.place(0, {0x76, 0x3C}); // HALT; INC A
    m.run(50);
    ASSERT_EQ(m.context.halted, 1u);
    EXPECT_EQ(m.irq(0xFF), 1); // IFF is 0 after reset
    EXPECT_EQ(m.context.halted, 0u);
    m.run(0);
    EXPECT_EQ(m.context.af >> 8, 1);
}

TEST(Z80Halt, NmiWakesAndEntersTheNmiAddress)
{
    Z80TestMachine m;
    m.place(0, {0x76});
    m.context.sp = 0x8000;
    m.run(10);
    m.nmi();
    EXPECT_EQ(m.context.halted, 0u);
    EXPECT_EQ(m.context.pc, 0x66);
    EXPECT_EQ(m.mem()[0x7FFE], 0x01); // the return address is the byte after the HALT
    EXPECT_EQ(m.mem()[0x7FFF], 0x00);
}

// ---- interrupts ----

TEST(Z80Interrupts, IrqWithIffZeroChangesNothingButHalted)
{
    Z80TestMachine m;
    m.context.pc = 0x1234;
    m.context.sp = 0x8000;
    m.context.halted = 1;
    m.context.interruptMode = 1;
    Z80Context before = m.context;
    EXPECT_EQ(m.irq(0x38), 1);
    before.halted = 0;
    EXPECT_TRUE(contextFields(before) == contextFields(m.context));
    EXPECT_EQ(m.mem()[0x7FFE], 0);
}

TEST(Z80Interrupts, ModesZeroAndOneJumpToTheStoredAddress)
{
    for (uint32_t mode : {0u, 1u}) {
        Z80TestMachine m;
        m.context.iff = 1;
        m.context.interruptMode = mode;
        m.context.irqAddress = 0x0038;
        m.context.pc = 0x4321;
        m.context.sp = 0x9000;
        EXPECT_EQ(m.irq(0xCF), 0);
        EXPECT_EQ(m.context.pc, 0x0038) << "mode " << mode;
        EXPECT_EQ(m.context.iff, 0u);
        EXPECT_EQ(m.context.inService, 1u);
        EXPECT_EQ(m.context.sp, 0x8FFE);
        EXPECT_EQ(m.mem()[0x8FFE], 0x21);
        EXPECT_EQ(m.mem()[0x8FFF], 0x43);
    }
}

TEST(Z80Interrupts, ModeTwoReadsTheVectorAtIAndData)
{
    Z80TestMachine m;
    m.context.iff = 1;
    m.context.interruptMode = 2;
    m.context.i = 0x80;
    m.context.sp = 0x9000;
    m.place(0x80FE, {0x34, 0x12});
    EXPECT_EQ(m.irq(0xFE), 0);
    EXPECT_EQ(m.context.pc, 0x1234);
}

TEST(Z80Interrupts, InterruptEntryWritesTheStackDirectly)
{
    AccessLog log;
    const Z80MemoryWriteEntry writes[] = {{0x8000, 0x8FFF, logWrite, &log}, {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.writeList = writes;
    m.context.iff = 1;
    m.context.interruptMode = 1;
    m.context.pc = 0xBEEF;
    m.context.sp = 0x8800;
    m.irq(0);
    m.nmi();
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(m.mem()[0x87FE], 0xEF);
    EXPECT_EQ(m.mem()[0x87FC], 0x38); // the NMI pushed the IRQ's target
    EXPECT_EQ(m.context.pc, 0x66);
    EXPECT_EQ(m.context.iff, 0u); // NMI leaves IFF as the IRQ left it
}

TEST(Z80Interrupts, EiDiRetiRetnClearTheInServiceCount)
{
    struct Case {
        std::initializer_list<uint8_t> code;
        uint32_t iffAfter;
    };
    for (Case c : {Case{{0xFB}, 1}, Case{{0xF3}, 0}, Case{{0xED, 0x4D}, 0}, Case{{0xED, 0x45}, 0}}) {
        Z80TestMachine m;
        m.place(0, c.code);
        m.context.inService = 3;
        m.context.sp = 0x9000;
        m.step();
        EXPECT_EQ(m.context.inService, 0u);
        EXPECT_EQ(m.context.iff, c.iffAfter);
    }
}

TEST(Z80Interrupts, ImSetsTheMode)
{
    for (auto [op, mode] : {std::pair{0x46, 0u}, std::pair{0x56, 1u}, std::pair{0x5E, 2u}}) {
        Z80TestMachine m;
        m.context.interruptMode = 7;
        m.place(0, {0xED, uint8_t(op)});
        m.step();
        EXPECT_EQ(m.context.interruptMode, mode);
    }
}

// ---- memory lists ----

TEST(Z80MemoryLists, PushGoesThroughTheWriteListWhileCallWritesTheBlock)
{
    AccessLog log;
    const Z80MemoryWriteEntry writes[] = {{0xF000, 0xF0FF, logWrite, &log}, {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.writeList = writes;
    m.context.sp = 0xF010;
    m.context.bc = 0xBEEF;
    m.place(0, {0xC5, 0xCD, 0x00, 0x20}); // PUSH BC; CALL 0x2000
    m.step();
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0], (std::pair<uint16_t, uint8_t>{0xF00F, 0xBE}));
    EXPECT_EQ(log.calls[1], (std::pair<uint16_t, uint8_t>{0xF00E, 0xEF}));
    EXPECT_EQ(m.mem()[0xF00F], 0); // a handled write leaves the block alone

    m.step();
    EXPECT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(m.mem()[0xF00C], 0x04);
    EXPECT_EQ(m.mem()[0xF00D], 0x00);
    EXPECT_EQ(m.context.pc, 0x2000);
}

TEST(Z80MemoryLists, PopReadsThroughTheListWhileRetReadsTheBlock)
{
    AccessLog log;
    const Z80MemoryReadEntry reads[] = {{0xF000, 0xF0FF, logRead, &log}, {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.readList = reads;
    m.context.sp = 0xF010;
    m.place(0xF010, {0x00, 0x30, 0x00, 0x30});
    m.place(0, {0xD1, 0xC9}); // POP DE; RET
    m.step();
    EXPECT_EQ(m.context.de, 0xA5A5);
    EXPECT_EQ(log.calls.size(), 2u);
    m.step();
    EXPECT_EQ(m.context.pc, 0x3000);
    EXPECT_EQ(log.calls.size(), 2u);
}

TEST(Z80MemoryLists, FirstMatchWinsAndTheEndMarkerStopsTheScan)
{
    AccessLog first, second, afterEnd;
    const Z80MemoryReadEntry reads[] = {{0x1000, 0x10FF, logRead, &first},
                                        {0x1000, 0x1FFF, logRead, &second},
                                        {0x1FFFF, 0, nullptr, nullptr}, // low 16 bits 0xFFFF: the end
                                        {0x2000, 0x2FFF, logRead, &afterEnd}};
    Z80TestMachine m;
    m.context.readList = reads;
    m.mem()[0x2000] = 0x77;
    m.place(0, {0x3A, 0x80, 0x10, 0x3A, 0x00, 0x11, 0x3A, 0x00, 0x20}); // LD A,(1080/1100/2000)
    m.step();
    m.step();
    m.step();
    EXPECT_EQ(first.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{0x1080, 0}}));
    EXPECT_EQ(second.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{0x1100, 0}}));
    EXPECT_TRUE(afterEnd.calls.empty());
    EXPECT_EQ(m.context.af >> 8, 0x77);
}

TEST(Z80MemoryLists, HandlersSeeTheTStatesUsedSoFarInTheCall)
{
    AccessLog log;
    const Z80MemoryWriteEntry writes[] = {{0x4000, 0x4000, logWrite, &log}, {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.writeList = writes;
    m.context.hl = 0x4000;
    m.place(0, {0x00, 0x06, 0x01, 0x77}); // NOP; LD B,1; LD (HL),A
    m.run(100);
    EXPECT_EQ(log.cyclesAtCall, 11);
}

TEST(Z80MemoryLists, WordAccessesWrapAtTheTopOfTheSpace)
{
    Z80TestMachine m;
    m.mem()[0xFFFF] = 0x34;
    m.mem()[0x0000] = 0x2A; // LD HL,(0xFFFF) at 0 also supplies the high byte 0x2A
    m.place(1, {0xFF, 0xFF});
    m.step();
    EXPECT_EQ(m.context.hl, 0x2A34);

    m.context.sp = 0x0001;
    m.context.bc = 0xABCD;
    m.place(3, {0xC5}); // PUSH BC
    m.step();
    EXPECT_EQ(m.mem()[0x0000], 0xAB);
    EXPECT_EQ(m.mem()[0xFFFF], 0xCD);
}

// ---- ports ----

TEST(Z80Ports, InAFromCWithBOneMissesAnEightBitPortList)
{
    AccessLog log;
    const Z80PortInputEntry inputs[] = {{0x00, 0xFF, logPortIn, &log}, {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.inputList = inputs;
    m.place(0, {0xED, 0x78, 0xED, 0x78}); // IN A,(C) twice
    m.context.bc = 0x0110;
    m.step();
    EXPECT_EQ(m.context.af >> 8, 0xFF);
    EXPECT_TRUE(log.calls.empty());

    m.context.bc = 0x0010;
    m.step();
    EXPECT_EQ(m.context.af >> 8, 0x5A);
    EXPECT_EQ(log.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{0x10, 0}}));
}

TEST(Z80Ports, WhatTheHandlersReceive)
{
    AccessLog in, out;
    const Z80PortInputEntry inputs[] = {{0x0000, 0xFFFE, logPortIn, &in}, {0xFFFF, 0, nullptr, nullptr}};
    const Z80PortOutputEntry outputs[] = {{0x0000, 0xFFFE, logPortOut, &out}, {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.inputList = inputs;
    m.context.outputList = outputs;
    m.context.af = 0x9900;
    m.context.bc = 0x1234;
    m.context.de = 0x00EE;
    // IN A,(0x40); OUT (0x41),A; IN D,(C); OUT (C),E
    m.place(0, {0xDB, 0x40, 0xD3, 0x41, 0xED, 0x50, 0xED, 0x59});
    for (int i = 0; i < 4; ++i)
        m.step();
    // The immediate forms pass n alone; IN r,(C) passes C, OUT (C),r the whole BC.
    EXPECT_EQ(in.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{0x40, 0}, {0x34, 0}}));
    EXPECT_EQ(out.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{0x41, 0x5A}, {0x1234, 0xEE}}));
    EXPECT_EQ(m.context.de >> 8, 0x5A);
}

TEST(Z80Ports, UnmatchedInputReadsFFAndUnmatchedOutputIsDropped)
{
    Z80TestMachine m; // no port lists at all
    m.place(0, {0xDB, 0x10, 0xD3, 0x10, 0xED, 0x40});
    m.context.af = 0x00FF;
    m.step();
    EXPECT_EQ(m.context.af >> 8, 0xFF);
    m.step();
    m.step();
    EXPECT_EQ(m.context.bc >> 8, 0xFF);
    EXPECT_EQ(m.context.af & 0xC4, 0x84); // IN r,(C): S from the byte, P/V even parity
}

// ---- opcodes this engine does not implement ----

TEST(Z80Unimplemented, EdA2EndsTheSliceAndRunsAsAndDNext)
{
    Z80TestMachine m;
    m.place(0, {0x00, 0xED, 0xA2, 0x00});
    m.context.af = 0xF000;
    m.context.de = 0x3C00;
    EXPECT_EQ(m.run(1000), 2u); // the address of the byte after the prefix
    EXPECT_EQ(m.context.pc, 2);
    EXPECT_EQ(Z80Engine::cyclesThisCall(), 4); // the NOP only
    EXPECT_EQ(m.run(0), Z80Engine::sliceDone);
    EXPECT_EQ(m.context.af >> 8, 0x30); // AND D
    EXPECT_EQ(m.context.pc, 3);
}

TEST(Z80Unimplemented, WherePcIsLeftForEachPage)
{
    struct Case {
        std::initializer_list<uint8_t> code;
        uint32_t pcAfter;
    };
    for (Case c : {Case{{0xED, 0x00}, 1}, Case{{0xED, 0xB2}, 1}, Case{{0xED, 0x6B}, 1}, Case{{0xDD, 0x3C}, 1},
                   Case{{0xFD, 0xEB}, 1}, Case{{0xDD, 0xDD}, 1}, Case{{0xDD, 0xCB, 0x05, 0x00}, 3},
                   Case{{0xFD, 0xCB, 0x05, 0x36}, 3}}) {
        Z80TestMachine m;
        m.place(0, c.code);
        EXPECT_EQ(m.run(0), c.pcAfter);
        EXPECT_EQ(m.context.pc, c.pcAfter);
        EXPECT_EQ(Z80Engine::cyclesThisCall(), 0);
    }
}

TEST(Z80Unimplemented, PrefixBeforePlainInstructionActsInTheNextSlice)
{
    Z80TestMachine m;
    m.place(0, {0xDD, 0x3C}); // DD before INC A
    m.run(100);
    EXPECT_EQ(m.context.af >> 8, 0);
    m.run(0);
    EXPECT_EQ(m.context.af >> 8, 1);
    EXPECT_EQ(m.context.pc, 2);
}

// ---- context ----

TEST(Z80Context, ResetKeepsTheBlockListsAndInterruptAddresses)
{
    const Z80MemoryReadEntry reads[] = {{0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    Z80Context& c = m.context;
    c.readList = reads;
    c.nmiAddress = 0x1111;
    c.irqAddress = 0x2222;
    c.reserved = 0x33;
    c.af = c.bc = c.de = c.hl = c.afAlt = c.bcAlt = c.deAlt = c.hlAlt = 0xFFFF;
    c.ix = c.iy = c.sp = c.pc = 0xFFFF;
    c.i = c.r = 0xFF;
    c.halted = c.iff = 1;
    c.inService = 4;
    c.interruptMode = 2;
    Z80Engine::loadContext(c);
    Z80Engine::reset();
    Z80Engine::saveContext(c);

    Z80Context expected;
    expected.memory = m.block.data();
    expected.readList = reads;
    expected.nmiAddress = 0x1111;
    expected.irqAddress = 0x2222;
    expected.reserved = 0x33;
    EXPECT_TRUE(contextFields(expected) == contextFields(c));
}

TEST(Z80Context, TwoProcessorsShareTheEngineBySwapping)
{
    Z80TestMachine first, second;
    first.place(0, {0x3C, 0x3C, 0x3C});  // INC A
    second.place(0, {0x05, 0x05, 0x05}); // DEC B
    for (int slice = 0; slice < 3; ++slice) {
        first.run(0);
        second.run(0);
    }
    EXPECT_EQ(first.context.af >> 8, 3);
    EXPECT_EQ(first.context.bc, 0);
    EXPECT_EQ(second.context.bc >> 8, 0xFD);
    EXPECT_EQ(second.context.af >> 8, 0);
}

TEST(Z80Context, ExecuteWithoutAMemoryBlockDoesNothing)
{
    Z80Context empty;
    empty.iff = 1;
    Z80Engine::loadContext(empty);
    EXPECT_EQ(Z80Engine::execute(1000), Z80Engine::sliceDone);
    EXPECT_EQ(Z80Engine::irq(0), 1);
    Z80Engine::nmi();
    EXPECT_EQ(Z80Engine::current().pc, 0);
}

} // namespace
