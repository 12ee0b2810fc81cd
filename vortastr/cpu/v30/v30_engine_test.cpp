// Behaviour of the engine around slices, interrupts, addressing and timing.
#include "v30_test_machine.h"

#include <gtest/gtest.h>

namespace vortastr::v30 {
namespace {

using testing::PortLog;
using testing::TestMachine;

TEST(V30Reset, FirstOpcodeComesFromFFFF0)
{
    TestMachine m;
    m.engine.reset(m.mem());
    m.at(0xFFFF0) = 0xB0; // MOV AL, 5Ah
    m.at(0xFFFF1) = 0x5A;
    EXPECT_EQ(m.ctx().segment[CS], 0xFFFFu);
    EXPECT_EQ(m.ctx().segmentBase[CS], 0xFFFF0u);
    EXPECT_EQ(m.ctx().ip, 0u);
    EXPECT_EQ(m.flags(), 0xF002); // every flag reads 0
    m.step();
    EXPECT_EQ(m.al(), 0x5A);
    EXPECT_EQ(m.ctx().ip, 2u);
}

TEST(V30Slice, HltEndsTheSliceWithExactlyTheBudget)
{
    TestMachine m;
    m.code({0x90, 0x90, 0xF4, 0xB0, 0x11}); // NOP NOP HLT MOV AL,11h
    EXPECT_EQ(m.engine.execute(1000), 1000);
    EXPECT_EQ(m.ctx().ip, 3u); // already past HLT
    EXPECT_EQ(m.al(), 0);
    m.engine.execute(1);
    EXPECT_EQ(m.al(), 0x11); // the next slice goes on after it
}

TEST(V30Slice, NonPositiveBudgetRunsNothing)
{
    for (int32_t budget : {0, -1, -500}) {
        TestMachine m;
        m.code({0x40}); // INC AX
        EXPECT_EQ(m.engine.execute(budget), 0);
        EXPECT_EQ(m.ctx().ip, 0u);
        EXPECT_EQ(m.ctx().reg[AX], 0);
    }
}

TEST(V30Slice, NonPositiveBudgetStillTakesAPendingInterrupt)
{
    TestMachine m;
    m.setWord(0x20 * 4, 0x1234);
    m.setWord(0x20 * 4 + 2, 0x2000);
    m.engine.requestInterrupt(0x20); // IF clear: waits
    m.ctx().interruptFlag = 1;
    EXPECT_EQ(m.engine.execute(0), 0);
    EXPECT_EQ(m.ctx().segment[CS], 0x2000u);
    EXPECT_EQ(m.ctx().ip, 0x1234u);
}

TEST(V30Slice, AnEngineNeverResetOntoMemoryRunsNothing)
{
    V30Engine engine;
    engine.context().interruptFlag = 1;
    engine.requestInterrupt(8);
    EXPECT_EQ(engine.execute(100), 0);
    EXPECT_EQ(engine.context().ip, 0u);
}

TEST(V30Slice, ASegmentOfPrefixesStillEndsTheSlice)
{
    for (uint8_t prefix : {0x2E, 0xF3, 0xF0}) {
        TestMachine m;
        for (uint32_t i = 0; i < 0x10000; ++i)
            m.at(m.ctx().segmentBase[CS] + i) = prefix;
        EXPECT_GT(m.engine.execute(100), 100) << int(prefix);
    }
}

TEST(V30Slice, FinishesTheInstructionThatCrossesZero)
{
    TestMachine m;
    m.code({0xB8, 0x34, 0x12, 0x40}); // MOV AX,1234h (4) ; INC AX (2)
    EXPECT_EQ(m.engine.execute(3), 4);
    EXPECT_EQ(m.ctx().ip, 3u);
    EXPECT_EQ(m.engine.execute(3), 2 + 16 + 7); // INC, then the zero bytes: ADD [BX+SI],AL
}

TEST(V30Interrupt, TakenAtOnceWhenIfIsSet)
{
    TestMachine m;
    m.setWord(0x08 * 4, 0x0040);
    m.setWord(0x08 * 4 + 2, 0x0600);
    m.ctx().ip = 0x0010;
    m.ctx().interruptFlag = 1;
    m.ctx().carryValue = 1;
    m.engine.requestInterrupt(8);
    EXPECT_EQ(m.ctx().pendingVector, 0u);
    EXPECT_EQ(m.ctx().segment[CS], 0x0600u);
    EXPECT_EQ(m.ctx().ip, 0x0040u);
    EXPECT_EQ(m.ctx().interruptFlag, 0);
    EXPECT_EQ(m.ctx().reg[SP], 0x00FA);
    uint32_t ss = m.ctx().segmentBase[SS];
    EXPECT_EQ(m.word(ss + 0xFA), 0x0010);                   // IP
    EXPECT_EQ(m.word(ss + 0xFC), TestMachine::codeSegment); // CS
    EXPECT_EQ(m.word(ss + 0xFE), 0xF203);                   // FLAGS with IF and CF
}

TEST(V30Interrupt, WaitsForIfAndANewerRequestReplacesTheOlder)
{
    TestMachine m;
    for (uint32_t v : {0x20u, 0x21u}) {
        m.setWord(v * 4, uint16_t(0x100 * v));
        m.setWord(v * 4 + 2, 0x0700);
    }
    m.code({0x90, 0xFB, 0x90}); // NOP ; STI ; NOP
    m.engine.requestInterrupt(0x20);
    m.engine.requestInterrupt(0x21);
    EXPECT_EQ(m.ctx().pendingVector, 0x21u);
    m.engine.execute(1); // IF still clear: NOP runs, vector waits
    EXPECT_EQ(m.ctx().ip, 1u);
    m.engine.execute(1); // STI inside the slice: nothing taken mid-slice
    EXPECT_EQ(m.ctx().ip, 2u);
    EXPECT_EQ(m.ctx().segment[CS], TestMachine::codeSegment);
    m.engine.execute(0); // the next execute finds IF set
    EXPECT_EQ(m.ctx().pendingVector, 0u);
    EXPECT_EQ(m.ctx().segment[CS], 0x0700u);
    EXPECT_EQ(m.ctx().ip, 0x2100u); // through vector 0x21
}

TEST(V30Addressing, BpFormsUseSsAndAnOverrideReplacesIt)
{
    TestMachine m;
    m.ctx().reg[BP] = 0x0010;
    m.setWord(m.ctx().segmentBase[SS] + 0x12, 0xAAAA);
    m.setWord(m.ctx().segmentBase[DS] + 0x12, 0xDDDD);
    m.setWord(m.ctx().segmentBase[ES] + 0x12, 0xEEEE);
    m.code({0x8B, 0x46, 0x02, 0x26, 0x8B, 0x46, 0x02}); // MOV AX,[BP+2] ; ES: MOV AX,[BP+2]
    m.step();
    EXPECT_EQ(m.ctx().reg[AX], 0xAAAA);
    m.step();
    EXPECT_EQ(m.ctx().reg[AX], 0xEEEE);
    EXPECT_EQ(m.ctx().ip, 7u);
}

TEST(V30Addressing, SegmentFFFFOffset10WrapsToTheBottom)
{
    TestMachine m;
    m.ctx().setSegment(DS, 0xFFFF);
    m.at(0x00000) = 0x5A;
    m.at(0x00001) = 0x77;
    m.at(0xFFFFF) = 0x33;
    m.code({0xA0, 0x10, 0x00,               // MOV AL,[0010h] -> linear 0x00000
            0xA1, 0x0F, 0x00,               // MOV AX,[000Fh] -> 0xFFFFF and 0x00000
            0xC6, 0x06, 0x11, 0x00, 0x99}); // MOV byte [0011h],99h -> 0x00001
    m.step();
    EXPECT_EQ(m.al(), 0x5A);
    m.step();
    EXPECT_EQ(m.ctx().reg[AX], 0x5A33);
    m.step();
    EXPECT_EQ(m.at(0x00001), 0x99);
}

TEST(V30Addressing, WordAtOffsetFFFFWrapsWithinTheSegment)
{
    TestMachine m;
    uint32_t ds = m.ctx().segmentBase[DS];
    m.at(ds + 0xFFFF) = 0x34;
    m.at(ds + 0x0000) = 0x12;
    m.code({0xA1, 0xFF, 0xFF}); // MOV AX,[FFFFh]
    m.step();
    EXPECT_EQ(m.ctx().reg[AX], 0x1234);
}

TEST(V30Unimplemented, SpinsOnTheOpcodeForTenCycles)
{
    for (uint8_t opcode : {0x63, 0x64, 0x65, 0x66, 0x67, 0x82, 0xD6, 0xF1}) {
        TestMachine m;
        m.code({opcode, 0x40});
        EXPECT_EQ(m.engine.execute(25), 30) << int(opcode);
        EXPECT_EQ(m.ctx().ip, 0u) << int(opcode);
        EXPECT_EQ(m.ctx().reg[AX], 0) << int(opcode);
    }
}

TEST(V30Ports, ImmediateAndDxFormsWithWordsAtPortAndPortPlusOne)
{
    TestMachine m;
    m.ctx().reg[AX] = 0xBEEF;
    m.ctx().reg[DX] = 0x1234; // only the low byte reaches the board
    m.code({0xE6, 0x10,       // OUT 10h,AL
            0xE7, 0x20,       // OUT 20h,AX
            0xEE,             // OUT DX,AL
            0xE4, 0x05,       // IN AL,05h
            0xED});           // IN AX,DX
    for (int i = 0; i < 5; ++i)
        m.step();
    using W = std::pair<uint16_t, uint8_t>;
    EXPECT_EQ(PortLog::get().writes, (std::vector<W>{{0x10, 0xEF}, {0x20, 0xEF}, {0x21, 0xBE}, {0x34, 0xEF}}));
    EXPECT_EQ(PortLog::get().reads, (std::vector<uint16_t>{0x05, 0x34, 0x35}));
    EXPECT_EQ(m.ctx().reg[AX], 0x7574);
}

// Published 8086 times, including the effective-address time of memory forms.
struct TimingCase {
    const char* what;
    std::vector<uint8_t> bytes;
    int32_t cycles;
    int instructions = 1; // the set-up instructions before the one timed count as well
};

class V30Timing : public ::testing::TestWithParam<TimingCase> {};

TEST_P(V30Timing, ChargesThePublishedCount)
{
    TestMachine m;
    m.code(GetParam().bytes);
    int32_t cycles = 0;
    for (int i = 0; i < GetParam().instructions; ++i)
        cycles += m.step();
    EXPECT_EQ(cycles, GetParam().cycles);
}

INSTANTIATE_TEST_SUITE_P(
    Published, V30Timing,
    ::testing::Values(TimingCase{"ADD AL,AL", {0x00, 0xC0}, 3}, TimingCase{"ADD [BX+SI],AL", {0x00, 0x00}, 16 + 7},
                      TimingCase{"ADD [BX+DI+d8],AL", {0x00, 0x41, 0x01}, 16 + 12},
                      TimingCase{"ADD [d16],AL", {0x00, 0x06, 0x00, 0x10}, 16 + 6},
                      TimingCase{"ADD [BP+d16],AL", {0x00, 0x86, 0x00, 0x10}, 16 + 9},
                      TimingCase{"CMP AL,[SI]", {0x3A, 0x04}, 9 + 5},
                      TimingCase{"MOV AX,[BP+2]", {0x8B, 0x46, 0x02}, 8 + 9},
                      TimingCase{"ES: MOV AX,[BX]", {0x26, 0x8B, 0x07}, 2 + 8 + 5}, TimingCase{"PUSHF", {0x9C}, 14},
                      TimingCase{"JZ not taken", {0x74, 0x10}, 4}, TimingCase{"JNZ taken", {0x75, 0x10}, 16},
                      // CX counts down to 0 (or starts there for JCXZ) when they fall through
                      TimingCase{"LOOPNE not taken", {0xB9, 0x01, 0x00, 0xE0, 0x10}, 4 + 5, 2},
                      TimingCase{"LOOPE not taken", {0xB9, 0x01, 0x00, 0xE1, 0x10}, 4 + 6, 2},
                      TimingCase{"LOOP not taken", {0xB9, 0x01, 0x00, 0xE2, 0x10}, 4 + 5, 2},
                      TimingCase{"JCXZ taken", {0xE3, 0x10}, 18},
                      TimingCase{"JCXZ not taken", {0xB9, 0x01, 0x00, 0xE3, 0x10}, 4 + 6, 2},
                      TimingCase{"LOOPNE taken", {0xB9, 0x02, 0x00, 0xE0, 0x10}, 4 + 19, 2},
                      TimingCase{"LOOPE taken", {0xB9, 0x02, 0x00, 0x3C, 0x00, 0xE1, 0x10}, 4 + 4 + 18, 3},
                      TimingCase{"LOOP taken", {0xB9, 0x02, 0x00, 0xE2, 0x10}, 4 + 17, 2},
                      TimingCase{"SHL AX,CL with CL=0", {0xD3, 0xE0}, 8},
                      TimingCase{"ESC register form", {0xD8, 0xC0}, 2},
                      TimingCase{"ESC [BX+SI+d16]", {0xDB, 0x80, 0x34, 0x12}, 8 + 11},
                      TimingCase{"unknown 0x0F second byte", {0x0F, 0xFF}, 4}, TimingCase{"INT 21h", {0xCD, 0x21}, 51}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(V30Escape, SkipsItsOperandAndChangesNothing)
{
    TestMachine m;
    m.code({0xDC, 0x86, 0x34, 0x12, 0x40}); // ESC [BP+1234h] ; INC AX
    V30Context before = m.ctx();
    m.step();
    EXPECT_EQ(m.ctx().ip, 4u);
    EXPECT_EQ(m.ctx().reg[AX], before.reg[AX]);
}

TEST(V30Repeat, WholeRepetitionInOneStepWithOverrideAfterThePrefix)
{
    TestMachine m;
    uint32_t cs = m.ctx().segmentBase[CS];
    m.ctx().reg[CX] = 300;
    m.ctx().reg[SI] = 0x0100;
    m.ctx().reg[DI] = 0x0200;
    for (int i = 0; i < 300; ++i)
        m.at(cs + 0x100 + i) = uint8_t(i * 7);
    m.code({0xF3, 0x2E, 0xA4}); // REP CS: MOVSB
    int32_t used = m.engine.execute(1);
    EXPECT_EQ(used, 2 + 2 + 9 + 17 * 300);
    EXPECT_EQ(m.ctx().reg[CX], 0);
    EXPECT_EQ(m.ctx().reg[SI], 0x0100 + 300);
    EXPECT_EQ(m.ctx().ip, 3u);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(m.at(m.ctx().segmentBase[ES] + 0x200 + i), uint8_t(i * 7)) << i;
}

TEST(V30Repeat, CompareStopsOnItsCondition)
{
    TestMachine m;
    const char* text = "abcdXf";
    for (int i = 0; i < 6; ++i) {
        m.at(m.ctx().segmentBase[DS] + i) = uint8_t(text[i]);
        m.at(m.ctx().segmentBase[ES] + i) = uint8_t("abcdef"[i]);
    }
    m.ctx().reg[CX] = 6;
    m.code({0xF3, 0xA6, 0xF2, 0xAE}); // REPE CMPSB ; REPNE SCASB
    m.step();
    EXPECT_EQ(m.ctx().reg[CX], 1); // stopped after the fifth pair
    EXPECT_EQ(m.ctx().reg[SI], 5);
    EXPECT_FALSE(zeroFlag(m.ctx()));
    m.ctx().reg[AX] = 'e';
    m.ctx().reg[CX] = 100;
    m.ctx().reg[DI] = 0;
    m.step();
    EXPECT_EQ(m.ctx().reg[DI], 5);
    EXPECT_EQ(m.ctx().reg[CX], 95);
    EXPECT_TRUE(zeroFlag(m.ctx()));
}

TEST(V30Context, SlotsSwapThroughLoadAndSave)
{
    TestMachine m;
    V30Context first = m.ctx(), second = m.ctx();
    second.reg[AX] = 0x9999;
    m.code({0x40}); // INC AX
    m.engine.loadContext(first);
    m.step();
    m.engine.saveContext(first);
    m.engine.loadContext(second);
    m.step();
    m.engine.saveContext(second);
    EXPECT_EQ(first.reg[AX], 1);
    EXPECT_EQ(second.reg[AX], 0x999A);
}

} // namespace
} // namespace vortastr::v30
