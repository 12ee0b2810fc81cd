#pragma once
// The arithmetic flags in derived form. Instructions store a result or carry-out into six
// values; the FLAGS word is put together only when an instruction needs it (PUSHF, LAHF,
// interrupt entry) and taken apart again by POPF, SAHF and IRET.
#include "v30_context.h"

#include <array>
#include <cstdint>

namespace vortastr::v30 {

enum FlagBit : uint16_t {
    flagCarry = 0x0001,
    flagParity = 0x0004,
    flagAux = 0x0010,
    flagZero = 0x0040,
    flagSign = 0x0080,
    flagTrap = 0x0100,
    flagInterrupt = 0x0200,
    flagDirection = 0x0400,
    flagOverflow = 0x0800,
};

// Bits that always read 1 in the 8086 FLAGS word (bit 1 and bits 12 to 15).
constexpr uint16_t flagsFixedOnes = 0xF002;
// The bits the 8086 defines.
constexpr uint16_t flagsDefined = 0x0FD5;

// True for an even number of one bits in the byte.
constexpr std::array<uint8_t, 256> parityTable = [] {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int ones = 0;
        for (int b = 0; b < 8; ++b)
            ones += (v >> b) & 1;
        table[v] = (ones & 1) == 0;
    }
    return table;
}();

inline bool carryFlag(const V30Context& c) { return c.carryValue != 0; }
inline bool parityFlag(const V30Context& c) { return parityTable[c.parityValue & 0xFF]; }
inline bool auxFlag(const V30Context& c) { return c.auxValue != 0; }
inline bool zeroFlag(const V30Context& c) { return c.zeroValue == 0; }
inline bool signFlag(const V30Context& c) { return c.signValue < 0; }
inline bool overflowFlag(const V30Context& c) { return c.overflowValue != 0; }

inline uint16_t composeFlags(const V30Context& c)
{
    return uint16_t(flagsFixedOnes | (carryFlag(c) ? flagCarry : 0) | (parityFlag(c) ? flagParity : 0) |
                    (auxFlag(c) ? flagAux : 0) | (zeroFlag(c) ? flagZero : 0) | (signFlag(c) ? flagSign : 0) |
                    (c.tf ? flagTrap : 0) | (c.interruptFlag ? flagInterrupt : 0) | (c.df ? flagDirection : 0) |
                    (overflowFlag(c) ? flagOverflow : 0));
}

// Loads the five flags SAHF sets (SF, ZF, AF, PF, CF) from the low byte of a FLAGS word.
inline void decomposeLowFlags(V30Context& c, uint16_t flags)
{
    c.carryValue = flags & flagCarry;
    c.parityValue = (flags & flagParity) ? 0 : 1;
    c.auxValue = flags & flagAux;
    c.zeroValue = (flags & flagZero) ? 0 : 1;
    c.signValue = (flags & flagSign) ? -1 : 0;
}

inline void decomposeFlags(V30Context& c, uint16_t flags)
{
    decomposeLowFlags(c, flags);
    c.tf = (flags & flagTrap) ? 1 : 0;
    c.interruptFlag = (flags & flagInterrupt) ? 1 : 0;
    c.df = (flags & flagDirection) ? 1 : 0;
    c.overflowValue = flags & flagOverflow;
}

// The condition of the conditional jump 0x70 + cc.
inline bool conditionHolds(const V30Context& c, int cc)
{
    bool holds;
    switch (cc >> 1) {
    case 0: holds = overflowFlag(c); break;                                // JO
    case 1: holds = carryFlag(c); break;                                   // JC
    case 2: holds = zeroFlag(c); break;                                    // JZ
    case 3: holds = carryFlag(c) || zeroFlag(c); break;                    // JBE
    case 4: holds = signFlag(c); break;                                    // JS
    case 5: holds = parityFlag(c); break;                                  // JP
    case 6: holds = signFlag(c) != overflowFlag(c); break;                 // JL
    default: holds = zeroFlag(c) || signFlag(c) != overflowFlag(c); break; // JLE
    }
    return (cc & 1) ? !holds : holds;
}

} // namespace vortastr::v30
