// Every addressing mode of every instruction that takes an operand, from the published opcode
// matrix: each semantic case of a mnemonic runs through each of its opcodes, with the operand
// placed where that mode finds it. Checks registers, flags, memory, PC, cycles and which data
// accesses went through the range lists.
#include "m6502_test_machine.h"

#include <algorithm>
#include <string>

namespace vortastr::m6502test {
namespace {

enum class Am { Imm, Zp, Zpx, Zpy, Abs, Abx, Aby, Izx, Izy, Acc };
enum class Kind { Read, Store, Modify };
enum class Reg { A, X, Y };

struct Variant {
    uint8_t opcode;
    Am mode;
    uint32_t cycles;
};

// One semantic case: the register the instruction works on, the operand, P before and after.
struct Case {
    uint8_t reg, m, p;
    uint8_t regOut, mOut, pOut;
};

struct Instruction {
    const char* name;
    Kind kind;
    Reg reg;
    std::vector<Variant> variants;
    std::vector<Case> cases;
};

constexpr uint8_t indexX = 0x11, indexY = 0x22;

// Operand bytes at 0x0201 and the effective address each mode derives from them.
struct Placement {
    std::vector<uint8_t> operand;
    uint16_t address;
};

Placement place(Am mode, std::vector<uint8_t>& mem, uint8_t immediate)
{
    switch (mode) {
    case Am::Imm: return {{immediate}, 0};
    case Am::Zp: return {{0x80}, 0x0080};
    case Am::Zpx: return {{0xF8}, uint8_t(0xF8 + indexX)}; // wraps within page zero
    case Am::Zpy: return {{0xF8}, uint8_t(0xF8 + indexY)};
    case Am::Abs: return {{0x34, 0x12}, 0x1234};
    case Am::Abx: return {{0xF8, 0x12}, uint16_t(0x12F8 + indexX)}; // crosses a page
    case Am::Aby: return {{0xF8, 0x12}, uint16_t(0x12F8 + indexY)};
    case Am::Izx:
        mem[uint8_t(0x70 + indexX)] = 0x56;
        mem[uint8_t(0x71 + indexX)] = 0x34;
        return {{0x70}, 0x3456};
    case Am::Izy:
        mem[0x90] = 0xF0;
        mem[0x91] = 0x44;
        return {{0x90}, uint16_t(0x44F0 + indexY)};
    case Am::Acc: return {{}, 0};
    }
    return {};
}

const std::vector<Case> loadCases = {
    {0x00, 0x00, U, 0x00, 0x00, U | Z},
    {0x00, 0x80, U | Z, 0x80, 0x80, U | N},
    {0xFF, 0x41, U | N | Z | C | V, 0x41, 0x41, U | C | V},
};
const std::vector<Case> storeCases = {
    {0x5A, 0x00, U | Z | N, 0x5A, 0x5A, U | Z | N},
    {0x00, 0xFF, U, 0x00, 0x00, U},
};
const std::vector<Case> compareCases = {
    {0x40, 0x30, U, 0x40, 0x30, U | C},
    {0x40, 0x40, U | N, 0x40, 0x40, U | Z | C},
    {0x30, 0x40, U | C, 0x30, 0x40, U | N},
    {0x00, 0xFF, U, 0x00, 0xFF, U},
};

#define ALU_MODES(base)                                                                                                \
    {                                                                                                                  \
        {base + 0x09, Am::Imm, 2}, {base + 0x05, Am::Zp, 3}, {base + 0x15, Am::Zpx, 4}, {base + 0x0D, Am::Abs, 4},     \
            {base + 0x1D, Am::Abx, 4}, {base + 0x19, Am::Aby, 4}, {base + 0x01, Am::Izx, 6},                           \
            {base + 0x11, Am::Izy, 5},                                                                                 \
    }
#define SHIFT_MODES(base)                                                                                              \
    {                                                                                                                  \
        {base + 0x0A, Am::Acc, 2}, {base + 0x06, Am::Zp, 5}, {base + 0x16, Am::Zpx, 6}, {base + 0x0E, Am::Abs, 6},     \
            {base + 0x1E, Am::Abx, 7},                                                                                 \
    }

const std::vector<Instruction> instructions = {
    {"ORA",
     Kind::Read,
     Reg::A,
     ALU_MODES(0x00),
     {{0x00, 0x00, U, 0x00, 0x00, U | Z}, {0x0F, 0xF0, U | Z, 0xFF, 0xF0, U | N}}},
    {"AND",
     Kind::Read,
     Reg::A,
     ALU_MODES(0x20),
     {{0xF0, 0x3C, U, 0x30, 0x3C, U}, {0x0F, 0xF0, U | N, 0x00, 0xF0, U | Z}, {0xFF, 0x80, U, 0x80, 0x80, U | N}}},
    {"EOR",
     Kind::Read,
     Reg::A,
     ALU_MODES(0x40),
     {{0xFF, 0xFF, U, 0x00, 0xFF, U | Z}, {0x0F, 0xFF, U | C, 0xF0, 0xFF, U | N | C}}},
    {"ADC",
     Kind::Read,
     Reg::A,
     ALU_MODES(0x60),
     {
         {0x50, 0x50, U, 0xA0, 0x50, U | N | V},
         {0xFF, 0x01, U, 0x00, 0x01, U | Z | C},
         {0x01, 0x01, U | C, 0x03, 0x01, U},
         {0x80, 0x80, U, 0x00, 0x80, U | Z | V | C},
         {0x19, 0x28, U | D | C, 0x48, 0x28, U | D},
         // NMOS decimal quirk: a BCD result of 00 with N set and Z clear.
         {0x99, 0x01, U | D, 0x00, 0x01, U | D | N | C},
     }},
    {"CMP", Kind::Read, Reg::A, ALU_MODES(0xC0), compareCases},
    {"SBC",
     Kind::Read,
     Reg::A,
     ALU_MODES(0xE0),
     {
         {0x50, 0xF0, U | C, 0x60, 0xF0, U},
         {0x50, 0xB0, U | C, 0xA0, 0xB0, U | N | V},
         {0x05, 0x05, U | C, 0x00, 0x05, U | Z | C},
         {0x05, 0x05, U, 0xFF, 0x05, U | N},
         {0x46, 0x12, U | D | C, 0x34, 0x12, U | D | C},
         {0x00, 0x01, U | D | C, 0x99, 0x01, U | D | N},
     }},
    {"LDA", Kind::Read, Reg::A, ALU_MODES(0xA0), loadCases},
    {"LDX",
     Kind::Read,
     Reg::X,
     {{0xA2, Am::Imm, 2}, {0xA6, Am::Zp, 3}, {0xB6, Am::Zpy, 4}, {0xAE, Am::Abs, 4}, {0xBE, Am::Aby, 4}},
     loadCases},
    {"LDY",
     Kind::Read,
     Reg::Y,
     {{0xA0, Am::Imm, 2}, {0xA4, Am::Zp, 3}, {0xB4, Am::Zpx, 4}, {0xAC, Am::Abs, 4}, {0xBC, Am::Abx, 4}},
     loadCases},
    {"CPX", Kind::Read, Reg::X, {{0xE0, Am::Imm, 2}, {0xE4, Am::Zp, 3}, {0xEC, Am::Abs, 4}}, compareCases},
    {"CPY", Kind::Read, Reg::Y, {{0xC0, Am::Imm, 2}, {0xC4, Am::Zp, 3}, {0xCC, Am::Abs, 4}}, compareCases},
    {"BIT",
     Kind::Read,
     Reg::A,
     {{0x24, Am::Zp, 3}, {0x2C, Am::Abs, 4}},
     {{0x01, 0xC0, U, 0x01, 0xC0, U | N | V | Z},
      {0x41, 0x41, U | N | V | Z, 0x41, 0x41, U | V},
      {0x80, 0x80, U | V | C, 0x80, 0x80, U | N | C}}},
    {"STA",
     Kind::Store,
     Reg::A,
     {{0x85, Am::Zp, 3},
      {0x95, Am::Zpx, 4},
      {0x8D, Am::Abs, 4},
      {0x9D, Am::Abx, 5},
      {0x99, Am::Aby, 5},
      {0x81, Am::Izx, 6},
      {0x91, Am::Izy, 6}},
     storeCases},
    {"STX", Kind::Store, Reg::X, {{0x86, Am::Zp, 3}, {0x96, Am::Zpy, 4}, {0x8E, Am::Abs, 4}}, storeCases},
    {"STY", Kind::Store, Reg::Y, {{0x84, Am::Zp, 3}, {0x94, Am::Zpx, 4}, {0x8C, Am::Abs, 4}}, storeCases},
    {"ASL",
     Kind::Modify,
     Reg::A,
     SHIFT_MODES(0x00),
     {{0, 0x81, U, 0, 0x02, U | C}, {0, 0x40, U | C, 0, 0x80, U | N}, {0, 0x80, U, 0, 0x00, U | Z | C}}},
    {"ROL",
     Kind::Modify,
     Reg::A,
     SHIFT_MODES(0x20),
     {{0, 0x80, U | C, 0, 0x01, U | C}, {0, 0x40, U, 0, 0x80, U | N}, {0, 0x80, U, 0, 0x00, U | Z | C}}},
    {"LSR",
     Kind::Modify,
     Reg::A,
     SHIFT_MODES(0x40),
     {{0, 0x01, U, 0, 0x00, U | Z | C}, {0, 0x82, U | N | C, 0, 0x41, U}}},
    {"ROR",
     Kind::Modify,
     Reg::A,
     SHIFT_MODES(0x60),
     {{0, 0x01, U | C, 0, 0x80, U | N | C}, {0, 0x02, U, 0, 0x01, U}, {0, 0x01, U, 0, 0x00, U | Z | C}}},
    {"DEC",
     Kind::Modify,
     Reg::A,
     {{0xC6, Am::Zp, 5}, {0xD6, Am::Zpx, 6}, {0xCE, Am::Abs, 6}, {0xDE, Am::Abx, 7}},
     {{0, 0x01, U, 0, 0x00, U | Z}, {0, 0x00, U | C, 0, 0xFF, U | N | C}, {0, 0x80, U | N, 0, 0x7F, U}}},
    {"INC",
     Kind::Modify,
     Reg::A,
     {{0xE6, Am::Zp, 5}, {0xF6, Am::Zpx, 6}, {0xEE, Am::Abs, 6}, {0xFE, Am::Abx, 7}},
     {{0, 0xFF, U, 0, 0x00, U | Z}, {0, 0x7F, U | V, 0, 0x80, U | N | V}}},
};

uint8_t& registerOf(M6502Context& c, Reg reg) { return reg == Reg::A ? c.a : reg == Reg::X ? c.x : c.y; }

class OperandInstructions : public M6502Machine {};

TEST_F(OperandInstructions, EveryModeOfEveryInstruction)
{
    for (const Instruction& ins : instructions) {
        for (const Variant& v : ins.variants) {
            for (std::size_t k = 0; k < ins.cases.size(); ++k) {
                const Case& tc = ins.cases[k];
                SCOPED_TRACE(std::string(ins.name) + " opcode " + std::to_string(v.opcode) + " case " +
                             std::to_string(k));
                SetUp();
                std::fill(mem.begin(), mem.end(), 0xEE);
                Placement at = place(v.mode, mem, tc.m);
                mem[0x0200] = v.opcode;
                std::copy(at.operand.begin(), at.operand.end(), mem.begin() + 0x0201);
                bool inMemory = v.mode != Am::Imm && v.mode != Am::Acc;
                if (inMemory)
                    mem[at.address] = tc.m;
                std::vector<uint8_t> before = mem;

                setRegisters(0x0200, 0xA5, indexX, indexY, 0xF0, tc.p);
                registerOf(ctx(), ins.reg) = tc.reg;
                if (v.mode == Am::Acc)
                    ctx().a = tc.m;
                logListedAccesses();
                ctx().cycleTotal = 100;

                ASSERT_EQ(M6502Engine::execute(1), M6502Engine::executeCompleted);

                EXPECT_EQ(ctx().pc, 0x0201 + at.operand.size());
                EXPECT_EQ(ctx().cycleTotal, 100 + v.cycles);
                EXPECT_EQ(ctx().p, tc.pOut);
                EXPECT_EQ(ctx().s, 0xF0);
                EXPECT_EQ(ctx().lastOpcode, v.opcode);
                if (v.mode == Am::Acc)
                    EXPECT_EQ(ctx().a, tc.mOut);
                else
                    EXPECT_EQ(registerOf(ctx(), ins.reg), tc.regOut);
                for (Reg other : {Reg::A, Reg::X, Reg::Y}) {
                    if (other == ins.reg || (other == Reg::A && v.mode == Am::Acc))
                        continue;
                    uint8_t expected = other == Reg::A ? 0xA5 : other == Reg::X ? indexX : indexY;
                    EXPECT_EQ(registerOf(ctx(), other), expected);
                }

                // Memory: only a store or a modify touches the effective address, nothing else.
                std::vector<uint8_t> expectedMem = before;
                std::vector<ListedAccess> expectedLog;
                if (inMemory && ins.kind != Kind::Store)
                    expectedLog.push_back({false, at.address, tc.m});
                if (inMemory && ins.kind != Kind::Read) {
                    expectedMem[at.address] = tc.mOut;
                    expectedLog.push_back({true, at.address, tc.mOut});
                }
                EXPECT_TRUE(mem == expectedMem) << "memory outside the operand changed";
                EXPECT_EQ(AccessLog::entries, expectedLog);
            }
        }
    }
}

// Index arithmetic at its limits, with LDA and STA as the probes.
struct WrapCase {
    const char* what;
    std::vector<uint8_t> code; // at 0x0300
    uint8_t x, y;
    std::vector<std::pair<uint16_t, uint8_t>> setup;
    uint16_t address;
};

class AddressingLimits : public M6502Machine {};

TEST_F(AddressingLimits, IndexesAndPointersWrapWhereThePartDoes)
{
    const std::vector<WrapCase> cases = {
        {"zp,X stays in page zero", {0xB5, 0xFF}, 0x02, 0, {}, 0x0001},
        {"zp,Y stays in page zero", {0xB6, 0x80}, 0, 0x90, {}, 0x0010},
        {"abs,X wraps past 0xFFFF", {0xBD, 0xF0, 0xFF}, 0x20, 0, {}, 0x0010},
        {"abs,Y wraps past 0xFFFF", {0xB9, 0xFF, 0xFF}, 0, 0x01, {}, 0x0000},
        {"(zp,X) pointer index wraps", {0xA1, 0xF0}, 0x20, 0, {{0x10, 0x00}, {0x11, 0x40}}, 0x4000},
        {"(zp,X) pointer at 0xFF takes its high byte from 0x00",
         {0xA1, 0xFF},
         0x00,
         0,
         {{0xFF, 0x34}, {0x00, 0x12}},
         0x1234},
        {"(zp),Y pointer at 0xFF takes its high byte from 0x00",
         {0xB1, 0xFF},
         0,
         0x01,
         {{0xFF, 0x34}, {0x00, 0x12}},
         0x1235},
        {"(zp),Y index wraps past 0xFFFF", {0xB1, 0x40}, 0, 0x10, {{0x40, 0xF8}, {0x41, 0xFF}}, 0x0008},
    };
    for (const WrapCase& wc : cases) {
        SCOPED_TRACE(wc.what);
        SetUp();
        std::fill(mem.begin(), mem.end(), 0);
        std::copy(wc.code.begin(), wc.code.end(), mem.begin() + 0x0300);
        for (auto [address, value] : wc.setup)
            mem[address] = value;
        mem[wc.address] = 0x77;
        setRegisters(0x0300, 0, wc.x, wc.y);
        logListedAccesses();
        ASSERT_EQ(M6502Engine::execute(1), M6502Engine::executeCompleted);
        EXPECT_EQ(wc.code[0] == 0xB6 ? ctx().x : ctx().a, 0x77); // B6 is LDX zp,Y
        ASSERT_EQ(AccessLog::entries.size(), 1u);
        EXPECT_EQ(AccessLog::entries[0].address, wc.address);
    }
}

// Single-byte instructions: registers before and after.
struct ImpliedCase {
    uint8_t opcode;
    uint8_t a, x, y, s, p;
    uint8_t aOut, xOut, yOut, sOut, pOut;
};

class ImpliedInstructions : public M6502Machine {};

TEST_F(ImpliedInstructions, RegistersAndFlags)
{
    const std::vector<ImpliedCase> cases = {
        {0xAA /*TAX*/, 0x80, 0x01, 0x02, 0xFF, U | Z, 0x80, 0x80, 0x02, 0xFF, U | N},
        {0xAA /*TAX*/, 0x00, 0x01, 0x02, 0xFF, U | N, 0x00, 0x00, 0x02, 0xFF, U | Z},
        {0xA8 /*TAY*/, 0x7F, 0x01, 0x02, 0xFF, U | N | Z, 0x7F, 0x01, 0x7F, 0xFF, U},
        {0x8A /*TXA*/, 0x11, 0x00, 0x02, 0xFF, U | C, 0x00, 0x00, 0x02, 0xFF, U | Z | C},
        {0x98 /*TYA*/, 0x11, 0x01, 0xC0, 0xFF, U, 0xC0, 0x01, 0xC0, 0xFF, U | N},
        {0xBA /*TSX*/, 0x11, 0x01, 0x02, 0x80, U, 0x11, 0x80, 0x02, 0x80, U | N},
        {0xBA /*TSX*/, 0x11, 0x01, 0x02, 0x00, U, 0x11, 0x00, 0x02, 0x00, U | Z},
        {0x9A /*TXS: no flags*/, 0x11, 0x00, 0x02, 0xFF, U, 0x11, 0x00, 0x02, 0x00, U},
        {0xE8 /*INX*/, 0, 0xFF, 0, 0xFF, U, 0, 0x00, 0, 0xFF, U | Z},
        {0xC8 /*INY*/, 0, 0, 0x7F, 0xFF, U, 0, 0, 0x80, 0xFF, U | N},
        {0xCA /*DEX*/, 0, 0x00, 0, 0xFF, U | Z, 0, 0xFF, 0, 0xFF, U | N},
        {0x88 /*DEY*/, 0, 0, 0x01, 0xFF, U, 0, 0, 0x00, 0xFF, U | Z},
        {0x18 /*CLC*/, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0xFE},
        {0x38 /*SEC*/, 0, 0, 0, 0xFF, U, 0, 0, 0, 0xFF, U | C},
        {0x58 /*CLI*/, 0, 0, 0, 0xFF, U | I | C, 0, 0, 0, 0xFF, U | C},
        {0x78 /*SEI*/, 0, 0, 0, 0xFF, U, 0, 0, 0, 0xFF, U | I},
        {0xD8 /*CLD*/, 0, 0, 0, 0xFF, U | D | N, 0, 0, 0, 0xFF, U | N},
        {0xF8 /*SED*/, 0, 0, 0, 0xFF, U, 0, 0, 0, 0xFF, U | D},
        {0xB8 /*CLV*/, 0, 0, 0, 0xFF, U | V | Z, 0, 0, 0, 0xFF, U | Z},
        {0xEA /*NOP*/, 1, 2, 3, 0x44, U | N | C, 1, 2, 3, 0x44, U | N | C},
    };
    for (const ImpliedCase& ic : cases) {
        SCOPED_TRACE("opcode " + std::to_string(ic.opcode));
        SetUp();
        poke(0x0400, {ic.opcode});
        setRegisters(0x0400, ic.a, ic.x, ic.y, ic.s, ic.p);
        ASSERT_EQ(M6502Engine::execute(1), M6502Engine::executeCompleted);
        EXPECT_EQ(ctx().a, ic.aOut);
        EXPECT_EQ(ctx().x, ic.xOut);
        EXPECT_EQ(ctx().y, ic.yOut);
        EXPECT_EQ(ctx().s, ic.sOut);
        EXPECT_EQ(ctx().p, ic.pOut);
        EXPECT_EQ(ctx().pc, 0x0401);
        EXPECT_EQ(ctx().cycleTotal, 2u);
    }
}

class Branches : public M6502Machine {};

TEST_F(Branches, TakenCostsOneMoreAndPageCrossingNothing)
{
    struct BranchOp {
        uint8_t opcode;
        uint8_t flag;
        bool takenWhenSet;
    };
    const BranchOp ops[] = {{0x10, N, false}, {0x30, N, true}, {0x50, V, false}, {0x70, V, true},
                            {0x90, C, false}, {0xB0, C, true}, {0xD0, Z, false}, {0xF0, Z, true}};
    struct Where {
        uint16_t at;
        uint8_t offset;
        uint16_t target;
    };
    const Where places[] = {
        {0x0480, 0x10, 0x0492}, // forward
        {0x0480, 0xF0, 0x0472}, // backward
        {0x04F0, 0x20, 0x0512}, // forward into the next page: still 3 cycles
        {0x0500, 0x80, 0x0482}, // furthest back, previous page
        {0xFFF0, 0x7F, 0x0071}, // wraps past 0xFFFF
    };
    for (const BranchOp& op : ops) {
        for (const Where& w : places) {
            for (bool flagSet : {false, true}) {
                SCOPED_TRACE("opcode " + std::to_string(op.opcode) + " at " + std::to_string(w.at) +
                             (flagSet ? " flag set" : " flag clear"));
                SetUp();
                poke(w.at, {op.opcode, w.offset});
                uint8_t p = uint8_t(U | (flagSet ? op.flag : 0));
                setRegisters(w.at, 0, 0, 0, 0xFF, p);
                ASSERT_EQ(M6502Engine::execute(1), M6502Engine::executeCompleted);
                bool taken = flagSet == op.takenWhenSet;
                EXPECT_EQ(ctx().pc, taken ? w.target : uint16_t(w.at + 2));
                EXPECT_EQ(ctx().cycleTotal, taken ? 3u : 2u);
                EXPECT_EQ(ctx().p, p);
            }
        }
    }
}

class JumpsAndStack : public M6502Machine {};

TEST_F(JumpsAndStack, JmpAbsoluteAndIndirect)
{
    struct JumpCase {
        const char* what;
        uint16_t at;
        std::vector<uint8_t> code;
        std::vector<std::pair<uint16_t, uint8_t>> setup;
        uint16_t target;
        uint32_t cycles;
    };
    const std::vector<JumpCase> cases = {
        {"absolute", 0x0600, {0x4C, 0x34, 0x12}, {}, 0x1234, 3},
        {"indirect", 0x0600, {0x6C, 0x00, 0x30}, {{0x3000, 0x78}, {0x3001, 0x56}}, 0x5678, 5},
        // A plain word: the high byte comes from the next page, not from 0x3000.
        {"indirect, pointer ends a page",
         0x0600,
         {0x6C, 0xFF, 0x30},
         {{0x30FF, 0x78}, {0x3100, 0x56}, {0x3000, 0x99}},
         0x5678,
         5},
        {"indirect, pointer at 0xFFFF", 0x0600, {0x6C, 0xFF, 0xFF}, {{0xFFFF, 0x21}, {0x0000, 0x43}}, 0x4321, 5},
    };
    for (const JumpCase& jc : cases) {
        SCOPED_TRACE(jc.what);
        SetUp();
        std::copy(jc.code.begin(), jc.code.end(), mem.begin() + jc.at);
        for (auto [address, value] : jc.setup)
            mem[address] = value;
        setRegisters(jc.at);
        logListedAccesses();
        ASSERT_EQ(M6502Engine::execute(1), M6502Engine::executeCompleted);
        EXPECT_EQ(ctx().pc, jc.target);
        EXPECT_EQ(ctx().cycleTotal, jc.cycles);
        EXPECT_TRUE(AccessLog::entries.empty()) << "pointer words are read directly";
    }
}

TEST_F(JumpsAndStack, JsrPushesReturnMinusOneAndRtsComesBack)
{
    poke(0x0600, {0x20, 0x00, 0x07}); // JSR $0700
    poke(0x0700, {0x60});             // RTS
    setRegisters(0x0600);
    logListedAccesses();
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().pc, 0x0700);
    EXPECT_EQ(ctx().s, 0xFD);
    EXPECT_EQ(mem[0x01FF], 0x06);
    EXPECT_EQ(mem[0x01FE], 0x02);
    EXPECT_EQ(ctx().cycleTotal, 6u);
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().pc, 0x0603);
    EXPECT_EQ(ctx().s, 0xFF);
    EXPECT_EQ(ctx().cycleTotal, 12u);
    EXPECT_TRUE(AccessLog::entries.empty()) << "the stack is accessed directly";
}

