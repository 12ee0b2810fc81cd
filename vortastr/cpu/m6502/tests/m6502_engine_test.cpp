// The engine's contract with boards and the frame loop: instruction budget, reset, interrupts,
// undocumented opcodes, the range lists and bank switching.
#include "m6502_test_machine.h"

#include <cstring>

namespace vortastr::m6502test {
namespace {

bool sameContext(const M6502Context& x, const M6502Context& y) { return std::memcmp(&x, &y, sizeof x) == 0; }

class Budget : public M6502Machine {};

TEST_F(Budget, CountOfFiveRunsFiveInstructionsAndAddsTheirCycles)
{
    poke(0x0200, {
                     0xA9, 0x01,       // LDA #1       2
                     0x85, 0x10,       // STA $10      3
                     0xE6, 0x10,       // INC $10      5
                     0xBE, 0x00, 0x00, // LDX $0000,Y  4 (Y = 0x10)
                     0x4C, 0x00, 0x03, // JMP $0300    3
                 });
    poke(0x0300, {0xE8, 0xE8}); // INX, INX: must not run
    setRegisters(0x0200, 0, 0, 0x10);
    ctx().cycleTotal = 1000;
    EXPECT_EQ(M6502Engine::execute(5), M6502Engine::executeCompleted);
    EXPECT_EQ(ctx().cycleTotal, 1000u + 2 + 3 + 5 + 4 + 3);
    EXPECT_EQ(ctx().pc, 0x0300);
    EXPECT_EQ(ctx().x, 0x02);
    EXPECT_EQ(ctx().lastOpcode, 0x4C);
}

TEST_F(Budget, CountBelowOneRunsNothing)
{
    poke(0x0200, {0xE8});
    setRegisters(0x0200);
    M6502Context before = ctx();
    for (int32_t count : {0, -1, INT32_MIN}) {
        EXPECT_EQ(M6502Engine::execute(count), M6502Engine::executeCompleted);
        EXPECT_TRUE(sameContext(ctx(), before));
    }
}

TEST_F(Budget, UndocumentedOpcodeStopsTheSliceThereForGood)
{
    poke(0x0200, {0xA9, 0x42, 0x02, 0xE8}); // LDA #$42, then an undocumented opcode
    setRegisters(0x0200);
    EXPECT_EQ(M6502Engine::execute(10), 0x0202u);
    EXPECT_EQ(ctx().a, 0x42);
    EXPECT_EQ(ctx().pc, 0x0202);
    EXPECT_EQ(ctx().cycleTotal, 2u);
    EXPECT_EQ(ctx().lastOpcode, 0xA9);
    M6502Context stuck = ctx();
    EXPECT_EQ(M6502Engine::execute(10), 0x0202u);
    EXPECT_TRUE(sameContext(ctx(), stuck));
}

TEST_F(Budget, ExactlyTheHundredAndFiveUndocumentedOpcodesStop)
{
    int stopped = 0;
    for (int opcode = 0; opcode < 256; ++opcode) {
        SetUp();
        mem[0xFFF0] = uint8_t(opcode);
        setRegisters(0xFFF0, 1, 2, 3, 0x80, U);
        M6502Context before = ctx();
        uint32_t result = M6502Engine::execute(1);
        if (result == M6502Engine::executeCompleted)
            continue;
        ++stopped;
        EXPECT_EQ(result, 0xFFF0u) << "opcode " << opcode;
        EXPECT_TRUE(sameContext(ctx(), before)) << "opcode " << opcode;
    }
    EXPECT_EQ(stopped, 105);
}

class ResetAndInterrupts : public M6502Machine {
protected:
    void SetUp() override
    {
        M6502Machine::SetUp();
        pokeWord(0xFFFA, 0x0A00); // NMI
        pokeWord(0xFFFC, 0x0200); // reset
        pokeWord(0xFFFE, 0x0B00); // IRQ/BRK
        poke(0x0A00, {0x40});     // NMI handler: RTI
        poke(0x0B00, {0x40});     // IRQ handler: RTI
    }
};

TEST_F(ResetAndInterrupts, ResetSetsPowerOnStateAndKeepsBaseAndLists)
{
    logListedAccesses();
    ctx().a = ctx().x = ctx().y = 0x55;
    ctx().s = 0x12;
    ctx().p = 0xFF;
    ctx().cycleTotal = 999;
    ctx().nmiInProgress = 1;
    M6502Engine::reset();
    EXPECT_EQ(ctx().pc, 0x0200);
    EXPECT_EQ(ctx().a, 0);
    EXPECT_EQ(ctx().x, 0);
    EXPECT_EQ(ctx().y, 0);
    EXPECT_EQ(ctx().s, 0xFF);
    EXPECT_EQ(ctx().p, 0x22);
    EXPECT_EQ(ctx().cycleTotal, 0u);
    EXPECT_EQ(ctx().nmiInProgress, 0);
    EXPECT_EQ(ctx().memory, mem.data());
    EXPECT_EQ(ctx().readList, loggingReads);
    EXPECT_EQ(ctx().writeList, loggingWrites);
    EXPECT_TRUE(AccessLog::entries.empty()) << "the reset vector is read directly";
}

// Interrupt entry, BRK, RTI and the pushes and pulls of P use the stack and the vectors
// directly, even when the lists claim every address.
TEST_F(ResetAndInterrupts, StackAndVectorsBypassTheLists)
{
    pokeWord(0xFFFE, 0x0B00);
    poke(0x0200, {0x00, 0xEA, 0x08, 0x28, 0xEA}); // BRK and its padding, PHP, PLP, NOP
    M6502Engine::reset();
    logListedAccesses();
    ASSERT_EQ(M6502Engine::irq(), 0);
    M6502Engine::execute(1); // RTI
    ASSERT_EQ(M6502Engine::nmi(), 0);
    M6502Engine::execute(1); // RTI
    M6502Engine::execute(2); // BRK, RTI
    EXPECT_EQ(ctx().pc, 0x0202);
    M6502Engine::execute(2); // PHP, PLP
    EXPECT_EQ(ctx().pc, 0x0204);
    EXPECT_EQ(ctx().cycleTotal, 7u + 6 + 7 + 6 + 7 + 6 + 3 + 4);
    EXPECT_TRUE(AccessLog::entries.empty());
}

TEST_F(ResetAndInterrupts, IrqAcceptedAfterResetUntilSei)
{
    poke(0x0200, {0xEA, 0x78, 0xEA}); // NOP, SEI, NOP
    M6502Engine::reset();
    M6502Engine::execute(1);
    EXPECT_EQ(M6502Engine::irq(), 0);
    EXPECT_EQ(ctx().pc, 0x0B00);
    EXPECT_EQ(ctx().s, 0xFC);
    EXPECT_EQ(mem[0x01FF], 0x02);
    EXPECT_EQ(mem[0x01FE], 0x01);
    EXPECT_EQ(mem[0x01FD], U | Z); // B clear: an interrupt, not a BRK
    EXPECT_EQ(ctx().p, U | Z | I);
    EXPECT_EQ(ctx().cycleTotal, 2u + 7u);

    EXPECT_EQ(M6502Engine::irq(), -1) << "I is set inside the handler";
    M6502Engine::execute(1); // RTI restores I clear
    EXPECT_EQ(ctx().pc, 0x0201);
    EXPECT_EQ(M6502Engine::irq(), 0);
    M6502Engine::execute(1); // RTI
    M6502Engine::execute(1); // SEI
    M6502Context before = ctx();
    std::vector<uint8_t> memoryBefore = mem;
    EXPECT_EQ(M6502Engine::irq(), -1);
    EXPECT_TRUE(sameContext(ctx(), before));
    EXPECT_TRUE(mem == memoryBefore);
}

TEST_F(ResetAndInterrupts, RefusedIrqIsDroppedNotHeld)
{
    poke(0x0200, {0x58, 0xEA}); // CLI, NOP
    M6502Engine::reset();
    ctx().p |= I;
    EXPECT_EQ(M6502Engine::irq(), -1);
    M6502Engine::execute(2);
    EXPECT_EQ(ctx().pc, 0x0202) << "no interrupt is taken once I clears";
}

TEST_F(ResetAndInterrupts, SecondNmiRefusedUntilRti)
{
    poke(0x0200, {0x78, 0xEA, 0xEA}); // SEI: NMI ignores I
    M6502Engine::reset();
    M6502Engine::execute(1);
    EXPECT_EQ(M6502Engine::nmi(), 0);
    EXPECT_EQ(ctx().nmiInProgress, 1);
    EXPECT_EQ(ctx().pc, 0x0A00);
    EXPECT_EQ(mem[0x01FD], U | Z | I);
    EXPECT_EQ(ctx().cycleTotal, 2u + 7u);

    M6502Context before = ctx();
    std::vector<uint8_t> memoryBefore = mem;
    EXPECT_EQ(M6502Engine::nmi(), -1);
    EXPECT_TRUE(sameContext(ctx(), before));
    EXPECT_TRUE(mem == memoryBefore);

    M6502Engine::execute(1); // RTI
    EXPECT_EQ(ctx().nmiInProgress, 0);
    EXPECT_EQ(ctx().pc, 0x0201);
    EXPECT_EQ(M6502Engine::nmi(), 0);
}

TEST_F(ResetAndInterrupts, ContextCopiesCarryEveryByte)
{
    M6502Engine::reset();
    ctx().reserved[0] = 0x5A;
    ctx().reserved[6] = 0xA5;
    M6502Context saved{};
    M6502Engine::saveContext(saved);
    EXPECT_TRUE(sameContext(saved, ctx()));
    M6502Context other = saved;
    other.a = 0x99;
    other.pc = 0x1234;
    M6502Engine::loadContext(other);
    EXPECT_TRUE(sameContext(ctx(), other));
}

class RangeLists : public M6502Machine {};

namespace handlers {
std::vector<uint8_t>* bankA = nullptr;
std::vector<uint8_t>* bankB = nullptr;
int calls = 0;

uint8_t readSeven(uint16_t) { return ++calls, 0x07; }
uint8_t readNine(uint16_t) { return ++calls, 0x09; }
int ignoreWrite(uint16_t, uint8_t) { return ++calls, 0; }
int switchToBankB(uint16_t, uint8_t)
{
    ++calls;
    M6502Engine::context.memory = bankB->data();
    return 1;
}
} // namespace handlers

TEST_F(RangeLists, FirstMatchWinsAndTheEndMarkerStopsTheSearch)
{
    const M6502ReadEntry reads[] = {
        {0x2000, 0x2FFF, handlers::readSeven},
        {0x2000, 0x3FFF, handlers::readNine},
        {m6502ListEnd, 0, nullptr},
        {0x5000, 0x5FFF, handlers::readNine}, // beyond the end: never consulted
    };
    ctx().readList = reads;
    mem[0x3000] = 0x30;
    mem[0x5000] = 0x50;
    mem[0x1FFF] = 0x1F;
    struct Probe {
        uint16_t address;
        uint8_t value;
    };
    for (Probe probe : {Probe{0x2000, 0x07}, Probe{0x2FFF, 0x07}, Probe{0x3000, 0x09}, Probe{0x3FFF, 0x09},
                        Probe{0x1FFF, 0x1F}, Probe{0x5000, 0x50}}) {
        poke(0x0200, {0xAD, uint8_t(probe.address), uint8_t(probe.address >> 8)});
        setRegisters(0x0200);
        M6502Engine::execute(1);
        EXPECT_EQ(ctx().a, probe.value) << "address " << probe.address;
    }
}

TEST_F(RangeLists, CodeInAClaimedRangeIsFetchedFromTheBlock)
{
    const M6502ReadEntry reads[] = {{0x0000, 0xFFFF, handlers::readSeven}, {m6502ListEnd, 0, nullptr}};
    ctx().readList = reads;
    handlers::calls = 0;
    poke(0x0200, {0xA5, 0x10}); // LDA $10: page zero goes through the list too
    setRegisters(0x0200);
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().a, 0x07);
    EXPECT_EQ(handlers::calls, 1);
}

TEST_F(RangeLists, StaThroughHandlerLeavesBlockButPhaWritesIt)
{
    const M6502WriteEntry writes[] = {{0x0100, 0x01FF, handlers::ignoreWrite}, {m6502ListEnd, 0, nullptr}};
    ctx().writeList = writes;
    handlers::calls = 0;
    poke(0x0200, {0x8D, 0xFF, 0x01, 0x48}); // STA $01FF, PHA
    mem[0x01FF] = 0x00;
    setRegisters(0x0200, 0x6B, 0, 0, 0xFF);
    M6502Engine::execute(1);
    EXPECT_EQ(handlers::calls, 1);
    EXPECT_EQ(mem[0x01FF], 0x00);
    M6502Engine::execute(1);
    EXPECT_EQ(handlers::calls, 1);
    EXPECT_EQ(mem[0x01FF], 0x6B);
}

TEST_F(RangeLists, BankSwitchingWriteMovesTheNextFetch)
{
    std::vector<uint8_t> bankB(0x10000);
    handlers::bankA = &mem;
    handlers::bankB = &bankB;
    const M6502WriteEntry writes[] = {{0x8000, 0x8000, handlers::switchToBankB}, {m6502ListEnd, 0, nullptr}};
    ctx().writeList = writes;
    poke(0x0200, {0x8D, 0x00, 0x80, 0xA9, 0x11}); // STA $8000, then LDA #$11 in this block
    bankB[0x0203] = 0xA9;                         // LDA #$22 in the new block
    bankB[0x0204] = 0x22;
    bankB[0x0010] = 0x33;
    bankB[0x0205] = 0xA6; // LDX $10 reads the new block's data
    bankB[0x0206] = 0x10;
    setRegisters(0x0200);
    EXPECT_EQ(M6502Engine::execute(3), M6502Engine::executeCompleted);
    EXPECT_EQ(ctx().a, 0x22);
    EXPECT_EQ(ctx().x, 0x33);
    EXPECT_EQ(ctx().memory, bankB.data());
    EXPECT_EQ(ctx().pc, 0x0207);
}

// Every kind of listed write can switch banks: stores through each index and pointer mode, and
// the write half of a read-modify-write.
TEST_F(RangeLists, BankSwitchFromEveryWritingMode)
{
    struct SwitchCase {
        const char* what;
        std::vector<uint8_t> code; // at 0x0200; it writes 0x8000
    };
    const SwitchCase cases[] = {
        {"STA abs,X", {0x9D, 0xF0, 0x7F}}, {"STA (zp),Y", {0x91, 0x10}},    {"STA (zp,X)", {0x81, 0x10}},
        {"STX abs", {0x8E, 0x00, 0x80}},   {"INC abs", {0xEE, 0x00, 0x80}}, {"ROR abs,X", {0x7E, 0xF0, 0x7F}},
    };
    std::vector<uint8_t> bankB(0x10000);
    handlers::bankB = &bankB;
    const M6502WriteEntry writes[] = {{0x8000, 0x8000, handlers::switchToBankB}, {m6502ListEnd, 0, nullptr}};
    for (const SwitchCase& sc : cases) {
        SCOPED_TRACE(sc.what);
        SetUp();
        std::fill(bankB.begin(), bankB.end(), 0);
        ctx().writeList = writes;
        pokeWord(0x0010, 0x7FF0); // (zp),Y: plus Y is 0x8000
        pokeWord(0x0020, 0x8000); // (zp,X): 0x10 plus X
        std::copy(sc.code.begin(), sc.code.end(), mem.begin() + 0x0200);
        uint16_t next = uint16_t(0x0200 + sc.code.size());
        poke(next, {0xA9, 0x11}); // LDA #$11 in the old block
        bankB[next] = 0xA9;       // LDA #$22 in the new one
        bankB[next + 1] = 0x22;
        setRegisters(0x0200, 0, 0x10, 0x10);
        EXPECT_EQ(M6502Engine::execute(2), M6502Engine::executeCompleted);
        EXPECT_EQ(ctx().memory, bankB.data());
        EXPECT_EQ(ctx().a, 0x22);
        EXPECT_EQ(ctx().pc, next + 2);
    }
}

} // namespace
} // namespace vortastr::m6502test
