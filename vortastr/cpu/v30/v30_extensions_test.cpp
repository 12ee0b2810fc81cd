// The 80186 additions and the V30 0x0F instructions, which the 8086 vectors do not cover.
#include "v30_test_machine.h"

#include <gtest/gtest.h>

namespace vortastr::v30 {
namespace {

using testing::PortLog;
using testing::TestMachine;

uint32_t stackTop(TestMachine& m) { return m.ctx().segmentBase[SS] + m.ctx().reg[SP]; }

TEST(V30PushAll, PushesTheOriginalSpAndPopAllSkipsIt)
{
    TestMachine m;
    for (int r = 0; r < 8; ++r)
        if (r != SP)
            m.ctx().reg[r] = uint16_t(0x1111 * (r + 1));
    m.code({0x60, 0x61}); // PUSHA ; POPA
    EXPECT_EQ(m.step(), 36);
    EXPECT_EQ(m.ctx().reg[SP], 0x0100 - 16);
    // Memory from SP up: DI SI BP SP BX DX CX AX.
    const uint16_t expected[8] = {0x8888, 0x7777, 0x6666, 0x0100, 0x4444, 0x3333, 0x2222, 0x1111};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m.word(stackTop(m) + 2 * i), expected[i]) << i;
    m.setWord(stackTop(m) + 6, 0xDEAD); // the stored SP is not loaded back
    for (int r = 0; r < 8; ++r)
        if (r != SP)
            m.ctx().reg[r] = 0;
    EXPECT_EQ(m.step(), 51);
    EXPECT_EQ(m.ctx().reg[SP], 0x0100);
    EXPECT_EQ(m.ctx().reg[AX], 0x1111);
    EXPECT_EQ(m.ctx().reg[DI], 0x8888);
}

TEST(V30PushImmediate, WordAndSignExtendedByte)
{
    TestMachine m;
    m.code({0x68, 0x34, 0x12, 0x6A, 0x80, 0x6A, 0x7F});
    m.step();
    EXPECT_EQ(m.word(stackTop(m)), 0x1234);
    m.step();
    EXPECT_EQ(m.word(stackTop(m)), 0xFF80);
    m.step();
    EXPECT_EQ(m.word(stackTop(m)), 0x007F);
}

struct MultiplyCase {
    std::vector<uint8_t> bytes;
    uint16_t source;
    uint16_t result;
    bool overflow;
};

class V30MultiplyImmediate : public ::testing::TestWithParam<MultiplyCase> {};

TEST_P(V30MultiplyImmediate, ThreeOperandFormSetsCarryAndOverflowTogether)
{
    TestMachine m;
    const auto& p = GetParam();
    m.code(p.bytes);
    m.ctx().reg[BX] = p.source;
    m.ctx().reg[CX] = 0xCCCC;
    m.step();
    EXPECT_EQ(m.ctx().reg[CX], p.result);
    EXPECT_EQ(carryFlag(m.ctx()), p.overflow);
    EXPECT_EQ(overflowFlag(m.ctx()), p.overflow);
    EXPECT_EQ(m.ctx().reg[BX], p.source);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, V30MultiplyImmediate,
    ::testing::Values(MultiplyCase{{0x69, 0xCB, 0x10, 0x00}, 0x0123, 0x1230, false}, // IMUL CX,BX,0010h
                      MultiplyCase{{0x69, 0xCB, 0x00, 0x01}, 0x0123, 0x2300, true},  // fits no more
                      MultiplyCase{{0x6B, 0xCB, 0xFE}, 0x0005, 0xFFF6, false},       // IMUL CX,BX,-2
                      MultiplyCase{{0x6B, 0xCB, 0xFF}, 0x8000, 0x8000, true}));      // -32768 * -1

struct ShiftCase {
    std::vector<uint8_t> bytes;
    uint16_t before;
    uint16_t after;
    bool carry;
    int32_t cycles;
};

class V30ShiftImmediate : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(V30ShiftImmediate, CountFromTheByteAfterTheOperand)
{
    TestMachine m;
    const auto& p = GetParam();
    m.code(p.bytes);
    m.ctx().reg[AX] = p.before;
    m.setWord(m.ctx().segmentBase[DS] + 0x0010, p.before);
    EXPECT_EQ(m.step(), p.cycles);
    uint16_t got = p.bytes[1] >= 0xC0 ? m.ctx().reg[AX] : m.word(m.ctx().segmentBase[DS] + 0x0010);
    if (p.bytes[0] == 0xC0)
        got &= 0xFF;
    EXPECT_EQ(got, p.after);
    EXPECT_EQ(carryFlag(m.ctx()), p.carry);
    EXPECT_EQ(m.ctx().ip, p.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Forms, V30ShiftImmediate,
                         ::testing::Values(ShiftCase{{0xC1, 0xE0, 0x04}, 0x1234, 0x2340, true, 5 + 4},  // SHL AX,4
                                           ShiftCase{{0xC1, 0xE8, 0x08}, 0x1234, 0x0012, false, 5 + 8}, // SHR AX,8
                                           ShiftCase{{0xC1, 0xF8, 0x04}, 0x8010, 0xF801, false, 5 + 4}, // SAR AX,4
                                           ShiftCase{{0xC0, 0xC0, 0x01}, 0x0081, 0x0003, true, 5 + 1},  // ROL AL,1
                                           ShiftCase{{0xC1, 0x26, 0x10, 0x00, 0x03},
                                                     0x00FF,
                                                     0x07F8,
                                                     false, // SHL [0010h],3
                                                     17 + 6 + 3}));

TEST(V30Enter, LevelsZeroOneAndTwoThenLeave)
{
    for (uint8_t level : {0, 1, 2}) {
        TestMachine m;
        m.ctx().reg[BP] = 0x00F0; // the caller's frame, holding a saved BP
        m.setWord(m.ctx().segmentBase[SS] + 0x00EE, 0xABCD);
        m.code({0xC8, 0x08, 0x00, level, 0xC9}); // ENTER 8,level ; LEAVE
        int32_t cycles = m.step();
        EXPECT_EQ(cycles, level == 0 ? 15 : level == 1 ? 25 : 38);
        uint16_t frame = uint16_t(0x0100 - 2);
        EXPECT_EQ(m.ctx().reg[BP], frame);
        EXPECT_EQ(m.word(m.ctx().segmentBase[SS] + frame), 0x00F0); // the old BP
        uint16_t displayWords = level == 0 ? 0 : level;
        EXPECT_EQ(m.ctx().reg[SP], uint16_t(frame - 2 * displayWords - 8));
        if (level >= 1) { // the new frame pointer ends the display
            EXPECT_EQ(m.word(m.ctx().segmentBase[SS] + frame - 2 * displayWords), frame);
        }
        if (level == 2) { // one outer frame pointer copied from the caller's display
            EXPECT_EQ(m.word(m.ctx().segmentBase[SS] + frame - 2), 0xABCD);
        }
        m.step();
        EXPECT_EQ(m.ctx().reg[SP], 0x0100);
        EXPECT_EQ(m.ctx().reg[BP], 0x00F0);
    }
}

TEST(V30Bound, InRangeGoesOnOutOfRangeEntersVectorFiveAtTheInstruction)
{
    for (int16_t index : {-5, 10, 20, 21, -6}) {
        TestMachine m;
        m.setWord(5 * 4, 0x0500);
        m.setWord(5 * 4 + 2, 0x0000);
        m.setWord(m.ctx().segmentBase[DS] + 0x40, uint16_t(-5));
        m.setWord(m.ctx().segmentBase[DS] + 0x42, 20);
        m.ctx().ip = 0x0010;
        m.code({0x62, 0x1E, 0x40, 0x00}); // BOUND BX,[0040h]
        m.ctx().reg[BX] = uint16_t(index);
        m.step();
        bool inside = index >= -5 && index <= 20;
        if (inside) {
            EXPECT_EQ(m.ctx().ip, 0x0014u) << index;
        } else {
            EXPECT_EQ(m.ctx().ip, 0x0500u) << index;
            EXPECT_EQ(m.word(stackTop(m)), 0x0010) << "returns to the BOUND itself";
        }
    }
}

TEST(V30InOutString, RepeatedThroughDxLowByte)
{
    TestMachine m;
    m.ctx().reg[DX] = 0xAB07;
    m.ctx().reg[CX] = 3;
    m.ctx().reg[DI] = 0x0020;
    m.code({0xF3, 0x6C, 0xF3, 0x26, 0x6F}); // REP INSB ; REP ES: OUTSW
    m.step();
    EXPECT_EQ(m.ctx().reg[CX], 0);
    EXPECT_EQ(m.ctx().reg[DI], 0x0023);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.at(m.ctx().segmentBase[ES] + 0x20 + i), 0x47);
    EXPECT_EQ(PortLog::get().reads, (std::vector<uint16_t>{7, 7, 7}));
    m.ctx().reg[CX] = 1;
    m.ctx().reg[SI] = 0x0020;
    m.step();
    using W = std::pair<uint16_t, uint8_t>;
    EXPECT_EQ(PortLog::get().writes, (std::vector<W>{{7, 0x47}, {8, 0x47}}));
    EXPECT_EQ(m.ctx().reg[SI], 0x0022);
}

// --- V30 0x0F page

struct BitCase {
    const char* what;
    std::vector<uint8_t> bytes; // after 0x0F; operand AL/AX, or [0010h]
    uint8_t cl;
    uint16_t before;
    uint16_t after;
    int zero; // expected ZF for TEST1, -1 when not checked
};

class V30BitInstruction : public ::testing::TestWithParam<BitCase> {};

TEST_P(V30BitInstruction, ActsOnTheNumberedBitOnly)
{
    TestMachine m;
    const auto& p = GetParam();
    m.code(p.bytes, {0x0F});
    bool word = p.bytes[0] & 1, memory = p.bytes[1] < 0xC0;
    uint32_t cell = m.ctx().segmentBase[DS] + 0x10;
    m.ctx().reg[AX] = p.before;
    m.setWord(cell, p.before);
    m.ctx().reg[CX] = p.cl;
    m.ctx().zeroValue = p.zero == 1 ? 1 : 0; // the opposite of the expected ZF
    m.step();
    uint16_t got = memory ? m.word(cell) : m.ctx().reg[AX];
    if (!word)
        got = uint16_t((got & 0xFF) | (p.before & 0xFF00)); // the neighbour byte stays
    EXPECT_EQ(got, p.after) << p.what;
    if (memory && !word) {
        EXPECT_EQ(m.at(cell + 1), uint8_t(p.before >> 8)) << p.what;
    }
    if (p.zero >= 0) {
        EXPECT_EQ(zeroFlag(m.ctx()), p.zero == 1) << p.what;
    }
    EXPECT_EQ(m.ctx().ip, p.bytes.size() + 1) << p.what;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, V30BitInstruction,
    ::testing::Values(BitCase{"TEST1 AL,CL set bit", {0x10, 0xC0}, 3, 0x0008, 0x0008, 0},
                      BitCase{"TEST1 AL,CL clear bit", {0x10, 0xC0}, 2, 0x0008, 0x0008, 1},
                      BitCase{"TEST1 AL,CL bit 11 of a byte", {0x10, 0xC0}, 11, 0xFFFF, 0xFFFF, 1},
                      BitCase{"TEST1 AX,CL bit 15", {0x11, 0xC0}, 15, 0x8000, 0x8000, 0},
                      BitCase{"TEST1 AX,CL bit 31 is bit 15", {0x11, 0xC0}, 31, 0x8000, 0x8000, 0},
                      BitCase{"CLR1 AL,CL", {0x12, 0xC0}, 7, 0x00FF, 0x007F, -1},
                      BitCase{"CLR1 AL,CL bit 8 of a byte", {0x12, 0xC0}, 8, 0xFFFF, 0xFFFF, -1},
                      BitCase{"CLR1 AX,CL bit 12", {0x13, 0xC0}, 12, 0xFFFF, 0xEFFF, -1},
                      BitCase{"SET1 [0010h],CL byte", {0x14, 0x06, 0x10, 0x00}, 1, 0x5500, 0x5502, -1},
                      BitCase{"SET1 [0010h],CL bit 9 of a byte", {0x14, 0x06, 0x10, 0x00}, 9, 0x5500, 0x5500, -1},
                      BitCase{"SET1 AX,CL bit 9", {0x15, 0xC0}, 9, 0x0000, 0x0200, -1},
                      BitCase{"NOT1 AL,CL", {0x16, 0xC0}, 0, 0x0001, 0x0000, -1},
                      BitCase{"NOT1 [0010h],CL word", {0x17, 0x06, 0x10, 0x00}, 14, 0x0000, 0x4000, -1},
                      BitCase{"TEST1 AL,imm", {0x18, 0xC0, 0x06}, 0, 0x0040, 0x0040, 0},
                      BitCase{"TEST1 [0010h],imm byte 13", {0x18, 0x06, 0x10, 0x00, 0x0D}, 0, 0xFFFF, 0xFFFF, 1},
                      BitCase{"CLR1 AX,imm", {0x1B, 0xC0, 0x0F}, 0, 0xFFFF, 0x7FFF, -1},
                      BitCase{"SET1 AL,imm bit 15 of a byte", {0x1C, 0xC0, 0x0F}, 0, 0x0000, 0x0000, -1},
                      BitCase{"SET1 [0010h],imm word", {0x1D, 0x06, 0x10, 0x00, 0x08}, 0, 0x0000, 0x0100, -1},
                      BitCase{"NOT1 AL,imm", {0x1E, 0xC0, 0x04}, 0, 0x0010, 0x0000, -1},
                      BitCase{"NOT1 AX,imm", {0x1F, 0xC0, 0x0A}, 0, 0x0000, 0x0400, -1}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct DecimalCase {
    std::vector<uint8_t> source; // lowest address first
    std::vector<uint8_t> destination;
    uint8_t digits; // CL
    std::vector<uint8_t> sum;
    bool carry;
    bool zero;
};

class V30AddDecimalStrings : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(V30AddDecimalStrings, AddsIntoTheDestinationWithCarryAndZero)
{
    TestMachine m;
    const auto& p = GetParam();
    m.ctx().reg[SI] = 0x0030;
    m.ctx().reg[DI] = 0x0050;
    m.ctx().reg[CX] = p.digits;
    for (std::size_t i = 0; i < p.source.size(); ++i) {
        m.at(m.ctx().segmentBase[DS] + 0x30 + i) = p.source[i];
        m.at(m.ctx().segmentBase[ES] + 0x50 + i) = p.destination[i];
    }
    m.ctx().carryValue = 1; // ADD4S does not add the carry in
    m.code({0x0F, 0x20});
    m.step();
    for (std::size_t i = 0; i < p.sum.size(); ++i)
        EXPECT_EQ(m.at(m.ctx().segmentBase[ES] + 0x50 + i), p.sum[i]) << i;
    EXPECT_EQ(carryFlag(m.ctx()), p.carry);
    EXPECT_EQ(zeroFlag(m.ctx()), p.zero);
    EXPECT_EQ(m.ctx().reg[SI], 0x0030);
    EXPECT_EQ(m.ctx().reg[DI], 0x0050);
}

INSTANTIATE_TEST_SUITE_P(Sums, V30AddDecimalStrings,
                         ::testing::Values(
                             // 1234 + 8765 = 9999
                             DecimalCase{{0x34, 0x12}, {0x65, 0x87}, 4, {0x99, 0x99}, false, false},
                             // 1234 + 8766 = 10000: carry out, every byte zero
                             DecimalCase{{0x34, 0x12}, {0x66, 0x87}, 4, {0x00, 0x00}, true, true},
                             // 3 digits take 2 bytes: 058 + 947 = 1005
                             DecimalCase{{0x58, 0x00}, {0x47, 0x09}, 3, {0x05, 0x10}, false, false},
                             // only the bytes CL counts are touched: 1 digit -> 1 byte, 9 + 1
                             DecimalCase{{0x09, 0x55}, {0x01, 0x66}, 1, {0x10, 0x66}, false, false},
                             // 0 + 0 is zero without carry
                             DecimalCase{{0x00}, {0x00}, 2, {0x00}, false, true}));

TEST(V30Extended, UnknownSecondBytesCostFourAndDoNothing)
{
    for (uint8_t second : {0x00, 0x0F, 0x21, 0x28, 0xFF}) {
        TestMachine m;
        m.code({0x0F, second, 0x40});
        V30Context before = m.ctx();
        EXPECT_EQ(m.step(), 4) << int(second);
        EXPECT_EQ(m.ctx().ip, 2u);
        EXPECT_EQ(m.ctx().reg[AX], before.reg[AX]);
        EXPECT_EQ(composeFlags(m.ctx()), composeFlags(before));
    }
}

} // namespace
} // namespace vortastr::v30
