#pragma once
// Decode table: operation, addressing mode and published cycle count of every opcode, as a
// 16x16 grid (row = high nibble, column = low nibble). Empty cells are the undocumented opcodes.
#include <cstdint>

namespace vortastr::m6502 {

enum class Op : uint8_t {
    None,
    ADC,
    AND,
    ASL,
    BCC,
    BCS,
    BEQ,
    BIT,
    BMI,
    BNE,
    BPL,
    BRK,
    BVC,
    BVS,
    CLC,
    CLD,
    CLI,
    CLV,
    CMP,
    CPX,
    CPY,
    DEC,
    DEX,
    DEY,
    EOR,
    INC,
    INX,
    INY,
    JMP,
    JSR,
    LDA,
    LDX,
    LDY,
    LSR,
    NOP,
    ORA,
    PHA,
    PHP,
    PLA,
    PLP,
    ROL,
    ROR,
    RTI,
    RTS,
    SBC,
    SEC,
    SED,
    SEI,
    STA,
    STX,
    STY,
    TAX,
    TAY,
    TSX,
    TXA,
    TXS,
    TYA,
};

enum class Mode : uint8_t {
    Imp, // implied
    Acc, // accumulator
    Imm, // #nn
    Zp,  // nn
    Zpx, // nn,X (wraps in page zero)
    Zpy, // nn,Y (wraps in page zero)
    Abs, // nnnn
    Abx, // nnnn,X
    Aby, // nnnn,Y
    Ind, // (nnnn), JMP only
    Izx, // (nn,X)
    Izy, // (nn),Y
    Rel, // branch offset
};

struct OpcodeInfo {
    Op op;
    Mode mode;
    uint8_t cycles;
};

namespace grid {
using enum Op;
using enum Mode;
constexpr OpcodeInfo ___{None, Imp, 0};

// clang-format off
constexpr OpcodeInfo decodeTable[256] = {
//        x0            x1            x2            x3            x4            x5            x6            x7
//        x8            x9            xA            xB            xC            xD            xE            xF
/* 0x */ {BRK,Imp,7},  {ORA,Izx,6},  ___,          ___,          ___,          {ORA,Zp,3},   {ASL,Zp,5},   ___,
         {PHP,Imp,3},  {ORA,Imm,2},  {ASL,Acc,2},  ___,          ___,          {ORA,Abs,4},  {ASL,Abs,6},  ___,
/* 1x */ {BPL,Rel,2},  {ORA,Izy,5},  ___,          ___,          ___,          {ORA,Zpx,4},  {ASL,Zpx,6},  ___,
         {CLC,Imp,2},  {ORA,Aby,4},  ___,          ___,          ___,          {ORA,Abx,4},  {ASL,Abx,7},  ___,
/* 2x */ {JSR,Abs,6},  {AND,Izx,6},  ___,          ___,          {BIT,Zp,3},   {AND,Zp,3},   {ROL,Zp,5},   ___,
         {PLP,Imp,4},  {AND,Imm,2},  {ROL,Acc,2},  ___,          {BIT,Abs,4},  {AND,Abs,4},  {ROL,Abs,6},  ___,
/* 3x */ {BMI,Rel,2},  {AND,Izy,5},  ___,          ___,          ___,          {AND,Zpx,4},  {ROL,Zpx,6},  ___,
         {SEC,Imp,2},  {AND,Aby,4},  ___,          ___,          ___,          {AND,Abx,4},  {ROL,Abx,7},  ___,
/* 4x */ {RTI,Imp,6},  {EOR,Izx,6},  ___,          ___,          ___,          {EOR,Zp,3},   {LSR,Zp,5},   ___,
         {PHA,Imp,3},  {EOR,Imm,2},  {LSR,Acc,2},  ___,          {JMP,Abs,3},  {EOR,Abs,4},  {LSR,Abs,6},  ___,
/* 5x */ {BVC,Rel,2},  {EOR,Izy,5},  ___,          ___,          ___,          {EOR,Zpx,4},  {LSR,Zpx,6},  ___,
         {CLI,Imp,2},  {EOR,Aby,4},  ___,          ___,          ___,          {EOR,Abx,4},  {LSR,Abx,7},  ___,
/* 6x */ {RTS,Imp,6},  {ADC,Izx,6},  ___,          ___,          ___,          {ADC,Zp,3},   {ROR,Zp,5},   ___,
         {PLA,Imp,4},  {ADC,Imm,2},  {ROR,Acc,2},  ___,          {JMP,Ind,5},  {ADC,Abs,4},  {ROR,Abs,6},  ___,
/* 7x */ {BVS,Rel,2},  {ADC,Izy,5},  ___,          ___,          ___,          {ADC,Zpx,4},  {ROR,Zpx,6},  ___,
         {SEI,Imp,2},  {ADC,Aby,4},  ___,          ___,          ___,          {ADC,Abx,4},  {ROR,Abx,7},  ___,
/* 8x */ ___,          {STA,Izx,6},  ___,          ___,          {STY,Zp,3},   {STA,Zp,3},   {STX,Zp,3},   ___,
         {DEY,Imp,2},  ___,          {TXA,Imp,2},  ___,          {STY,Abs,4},  {STA,Abs,4},  {STX,Abs,4},  ___,
/* 9x */ {BCC,Rel,2},  {STA,Izy,6},  ___,          ___,          {STY,Zpx,4},  {STA,Zpx,4},  {STX,Zpy,4},  ___,
         {TYA,Imp,2},  {STA,Aby,5},  {TXS,Imp,2},  ___,          ___,          {STA,Abx,5},  ___,          ___,
/* Ax */ {LDY,Imm,2},  {LDA,Izx,6},  {LDX,Imm,2},  ___,          {LDY,Zp,3},   {LDA,Zp,3},   {LDX,Zp,3},   ___,
         {TAY,Imp,2},  {LDA,Imm,2},  {TAX,Imp,2},  ___,          {LDY,Abs,4},  {LDA,Abs,4},  {LDX,Abs,4},  ___,
/* Bx */ {BCS,Rel,2},  {LDA,Izy,5},  ___,          ___,          {LDY,Zpx,4},  {LDA,Zpx,4},  {LDX,Zpy,4},  ___,
         {CLV,Imp,2},  {LDA,Aby,4},  {TSX,Imp,2},  ___,          {LDY,Abx,4},  {LDA,Abx,4},  {LDX,Aby,4},  ___,
/* Cx */ {CPY,Imm,2},  {CMP,Izx,6},  ___,          ___,          {CPY,Zp,3},   {CMP,Zp,3},   {DEC,Zp,5},   ___,
         {INY,Imp,2},  {CMP,Imm,2},  {DEX,Imp,2},  ___,          {CPY,Abs,4},  {CMP,Abs,4},  {DEC,Abs,6},  ___,
/* Dx */ {BNE,Rel,2},  {CMP,Izy,5},  ___,          ___,          ___,          {CMP,Zpx,4},  {DEC,Zpx,6},  ___,
         {CLD,Imp,2},  {CMP,Aby,4},  ___,          ___,          ___,          {CMP,Abx,4},  {DEC,Abx,7},  ___,
/* Ex */ {CPX,Imm,2},  {SBC,Izx,6},  ___,          ___,          {CPX,Zp,3},   {SBC,Zp,3},   {INC,Zp,5},   ___,
         {INX,Imp,2},  {SBC,Imm,2},  {NOP,Imp,2},  ___,          {CPX,Abs,4},  {SBC,Abs,4},  {INC,Abs,6},  ___,
/* Fx */ {BEQ,Rel,2},  {SBC,Izy,5},  ___,          ___,          ___,          {SBC,Zpx,4},  {INC,Zpx,6},  ___,
         {SED,Imp,2},  {SBC,Aby,4},  ___,          ___,          ___,          {SBC,Abx,4},  {INC,Abx,7},  ___,
};
// clang-format on
} // namespace grid

using grid::decodeTable;

constexpr int documentedOpcodeCount()
{
    int n = 0;
    for (const OpcodeInfo& info : decodeTable)
        n += info.op != Op::None;
    return n;
}
static_assert(documentedOpcodeCount() == 151);

} // namespace vortastr::m6502
