// Instruction-level behaviour that the conformance vectors do not record: T-state charges
// (with this engine's exceptions), block instructions done in one step, LD A,R / LD A,I,
// and the implemented opcode sets.
#include "z80_test_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
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

// The sets as listed for this engine, checked by running every opcode: an implemented one
// completes the slice, any other ends it with PC on its last byte and nothing charged.
std::vector<bool> opcodeSet(std::initializer_list<std::pair<int, int>> ranges)
{
    std::vector<bool> set(256, false);
    for (auto [first, last] : ranges)
        for (int op = first; op <= last; ++op)
            set[op] = true;
    return set;
}

TEST(Z80Tables, ImplementedOpcodesRunAndTheOthersEndTheSlice)
{
    const std::vector<bool> ed = opcodeSet({{0x40, 0x4B},
                                            {0x4D, 0x4D},
                                            {0x4F, 0x53},
                                            {0x56, 0x5B},
                                            {0x5E, 0x63},
                                            {0x67, 0x6A},
                                            {0x6F, 0x6F},
                                            {0x72, 0x73},
                                            {0x78, 0x7B},
                                            {0xA0, 0xA1},
                                            {0xA8, 0xA9},
                                            {0xB0, 0xB1},
                                            {0xB8, 0xB9}});
    std::vector<bool> index = opcodeSet({{0x09, 0x09},
                                         {0x19, 0x19},
                                         {0x21, 0x26},
                                         {0x29, 0x2E},
                                         {0x34, 0x36},
                                         {0x39, 0x39},
                                         {0x44, 0x46},
                                         {0x4C, 0x4E},
                                         {0x54, 0x56},
                                         {0x5C, 0x5E},
                                         {0x60, 0x75},
                                         {0x77, 0x77},
                                         {0x7C, 0x7E},
                                         {0xCB, 0xCB},
                                         {0xE1, 0xE1},
                                         {0xE3, 0xE3},
                                         {0xE5, 0xE5},
                                         {0xE9, 0xE9},
                                         {0xF9, 0xF9}});
    for (int row = 0x80; row < 0xC0; row += 8)
        index[row + 4] = index[row + 5] = index[row + 6] = true;
    std::vector<bool> indexBit(256, false);
    for (int op = 0x06; op < 0x100; op += 8)
        indexBit[op] = op != 0x36;

    struct Page {
        const char* name;
        std::vector<uint8_t> lead; // bytes before the opcode
        const std::vector<bool>& set;
        std::size_t count;
    };
    const Page pages[] = {{"ED", {0xED}, ed, 49},
                          {"DD", {0xDD}, index, 86},
                          {"FD", {0xFD}, index, 86},
                          {"DD CB", {0xDD, 0xCB, 0x01}, indexBit, 31},
                          {"FD CB", {0xFD, 0xCB, 0x01}, indexBit, 31}};
    for (const Page& page : pages) {
        EXPECT_EQ(std::size_t(std::count(page.set.begin(), page.set.end(), true)), page.count) << page.name;
        for (int op = 0; op < 256; ++op) {
            Z80TestMachine m;
            for (std::size_t i = 0; i < page.lead.size(); ++i)
                m.mem()[0x100 + i] = page.lead[i];
            m.place(uint16_t(0x100 + page.lead.size()), {uint8_t(op), 0x01, 0x46}); // 0xCB: BIT 0,(XY+1)
            m.context.pc = 0x100;
            m.context.sp = 0x8000;
            m.context.bc = 1;
            const uint32_t result = m.run(0);
            if (page.set[op]) {
                EXPECT_EQ(result, Z80Engine::sliceDone) << page.name << " " << std::hex << op;
                EXPECT_GT(Z80Engine::cyclesThisCall(), 0) << page.name << " " << std::hex << op;
            } else {
                EXPECT_EQ(result, 0x100 + page.lead.size()) << page.name << " " << std::hex << op;
                EXPECT_EQ(m.context.pc, 0x100 + page.lead.size()) << page.name << " " << std::hex << op;
                EXPECT_EQ(Z80Engine::cyclesThisCall(), 0) << page.name << " " << std::hex << op;
            }
        }
    }
}

} // namespace
