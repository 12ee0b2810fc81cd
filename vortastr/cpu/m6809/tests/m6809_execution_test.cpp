// The execution loop: cycle rules, the carried counter, invalid opcodes and post-bytes, 0x3E,
// TFR/EXG rules and the published CC byte wherever CC leaves the engine.
#include "m6809_test_machine.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

using namespace vortastr;
using vortastr::test::M6809TestMachine;

namespace {

class M6809Execution : public ::testing::Test {
protected:
    void SetUp() override
    {
        m.setWord(0xFFFE, 0x0100);
        m.start(0x1000);
        m.regs().s = 0x8000;
        m.regs().u = 0x7000;
        m.regs().cc = 0x00;
    }
    M6809TestMachine m;
};

struct CycleCase {
    const char* what;
    std::vector<uint8_t> code;
    uint8_t cc;
    int32_t cycles;
};

TEST_F(M6809Execution, CycleRules)
{
    const CycleCase cases[] = {
        {"PSHS all", {0x34, 0xFF}, 0x00, 5},
        {"PULU one", {0x37, 0x02}, 0x00, 5},
        {"TFR X,Y", {0x1F, 0x12}, 0x00, 7},
        {"TFR A,X (mixed sizes)", {0x1F, 0x81}, 0x00, 7},
        {"EXG A,B", {0x1E, 0x89}, 0x00, 8},
        {"JMP extended", {0x7E, 0x20, 0x00}, 0x00, 3},
        {"JMP indexed", {0x6E, 0x84}, 0x00, 3},
        {"LBRA", {0x16, 0x00, 0x10}, 0x00, 5},
        {"LBSR", {0x17, 0x00, 0x10}, 0x00, 9},
        {"BSR", {0x8D, 0x10}, 0x00, 7},
        {"BRA", {0x20, 0x10}, 0x00, 3},
        {"BEQ not taken", {0x27, 0x10}, 0x00, 3},
        {"LBEQ taken", {0x10, 0x27, 0x00, 0x10}, 0x04, 5},
        {"LBEQ not taken", {0x10, 0x27, 0x00, 0x10}, 0x00, 6},
        {"LDA [n16,X]: post-byte adds nothing", {0xA6, 0xB9, 0x30, 0x00}, 0x00, 4},
        {"LDA ,X++", {0xA6, 0x81}, 0x00, 4},
        {"LDY [n16]", {0x10, 0xAE, 0x9F, 0x30, 0x00}, 0x00, 6},
        {"CMPU extended", {0x11, 0xB3, 0x30, 0x00}, 0x00, 8},
        {"MUL", {0x3D}, 0x00, 11},
        {"LDA extended", {0xB6, 0x30, 0x00}, 0x00, 5},
        {"ADDD direct", {0xD3, 0x10}, 0x00, 6},
        {"NEG extended", {0x70, 0x30, 0x00}, 0x00, 7},
        {"CWAI before waiting", {0x3C, 0xFF}, 0x00, 21},
    };
    for (const CycleCase& c : cases) {
        SetUp();
        for (std::size_t i = 0; i < c.code.size(); ++i)
            m.load(uint16_t(0x1000 + i), {c.code[i]});
        m.regs().cc = c.cc;
        m.regs().x = 0x3000;
        EXPECT_EQ(m.cyclesOf(0x1000), c.cycles) << c.what;
    }
}

TEST_F(M6809Execution, OvershootIsCarriedIntoTheNextSlice)
{
    m.load(0x1000, {0xB6, 0x30, 0x00, 0xB6, 0x30, 0x00, 0xB6, 0x30, 0x00}); // LDA extended x3
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(1), -4);
    EXPECT_EQ(m.cpu().execute(6), -3) << "starts from 2, runs one LDA";
    EXPECT_EQ(m.regs().pc, 0x1006);
}

TEST_F(M6809Execution, InvalidPage1OpcodeSticksAndTheCounterGrows)
{
    m.load(0x1000, {0x12, 0x01}); // NOP, invalid
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(100), 98);
    EXPECT_EQ(m.regs().pc, 0x1001);
    EXPECT_EQ(m.cpu().execute(50), 148);
    EXPECT_EQ(m.regs().pc, 0x1001);
}

