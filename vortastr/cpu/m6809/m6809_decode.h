#pragma once
// Decode tables of the 6809 engine: for each of the three opcode pages a 256-entry table
// giving the operation, the addressing mode and the cycle cost of every opcode.
#include <cstdint>

namespace vortastr::m6809 {

enum class Mode : uint8_t {
    Inh,   // no operand
    Imm8,  // one immediate byte at PC
    Imm16, // two immediate bytes at PC
    Dir,   // DP * 256 + one byte
    Idx,   // indexed post-byte
    Ext,   // 16-bit address
    Rel8,  // 8-bit branch offset
    Rel16, // 16-bit branch offset
    AccA,  // the 0x40 row works on A
    AccB,  // the 0x50 row works on B
};

enum class Op : uint8_t {
    Invalid,
    Page2,
    Page3,
    Neg,
    Com,
    Lsr,
    Ror,
    Asr,
    Asl,
    Rol,
    Dec,
    Inc,
    Tst,
    Clr,
    Jmp,
    Nop,
    Sync,
    Lbra,
    Lbsr,
    Daa,
    Orcc,
    Andcc,
    Sex,
    Exg,
    Tfr,
    Bcc,
    LBcc,
    Bsr,
    Jsr,
    Leax,
    Leay,
    Leas,
    Leau,
    Pshs,
    Puls,
    Pshu,
    Pulu,
    Rts,
    Abx,
    Rti,
    Cwai,
    Mul,
    Reset,
    Swi,
    Swi2,
    Swi3,
    Suba,
    Cmpa,
    Sbca,
    Anda,
    Bita,
    Lda,
    Sta,
    Eora,
    Adca,
    Ora,
    Adda,
    Subb,
    Cmpb,
    Sbcb,
    Andb,
    Bitb,
    Ldb,
    Stb,
    Eorb,
    Adcb,
    Orb,
    Addb,
    Subd,
    Addd,
    Cmpd,
    Cmpx,
    Cmpy,
    Cmpu,
    Cmps,
    Ldd,
    Ldx,
    Ldy,
    Ldu,
    Lds,
    Std,
    Stx,
    Sty,
    Stu,
    Sts,
};

struct Decode {
    Op op;
    Mode mode;
    uint8_t cycles; // base count; indexed forms never add for the post-byte
};

extern const Decode page1[256]; // unprefixed opcodes
extern const Decode page2[256]; // after 0x10
extern const Decode page3[256]; // after 0x11

// False for the post-bytes the engine refuses (they abandon the instruction).
constexpr bool indexedPostByteValid(uint8_t postByte)
{
    if (!(postByte & 0x80))
        return true; // 5-bit offset
    const unsigned form = postByte & 0x0F;
    const bool indirect = postByte & 0x10;
    switch (form) {
    case 0x0:
    case 0x2: return !indirect; // ,R+ and ,-R have no indirect form
    case 0x7:
    case 0xA:
    case 0xE: return false;
    case 0xF: return postByte == 0x9F; // only [n16]
    default: return true;
    }
}

// TFR/EXG post-bytes that name two registers of one size (codes 0-5: 16 bits, 8-11: 8 bits).
constexpr bool transferPostByteValid(uint8_t postByte)
{
    const unsigned from = postByte >> 4, to = postByte & 0x0F;
    auto wide = [](unsigned r) { return r <= 5; };
    auto narrow = [](unsigned r) { return r >= 8 && r <= 11; };
    return (wide(from) && wide(to)) || (narrow(from) && narrow(to));
}

} // namespace vortastr::m6809
