// Data accesses through page pointers and handlers, and where opcodes and operands come from.
#include "m6809_test_machine.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

using namespace vortastr;
using vortastr::test::M6809TestMachine;

namespace {

std::vector<uint16_t> readCalls;
std::vector<std::pair<uint8_t, uint16_t>> writeCalls;
uint8_t* handlerReturns = nullptr;

uint8_t recordRead(uint16_t address)
{
    readCalls.push_back(address);
    return uint8_t(address); // the low byte, so the word read shows which call gave which byte
}

uint8_t* recordWrite(uint8_t value, uint16_t address)
{
    writeCalls.emplace_back(value, address);
    return handlerReturns;
}

class M6809Memory : public ::testing::Test {
protected:
    void SetUp() override
    {
        readCalls.clear();
        writeCalls.clear();
        handlerReturns = nullptr;
    }
    M6809TestMachine m;
};

TEST_F(M6809Memory, WordStraddlingTwoPagePointersTakesEachByteFromItsOwnPage)
{
    std::array<uint8_t, 256> first{}, second{};
    first[0xFF] = 0x12;
    second[0x00] = 0x34;
    m.context.readPage[0x20] = first.data();
    m.context.readPage[0x21] = second.data();
    m.context.writePage[0x20] = first.data();
    m.context.writePage[0x21] = second.data();
    m.load(0x1000, {0xBE, 0x20, 0xFF,   // LDX $20FF
                    0x8E, 0xAB, 0xCD,   // LDX #$ABCD
                    0xBF, 0x20, 0xFF}); // STX $20FF
    m.start(0x1000);
    m.cyclesOf(0x1000);
    EXPECT_EQ(m.regs().x, 0x1234);
    m.cyclesOf(0x1003);
    m.cyclesOf(0x1006);
    EXPECT_EQ(first[0xFF], 0xAB);
    EXPECT_EQ(second[0x00], 0xCD);
}

TEST_F(M6809Memory, WordAtFFFFWrapsToZero)
{
    m.load(0x1000, {0xBE, 0xFF, 0xFF,   // LDX $FFFF
                    0xCE, 0x55, 0x66,   // LDU #$5566
                    0xFF, 0xFF, 0xFF}); // STU $FFFF
    m.data()[0xFFFF] = 0x9A;
    m.data()[0x0000] = 0xBC;
    m.start(0x1000);
    m.cyclesOf(0x1000);
    EXPECT_EQ(m.regs().x, 0x9ABC);
    m.cyclesOf(0x1003);
    m.cyclesOf(0x1006);
    EXPECT_EQ(m.data()[0xFFFF], 0x55);
    EXPECT_EQ(m.data()[0x0000], 0x66);
}

TEST_F(M6809Memory, WordsThroughHandlersAreTwoCallsHighByteFirst)
{
    handlerReturns = m.data();
    m6809MapHandlers(m.context, 0x40, 0x40, &recordRead, &recordWrite);
    m.load(0x1000, {0xBE, 0x40, 0x10,   // LDX $4010
                    0xCC, 0x12, 0x34,   // LDD #$1234
                    0xFD, 0x40, 0x20}); // STD $4020
    m.start(0x1000);
    m.cyclesOf(0x1000);
    EXPECT_EQ(readCalls, (std::vector<uint16_t>{0x4010, 0x4011}));
    EXPECT_EQ(m.regs().x, 0x1011);
    m.cyclesOf(0x1003);
    m.cyclesOf(0x1006);
    using Call = std::pair<uint8_t, uint16_t>;
    EXPECT_EQ(writeCalls, (std::vector<Call>{{0x12, 0x4020}, {0x34, 0x4021}}));
}

TEST_F(M6809Memory, WriteHandlerMovesTheMemoryBaseForLaterFetches)
{
    std::vector<uint8_t> other(0x20000);
    handlerReturns = other.data();
    m6809MapHandlers(m.context, 0x40, 0x40, nullptr, &recordWrite);
    m.load(0x1000, {0xB7, 0x40, 0x00, // STA $4000 (the handler answers with the other block)
                    0x86, 0x11});     // LDA #$11 in the slot's own block
    other[0x10000 + 0x1003] = 0x86;   // LDA #$77 in the other block's images
    other[0x1004] = 0x77;
    m.start(0x1000);
    m.cpu().execute(6); // STA (5) then LDA (2)
    EXPECT_EQ(m.regs().a, 0x77);
    EXPECT_EQ(m.cpu().memoryBase, other.data());
    // The next loadContext returns to the slot's block.
    M6809Context saved;
    saved.memory = m.data();
    m.cpu().saveContext(saved);
    EXPECT_EQ(saved.memory, m.data()) << "saveContext must not write the base back";
    m.cpu().loadContext(saved);
    EXPECT_EQ(m.cpu().memoryBase, m.data());
}

TEST_F(M6809Memory, MissingHandlersReadFFAndKeepTheBase)
{
    m.context.readPage[0x50] = nullptr;
    m.context.writePage[0x50] = nullptr; // and no handlers either
    handlerReturns = nullptr;
    m6809MapHandlers(m.context, 0x51, 0x51, nullptr, &recordWrite); // a handler answering null
    m.load(0x1000, {0xB6, 0x50, 0x00,                               // LDA $5000
                    0xB7, 0x50, 0x00,                               // STA $5000
                    0xB7, 0x51, 0x00,                               // STA $5100
                    0x12});                                         // NOP
    m.start(0x1000);
    m.cpu().execute(16);
    EXPECT_EQ(m.regs().a, 0xFF);
    EXPECT_EQ(m.cpu().memoryBase, m.data());
    EXPECT_EQ(m.regs().pc, 0x100A);
}

TEST_F(M6809Memory, OpcodesFromTheOpcodeImageOperandsFromTheDataImageNeitherThroughPages)
{
    m6809MapHandlers(m.context, 0x10, 0x10, &recordRead, &recordWrite);
    m.load(0x1000, {0x12, 0x42}); // data image: NOP ...
    m.data()[0x11000] = 0x86;     // opcode image: LDA #
    m.start(0x1000);
    m.cyclesOf(0x1000);
    EXPECT_EQ(m.regs().a, 0x42);
    EXPECT_TRUE(readCalls.empty()) << "page 0x10 is a handler page, but fetches bypass the tables";
}

} // namespace
