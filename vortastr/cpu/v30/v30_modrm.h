#pragma once
// ModR/M decoding: precomputed register indices per ModR/M byte and the 24 effective-address
// routines, one per mod/r-m form, each charging its 8086 effective-address time.
#include "v30_state.h"

#include <array>
#include <cstdint>

namespace vortastr::v30 {

struct ModRmEntry {
    uint8_t regByte; // byte offset of the reg-field byte register within the register file
    uint8_t regWord; // word register index of the reg field
    uint8_t rmByte;  // byte offset of the r/m byte register (register forms only)
    uint8_t rmWord;  // word register index of the r/m field (register forms only)
};

extern const std::array<ModRmEntry, 256> modRmTable;

// Computes eaBase and eaOffset of a memory form, fetching its displacement, and charges
// the form's time. Indexed by mod * 8 + r/m for mod 0 to 2.
using EaRoutine = void (*)(V30State&);
extern const std::array<EaRoutine, 24> eaRoutines;
// The time each form charges, in the same order.
extern const std::array<uint8_t, 24> eaCycles;

// Decodes the memory operand of `modrm` when it has one; register forms cost nothing here.
inline void decodeModRm(V30State& s, uint8_t modrm)
{
    if (modrm < 0xC0)
        eaRoutines[((modrm >> 3) & 0x18) | (modrm & 7)](s);
}

// --- the r/m operand: a register for 0xC0-0xFF, else the memory operand decoded before.
inline uint8_t& byteRegister(V30State& s, uint8_t byteOffset) { return reinterpret_cast<uint8_t*>(s.reg)[byteOffset]; }

inline uint8_t rm8(V30State& s, uint8_t modrm)
{
    return modrm >= 0xC0 ? byteRegister(s, modRmTable[modrm].rmByte) : s.read8(s.eaBase, s.eaOffset);
}
inline uint16_t rm16(V30State& s, uint8_t modrm)
{
    return modrm >= 0xC0 ? s.reg[modRmTable[modrm].rmWord] : s.read16(s.eaBase, s.eaOffset);
}
inline void setRm8(V30State& s, uint8_t modrm, uint8_t value)
{
    if (modrm >= 0xC0)
        byteRegister(s, modRmTable[modrm].rmByte) = value;
    else
        s.write8(s.eaBase, s.eaOffset, value);
}
inline void setRm16(V30State& s, uint8_t modrm, uint16_t value)
{
    if (modrm >= 0xC0)
        s.reg[modRmTable[modrm].rmWord] = value;
    else
        s.write16(s.eaBase, s.eaOffset, value);
}
// The word after the memory operand (far pointers, BOUND limits).
inline uint16_t rmWordAfter(V30State& s) { return s.read16(s.eaBase, uint32_t(s.eaOffset) + 2); }

// Fetches the ModR/M byte that follows the opcode and decodes its memory operand.
inline uint8_t fetchModRm(V30State& s)
{
    uint8_t modrm = s.fetch8();
    decodeModRm(s, modrm);
    return modrm;
}

} // namespace vortastr::v30