// Every opcode of the three pages: the published holes stop without cycles (PC on the opcode,
// or on the second byte after a prefix); every defined opcode charges something.
TEST_F(M6809Execution, ExactlyTheUndefinedOpcodesStop)
{
    const std::set<uint8_t> page1Holes = {0x01, 0x02, 0x05, 0x0B, 0x14, 0x15, 0x18, 0x1B, 0x38, 0x41, 0x42,
                                          0x45, 0x4B, 0x4E, 0x51, 0x52, 0x55, 0x5B, 0x5E, 0x61, 0x62, 0x65,
                                          0x6B, 0x71, 0x72, 0x75, 0x7B, 0x87, 0x8F, 0xC7, 0xCD, 0xCF};
    const std::set<uint8_t> page2Defined = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A,
                                            0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x3F, 0x83, 0x8C, 0x8E, 0x93,
                                            0x9C, 0x9E, 0x9F, 0xA3, 0xAC, 0xAE, 0xAF, 0xB3, 0xBC, 0xBE,
                                            0xBF, 0xCE, 0xDE, 0xDF, 0xEE, 0xEF, 0xFE, 0xFF};
    const std::set<uint8_t> page3Defined = {0x3F, 0x83, 0x8C, 0x93, 0x9C, 0xA3, 0xAC, 0xB3, 0xBC};
    for (unsigned prefix : {0x00u, 0x10u, 0x11u}) {
        for (unsigned op = 0; op < 256; ++op) {
            if (prefix == 0 && (op == 0x10 || op == 0x11 || op == 0x3E))
                continue; // prefixes; 0x3E has its own test
            SetUp();
            if (prefix)
                m.load(0x1000, {uint8_t(prefix), uint8_t(op), 0x00, 0x00, 0x00});
            else
                m.load(0x1000, {uint8_t(op), 0x00, 0x00, 0x00});
            m.regs().cc = 0x50; // masked: it only ends a SYNC, and wakes CWAI #0
            m.regs().pendingInterrupts = m6809FirqBit;
            m.cpu().counter = 0;
            const bool undefined = prefix == 0      ? page1Holes.count(uint8_t(op)) == 1
                                   : prefix == 0x10 ? page2Defined.count(uint8_t(op)) == 0
                                                    : page3Defined.count(uint8_t(op)) == 0;
            const int32_t left = m.cpu().execute(1);
            EXPECT_EQ(left == 1, undefined) << std::hex << prefix << " " << op;
            if (undefined) {
                EXPECT_EQ(m.regs().pc, prefix ? 0x1001 : 0x1000) << std::hex << prefix << " " << op;
            }
        }
    }
}

TEST_F(M6809Execution, AStuckProcessorsCounterSaturatesInsteadOfOverflowing)
{
    m.load(0x1000, {0x01});
    m.cpu().counter = INT32_MAX - 10;
    EXPECT_EQ(m.cpu().execute(34133), INT32_MAX);
    EXPECT_EQ(m.cpu().execute(34133), INT32_MAX);
    EXPECT_EQ(m.regs().pc, 0x1000);
}

TEST_F(M6809Execution, UndefinedPage2OpcodeLeavesPcOnItsSecondByte)
{
    m.load(0x1000, {0x10, 0x20, 0x04}); // 0x10 0x20, then BRA +4 when run as a page-1 opcode
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(10), 10);
    EXPECT_EQ(m.regs().pc, 0x1001);
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(1), 1 - 3);
    EXPECT_EQ(m.regs().pc, 0x1001 + 2 + 4) << "the next slice runs 0x20 as BRA";
}

TEST_F(M6809Execution, InvalidPostByteAbandonsTheInstruction)
{
    struct Case {
        std::vector<uint8_t> code;
        uint16_t pcAfter;
    };
    const Case cases[] = {
        {{0xA6, 0x87}, 0x1000},       // LDA with 0x87
        {{0xA7, 0x90}, 0x1000},       // STA [,X+]
        {{0x30, 0xBF}, 0x1000},       // LEAX with 0xBF
        {{0x10, 0xAE, 0x8F}, 0x1001}, // LDY: back onto the 0xAE byte
        {{0x11, 0xA3, 0xFE}, 0x1001}, // CMPU
    };
    for (const Case& c : cases) {
        SetUp();
        for (std::size_t i = 0; i < c.code.size(); ++i)
            m.load(uint16_t(0x1000 + i), {c.code[i]});
        m.regs().x = 0x3000;
        m.cpu().counter = 0;
        EXPECT_EQ(m.cpu().execute(20), 20);
        EXPECT_EQ(m.regs().pc, c.pcAfter);
        EXPECT_EQ(m.regs().x, 0x3000) << "no side effect on the index register";
    }
}

// Every post-byte: exactly the published holes (and the indirect forms of ,R+ and ,-R) stop.
TEST_F(M6809Execution, ExactlyTheUndefinedPostBytesStop)
{
    const std::set<uint8_t> refused = {0x87, 0x8A, 0x8E, 0x8F, 0x90, 0x92, 0x97, 0x9A, 0x9E, 0xA7, 0xAA, 0xAE, 0xAF,
                                       0xB0, 0xB2, 0xB7, 0xBA, 0xBE, 0xBF, 0xC7, 0xCA, 0xCE, 0xCF, 0xD0, 0xD2, 0xD7,
                                       0xDA, 0xDE, 0xDF, 0xE7, 0xEA, 0xEE, 0xEF, 0xF0, 0xF2, 0xF7, 0xFA, 0xFE, 0xFF};
    for (unsigned pb = 0; pb < 256; ++pb) {
        SetUp();
        m.load(0x1000, {0xE6, uint8_t(pb), 0x00, 0x00}); // LDB indexed
        m.regs().x = m.regs().y = 0x3000;
        m.cpu().counter = 0;
        const bool stops = m.cpu().execute(1) == 1;
        EXPECT_EQ(stops, refused.count(uint8_t(pb)) == 1) << "post-byte " << std::hex << pb;
        EXPECT_EQ(m.regs().pc == 0x1000, stops) << "post-byte " << std::hex << pb;
    }
}

