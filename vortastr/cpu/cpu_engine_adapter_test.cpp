// The engine adapters' byte records: every register of each engine survives a round trip,
// the pointers of the slot are never part of it, and records of another engine or length
// are refused without a change.
#include "cpu_engine_adapter.h"
#include "cpu_slot.h"

#include <gtest/gtest.h>

using namespace vortastr;

namespace {

// Fills a slot of `kind` with distinct register values and returns it with its record.
struct Filled {
    CpuSlot slot;
    Z80Context z80;
};

void fill(Filled& f, CpuKind kind)
{
    f.slot.kind = kind;
    f.slot.z80 = &f.z80;
    M6809Context& m = f.slot.m6809;
    m.a = 0x11, m.b = 0x22, m.dp = 0x33, m.cc = 0xD4, m.x = 0x4455, m.y = 0x6677, m.u = 0x8899, m.s = 0xAABB;
    m.pc = 0xCCDD, m.pendingInterrupts = 0x23, m.waiting = true;
    Z80Context& z = f.z80;
    z.inService = 3, z.interruptMode = 2, z.iff = 1, z.halted = 1, z.af = 0x1234, z.bc = 0x2345, z.de = 0x3456;
    z.hl = 0x4567, z.afAlt = 0x5678, z.bcAlt = 0x6789, z.deAlt = 0x789A, z.hlAlt = 0x89AB, z.ix = 0x9ABC;
    z.iy = 0xABCD, z.sp = 0xBCDE, z.pc = 0xCDEF, z.nmiAddress = 0x66, z.irqAddress = 0xFF, z.i = 0x3F, z.r = 0x7E;
    v30::V30Context& v = f.slot.v30;
    v.ip = 0x1234;
    v.setSegment(1, 0xF000);
    v.setSegment(3, 0x0040);
    v.reg[0] = 0xBEEF, v.reg[7] = 0x1357, v.interruptFlag = 1, v.carryValue = 1, v.pendingVector = 0x20;
    M6502Context& p = f.slot.m6502;
    p.cycleTotal = 123456, p.a = 1, p.p = 0x24, p.pc = 0xFFFC, p.x = 2, p.y = 3, p.s = 0xFD, p.lastOpcode = 0xEA;
    p.nmiInProgress = 1, p.reserved[6] = 9;
}

TEST(CpuEngineAdapter, EveryEngineRecordRoundTripsIntoAFreshSlot)
{
    for (CpuKind kind : {Cpu6502, Cpu6809, CpuZ80, CpuV30}) {
        SCOPED_TRACE(kind);
        Filled from;
        fill(from, kind);
        const CpuEngineAdapter& engine = cpuEngineAdapter(kind);
        const std::vector<uint8_t> bytes = engine.serialize(from.slot);
        ASSERT_FALSE(bytes.empty());

        Filled to;
        to.slot.kind = kind;
        to.slot.z80 = &to.z80;
        uint8_t block[4] = {};
        to.slot.m6809.memory = block;
        to.slot.v30.memory = block;
        to.slot.m6502.memory = block;
        to.z80.memory = block;
        ASSERT_TRUE(engine.deserialize(to.slot, bytes));
        EXPECT_EQ(engine.serialize(to.slot), bytes) << "a second record is the same bytes";
        // The destination keeps its own memory.
        EXPECT_EQ(to.slot.m6809.memory, block);
        EXPECT_EQ(to.slot.v30.memory, block);
        EXPECT_EQ(to.slot.m6502.memory, block);
        EXPECT_EQ(to.z80.memory, block);
        switch (kind) {
        case Cpu6809:
            EXPECT_EQ(to.slot.m6809.pc, 0xCCDD);
            EXPECT_EQ(to.slot.m6809.s, 0xAABB);
            EXPECT_EQ(to.slot.m6809.pendingInterrupts, 0x23);
            EXPECT_TRUE(to.slot.m6809.waiting);
            break;
        case CpuZ80:
            EXPECT_EQ(to.z80.afAlt, 0x5678);
            EXPECT_EQ(to.z80.pc, 0xCDEF);
            EXPECT_EQ(to.z80.interruptMode, 2u);
            EXPECT_EQ(to.z80.r, 0x7E);
            break;
        case CpuV30:
            EXPECT_EQ(to.slot.v30.segmentBase[1], 0xF0000u);
            EXPECT_EQ(to.slot.v30.reg[0], 0xBEEF);
            EXPECT_EQ(to.slot.v30.pendingVector, 0x20u);
            break;
        case Cpu6502:
            EXPECT_EQ(to.slot.m6502.cycleTotal, 123456u);
            EXPECT_EQ(to.slot.m6502.pc, 0xFFFC);
            EXPECT_EQ(to.slot.m6502.reserved[6], 9);
            break;
        }
    }
}

TEST(CpuEngineAdapter, RecordsOfAnotherEngineOrLengthAreRefusedUntouched)
{
    Filled source;
    fill(source, Cpu6809);
    const std::vector<uint8_t> m6809Record = cpuEngineAdapter(Cpu6809).serialize(source.slot);
    for (CpuKind kind : {Cpu6502, CpuZ80, CpuV30}) {
        Filled target;
        target.slot.kind = kind;
        target.slot.z80 = &target.z80;
        const std::vector<uint8_t> before = cpuEngineAdapter(kind).serialize(target.slot);
        EXPECT_FALSE(cpuEngineAdapter(kind).deserialize(target.slot, m6809Record)) << kind;
        EXPECT_EQ(cpuEngineAdapter(kind).serialize(target.slot), before) << kind;
    }
    std::vector<uint8_t> shortRecord = m6809Record;
    shortRecord.pop_back();
    Filled target;
    EXPECT_FALSE(cpuEngineAdapter(Cpu6809).deserialize(target.slot, shortRecord));
    EXPECT_FALSE(cpuEngineAdapter(Cpu6809).deserialize(target.slot, {}));
    EXPECT_EQ(target.slot.m6809.pc, 0);
}

} // namespace