TEST_F(JumpsAndStack, PushAndPullWrapWithinPageOne)
{
    // PHA at S=0 writes 0x0100 and wraps S to 0xFF; PLA then reads 0x0100 again.
    poke(0x0600, {0x48, 0xA9, 0x00, 0x68});
    setRegisters(0x0600, 0x80, 0, 0, 0x00);
    M6502Engine::execute(1);
    EXPECT_EQ(mem[0x0100], 0x80);
    EXPECT_EQ(ctx().s, 0xFF);
    M6502Engine::execute(2); // LDA #0, PLA
    EXPECT_EQ(ctx().a, 0x80);
    EXPECT_EQ(ctx().p, U | N);
    EXPECT_EQ(ctx().s, 0x00);
    EXPECT_EQ(ctx().cycleTotal, 3u + 2u + 4u);
}

TEST_F(JumpsAndStack, PhpPushesBAndUnusedSetPlpDropsB)
{
    poke(0x0600, {0x08, 0x28, 0x28}); // PHP, PLP, PLP
    setRegisters(0x0600, 0, 0, 0, 0xFF, U | C | N);
    mem[0x01FF] = 0;
    M6502Engine::execute(1);
    EXPECT_EQ(mem[0x01FF], U | B | C | N);
    EXPECT_EQ(ctx().cycleTotal, 3u);
    mem[0x01FF] = 0xFF; // everything set, B included
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().p, 0xFF & ~B);
    EXPECT_EQ(ctx().cycleTotal, 7u);
    mem[0x0100] = 0x00; // nothing set: the unused bit still reads 1
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().p, U);
}

TEST_F(JumpsAndStack, BrkPushesAddressPlusTwoWithBAndRtiReturnsThere)
{
    pokeWord(0xFFFE, 0x0900);
    poke(0x0600, {0x00, 0xEA}); // BRK and its padding byte
    poke(0x0900, {0x40});       // RTI
    setRegisters(0x0600, 0, 0, 0, 0xFF, U | D | C);
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().pc, 0x0900);
    EXPECT_EQ(ctx().s, 0xFC);
    EXPECT_EQ(mem[0x01FF], 0x06);
    EXPECT_EQ(mem[0x01FE], 0x02);
    EXPECT_EQ(mem[0x01FD], U | B | D | C);
    EXPECT_EQ(ctx().p, U | I | D | C);
    EXPECT_EQ(ctx().cycleTotal, 7u);
    M6502Engine::execute(1);
    EXPECT_EQ(ctx().pc, 0x0602);
    EXPECT_EQ(ctx().p, U | D | C);
    EXPECT_EQ(ctx().s, 0xFF);
    EXPECT_EQ(ctx().cycleTotal, 13u);
}

} // namespace
} // namespace vortastr::m6502test