TEST_F(M6809Execution, Opcode3EResetsRegistersWithoutCycles)
{
    m.load(0x1000, {0x3E});
    m.load(0x0100, {0x12});
    m.regs().a = 1;
    m.regs().x = 2;
    m.regs().dp = 3;
    m.regs().cc = 0x10; // the pending IRQ stays masked
    m.regs().pendingInterrupts = m6809IrqBit;
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(1), 1) << "0x3E costs nothing and ends the slice";
    EXPECT_EQ(m.regs().pc, 0x0100);
    EXPECT_EQ(m.regs().a, 0);
    EXPECT_EQ(m.regs().x, 0);
    EXPECT_EQ(m.regs().dp, 0);
    EXPECT_EQ(m.regs().s, 0);
    EXPECT_EQ(m.regs().cc, 0x50);
    EXPECT_EQ(m.regs().pendingInterrupts, m6809IrqBit);
    EXPECT_EQ(m.cpu().execute(0), -1) << "the kept budget runs the NOP at the reset entry";
    EXPECT_EQ(m.regs().pc, 0x0101);

    // A reset vector pointing at 0x3E: every call returns.
    m.load(0x0100, {0x3E});
    m.regs().pc = 0x0100;
    EXPECT_EQ(m.cpu().execute(10), 9);
    EXPECT_EQ(m.cpu().execute(10), 19);
}

TEST_F(M6809Execution, TransfersOfMixedSizesOrUndefinedCodesDoNothing)
{
    for (uint8_t postByte : {0x18, 0x81, 0x6A, 0x1C, 0xF0, 0x77}) {
        for (uint8_t opcode : {0x1E, 0x1F}) {
            SetUp();
            m.load(0x1000, {opcode, postByte});
            m.regs().a = 0x12;
            m.regs().b = 0x34;
            m.regs().x = 0x5678;
            m.regs().cc = 0x05;
            M6809Context before = m.regs();
            m.cyclesOf(0x1000);
            EXPECT_EQ(m.regs().a, before.a);
            EXPECT_EQ(m.regs().x, before.x);
            EXPECT_EQ(m.regs().dp, before.dp);
            EXPECT_EQ(m.regs().cc, before.cc);
            EXPECT_EQ(m.regs().pc, 0x1002);
        }
    }
}

TEST_F(M6809Execution, CcLeavesAndEntersTheEngineAsThePublishedByte)
{
    m.load(0x1000, {0x86, 0x80,               // LDA #$80: N
                    0x1F, 0xA9,               // TFR CC,B
                    0x34, 0x01,               // PSHS CC
                    0x86, 0x04,               // LDA #$04
                    0x1F, 0x8A,               // TFR A,CC: Z only
                    0x27, 0x02,               // BEQ +2
                    0x12, 0x12, 0x1E, 0x8A}); // EXG A,CC
    m.cpu().counter = 0;
    m.cpu().execute(2 + 7 + 5 + 2 + 7 + 3 + 8 - 1);
    EXPECT_EQ(m.regs().b, 0x08);
    EXPECT_EQ(m.data()[0x7FFF], 0x08);
    EXPECT_EQ(m.regs().pc, 0x1010) << "the Z set through TFR made BEQ jump";
    EXPECT_EQ(m.regs().a, 0x04);
    EXPECT_EQ(m.regs().cc, 0x04);
}

TEST_F(M6809Execution, IndexedAutoIncrementAndIndirectForms)
{
    m.setWord(0x3000, 0x4000);
    m.data()[0x4000] = 0x99;
    m.data()[0x2FFF] = 0x77;
    m.load(0x1000, {0xA6, 0x91,   // LDA [,X++]
                    0xE6, 0x82}); // LDB ,-X
    m.regs().x = 0x3000;
    m.cyclesOf(0x1000);
    EXPECT_EQ(m.regs().a, 0x99);
    EXPECT_EQ(m.regs().x, 0x3002);
    m.regs().x = 0x3000;
    m.cyclesOf(0x1002);
    EXPECT_EQ(m.regs().b, 0x77);
    EXPECT_EQ(m.regs().x, 0x2FFF);
}

} // namespace
