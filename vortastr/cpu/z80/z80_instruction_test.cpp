// Instruction-level behaviour that the conformance vectors do not record: T-state charges
// (with this engine's exceptions), block instructions done in one step, LD A,R / LD A,I,
// and the implemented opcode sets.
#include "z80_cycles.h"
#include "z80_test_machine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vortastr;
using vortastr::testing::Z80TestMachine;

namespace {

struct CostCase {
    const char* name;
    std::vector<uint8_t> code;
    uint8_t flags; // F before the instruction
    int32_t cost;
};

TEST(Z80Timing, ChargesPerInstruction)
{
    const CostCase cases[] = {
        {"NOP", {0x00}, 0, 4},
        {"LD (HL),n", {0x36, 0x12}, 0, 7},
        {"INC (HL)", {0x34}, 0, 11},
        {"JP nn", {0xC3, 0x00, 0x10}, 0, 10},
        {"JR Z taken", {0x28, 0x05}, 0x40, 12},
        {"JR Z not taken", {0x28, 0x05}, 0x00, 7},
        {"DJNZ taken (B 0 -> FF)", {0x10, 0x05}, 0, 13},
        {"CALL NZ taken", {0xC4, 0x00, 0x10}, 0x00, 17},
        {"CALL NZ not taken", {0xC4, 0x00, 0x10}, 0x40, 10},
        {"RET C taken", {0xD8}, 0x01, 11},
        {"RET C not taken", {0xD8}, 0x00, 5},
        {"EX (SP),HL", {0xE3}, 0, 19},
        {"RST 38", {0xFF}, 0, 11},
        {"BIT 0,(HL)", {0xCB, 0x46}, 0, 12},
        {"SET 0,(HL)", {0xCB, 0xC6}, 0, 15},
        {"RL B", {0xCB, 0x10}, 0, 8},
        {"SBC HL,DE", {0xED, 0x52}, 0, 15},
        {"LD (nn),SP", {0xED, 0x73, 0x00, 0x40}, 0, 20},
        {"RRD", {0xED, 0x67}, 0, 18},
        {"LDI", {0xED, 0xA0}, 0, 16},
        {"IN A,(C)", {0xED, 0x78}, 0, 12},
        {"INC (IX+d)", {0xDD, 0x34, 0x01}, 0, 19},
        {"DEC (IY+d)", {0xFD, 0x35, 0x01}, 0, 19},
        {"LD (IX+d),n", {0xDD, 0x36, 0x01, 0x02}, 0, 19},
        {"ADD A,(IY+d)", {0xFD, 0x86, 0x01}, 0, 19},
        {"LD SP,IX", {0xDD, 0xF9}, 0, 15},
        {"LD SP,IY", {0xFD, 0xF9}, 0, 15},
        {"INC IXH", {0xDD, 0x24}, 0, 10},
        {"DEC IYL", {0xFD, 0x2D}, 0, 10},
        {"LD IXH,n", {0xDD, 0x26, 0x12}, 0, 12},
        {"LD B,IXL", {0xDD, 0x45}, 0, 12},
        {"LD IYH,IYL", {0xFD, 0x65}, 0, 12},
        {"CP IXH", {0xDD, 0xBC}, 0, 12},
        {"ADD IX,BC", {0xDD, 0x09}, 0, 15},
        {"PUSH IY", {0xFD, 0xE5}, 0, 15},
        {"EX (SP),IX", {0xDD, 0xE3}, 0, 23},
        {"JP (IX)", {0xDD, 0xE9}, 0, 8},
        {"BIT 7,(IX+d)", {0xDD, 0xCB, 0x01, 0x7E}, 0, 20},
        {"RES 7,(IY+d)", {0xFD, 0xCB, 0x01, 0xBE}, 0, 23},
        {"SRL (IX+d)", {0xDD, 0xCB, 0x01, 0x3E}, 0, 23},
    };
    for (const CostCase& c : cases) {
        Z80TestMachine m;
        for (std::size_t i = 0; i < c.code.size(); ++i)
            m.mem()[i] = c.code[i];
        m.context.af = c.flags;
        m.context.sp = 0x8000;
        m.context.hl = 0x4000;
        m.context.ix = m.context.iy = 0x5000;
        EXPECT_EQ(m.step(), c.cost) << c.name;
    }
}

// ---- block instructions ----

struct BlockMoveCase {
    uint16_t count;
    int32_t cost; // 21 per byte, kept to 16 bits
};

TEST(Z80Block, LdirChargesPerByteModulo65536)
{
    for (BlockMoveCase c : {BlockMoveCase{1, 21}, BlockMoveCase{3, 63}, BlockMoveCase{3120, 65520},
                            BlockMoveCase{3121, 5}, BlockMoveCase{0, 0}}) {
        Z80TestMachine m;
        m.place(0, {0xED, 0xB0, 0x76}); // LDIR; HALT
        m.context.hl = 0x1000;
        m.context.de = 0x1000; // a copy onto itself keeps even the 65536-byte case harmless
        m.context.bc = c.count;
        m.context.af = 0x00FF;
        EXPECT_EQ(m.step(), c.cost) << "BC " << c.count;
        EXPECT_EQ(m.context.bc, 0);
        uint32_t moved = c.count ? c.count : 0x10000;
        EXPECT_EQ(m.context.hl, uint16_t(0x1000 + moved));
        EXPECT_EQ(m.context.af & 0xFF, 0xC1) << "S, Z and C kept; H, P/V and N cleared";
        // A charge of 0 does not exceed a budget of 0, so only then does the call go on (to the HALT).
        EXPECT_EQ(m.context.halted, c.cost == 0 ? 1u : 0u) << "BC " << c.count;
    }
}

TEST(Z80Block, LddrCopiesDownwardsThroughTheLists)
{
    static std::vector<uint16_t> written;
    written.clear();
    const Z80MemoryWriteEntry writes[] = {
        {0x2000, 0x20FF, [](uint16_t at, uint8_t, const Z80MemoryWriteEntry*) { written.push_back(at); }, nullptr},
        {0xFFFF, 0, nullptr, nullptr}};
    Z80TestMachine m;
    m.context.writeList = writes;
    m.place(0, {0xED, 0xB8});
    m.context.hl = 0x1002;
    m.context.de = 0x2002;
    m.context.bc = 3;
    EXPECT_EQ(m.step(), 63);
    EXPECT_EQ(written, (std::vector<uint16_t>{0x2002, 0x2001, 0x2000}));
    EXPECT_EQ(m.context.hl, 0x0FFF);
    EXPECT_EQ(m.context.de, 0x1FFF);
}

struct BlockCompareCase {
    const char* name;
    uint8_t opcode;
    uint16_t bc;
    int32_t cost;
    uint16_t hlAfter;
    uint16_t bcAfter;
    uint8_t flagsAfter; // S Z H P/V N C; C was set before
};

TEST(Z80Block, CpirAndCpdrRepeatInOneStep)
{
    // Memory 0x3000..: 10 20 30 40 50; A = 0x30.
    const BlockCompareCase cases[] = {
        {"CPIR finds the third byte", 0xB1, 10, 21 * 2 + 16, 0x3003, 7, 0x47},
        {"CPIR finds it as BC runs out", 0xB1, 3, 21 * 2 + 16, 0x3003, 0, 0x43},
        {"CPIR misses", 0xB1, 2, 21 + 16, 0x3002, 0, 0x03},
        {"CPDR finds it going down", 0xB9, 5, 21 * 2 + 16, 0x3001, 2, 0x47},
    };
    for (const BlockCompareCase& c : cases) {
        Z80TestMachine m;
        m.place(0, {0xED, c.opcode});
        m.place(0x3000, {0x10, 0x20, 0x30, 0x40, 0x50});
        m.context.af = 0x3001;
        m.context.hl = c.opcode == 0xB1 ? 0x3000 : 0x3004;
        m.context.bc = c.bc;
        EXPECT_EQ(m.step(), c.cost) << c.name;
        EXPECT_EQ(m.context.hl, c.hlAfter) << c.name;
        EXPECT_EQ(m.context.bc, c.bcAfter) << c.name;
        EXPECT_EQ(m.context.af & 0xD7, c.flagsAfter) << c.name;
    }
}

TEST(Z80Block, CpirWithBcZeroSearchesTheWholeSpace)
{
    Z80TestMachine m; // everything zero except the instruction and the target
    m.place(0, {0xED, 0xB1});
    m.mem()[0x8000] = 0x77;
    m.context.af = 0x7700;
    m.context.hl = 0x0002;
    m.context.bc = 0;
    int32_t cost = m.step();
    EXPECT_EQ(m.context.hl, 0x8001);
    EXPECT_EQ(m.context.bc, uint16_t(0x10000 - (0x8000 - 2 + 1)));
    EXPECT_EQ(cost, 21 * (0x8000 - 2) + 16);
}

// ---- I and R ----

TEST(Z80Registers, LdAReadsRAndAdvancesIt)
{
    Z80TestMachine m;
    m.place(0, {0xED, 0x5F, 0xED, 0x5F});
    m.context.r = 0x10;
    m.context.bc = 0x0300;
    m.context.hl = 0x0005;
    m.context.af = 0x0001;
    m.step();
    EXPECT_EQ(m.context.af >> 8, 0x10);
    EXPECT_EQ(m.context.af & 0xD7, 0x05) << "P/V set with nothing in service, C kept";
    EXPECT_EQ(m.context.r, uint8_t((0x10 + 5 + 1 + 3) ^ 0x10));
    m.context.inService = 1;
    m.step();
    EXPECT_EQ(m.context.af >> 8, (0x10 + 5 + 1 + 3) ^ 0x10);
    EXPECT_EQ(m.context.af & 0x04, 0) << "odd in-service count clears P/V";
}

TEST(Z80Registers, LdAIAndTheStoresToIAndR)
{
    Z80TestMachine m;
    m.place(0, {0xED, 0x47, 0xED, 0x4F, 0x3E, 0x00, 0xED, 0x57});
    m.context.af = 0x8000;
    m.step(); // LD I,A
    m.step(); // LD R,A
    EXPECT_EQ(m.context.i, 0x80);
    EXPECT_EQ(m.context.r, 0x80);
    m.step(); // LD A,0
    m.context.inService = 2;
    m.step(); // LD A,I
    EXPECT_EQ(m.context.af, 0x8084) << "S from A, P/V from an even count";
}

// ---- flag model ----

TEST(Z80Flags, BitsFiveAndThreeStayClear)
{
    Z80TestMachine m;
    // LD A,0xFF; ADD A,0x29; CP 0x28; SCF; CPL; BIT 3,A; DAA
    m.place(0, {0x3E, 0xFF, 0xC6, 0x29, 0xFE, 0x28, 0x37, 0x2F, 0xCB, 0x5F, 0x27});
    for (int i = 0; i < 7; ++i) {
        m.step();
        EXPECT_EQ(m.context.af & 0x28, 0) << "after instruction " << i;
    }
}

// ---- decode tables ----

int implemented(const uint8_t* table)
{
    int n = 0;
    for (int op = 0; op < 256; ++op)
        n += table[op] != 0;
    return n;
}

TEST(Z80Tables, ImplementedOpcodeSets)
{
    EXPECT_EQ(implemented(z80::edCycles), 49);
    EXPECT_EQ(implemented(z80::indexCycles) + 1, 86); // + the indexed bit page behind 0xCB
    EXPECT_EQ(implemented(z80::indexBitCycles), 31);
    for (uint8_t op : {0xA2, 0xA3, 0xAA, 0xAB, 0xB2, 0xB3, 0xBA, 0xBB, 0x4C, 0x4E, 0x6B, 0x70, 0x71})
        EXPECT_EQ(z80::edCycles[op], 0) << std::hex << int(op);
    EXPECT_EQ(z80::indexBitCycles[0x36], 0);
}

} // namespace
