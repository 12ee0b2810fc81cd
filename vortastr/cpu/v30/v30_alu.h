#pragma once
// Arithmetic and logic on byte (Bits = 8) and word (Bits = 16) operands. Each operation
// stores its result and carry-out into the derived flag values of the state.
#include "v30_state.h"

#include <cstdint>

namespace vortastr::v30 {

template <int Bits>
struct Width {
    static constexpr uint32_t mask = (1u << Bits) - 1;
    static constexpr uint32_t signBit = 1u << (Bits - 1);
    static constexpr uint32_t carryBit = 1u << Bits;
    static int32_t signed_(uint32_t v) { return Bits == 8 ? int32_t(int8_t(v)) : int32_t(int16_t(v)); }
};

// The eight operations of the 0x00-0x3F grid and of the 0x80-0x83 group, in reg-field order.
enum AluOp : int { aluAdd = 0, aluOr, aluAdc, aluSbb, aluAnd, aluSub, aluXor, aluCmp };

template <int Bits>
inline void setSignZeroParity(V30State& s, uint32_t result)
{
    s.zeroValue = result & Width<Bits>::mask;
    s.signValue = Width<Bits>::signed_(result);
    s.parityValue = result;
}

template <int Bits>
inline uint32_t addFlags(V30State& s, uint32_t a, uint32_t b, uint32_t carryIn)
{
    uint32_t r = a + b + carryIn;
    s.carryValue = r & Width<Bits>::carryBit;
    s.overflowValue = (r ^ a) & (r ^ b) & Width<Bits>::signBit;
    s.auxValue = (a ^ b ^ r) & 0x10;
    setSignZeroParity<Bits>(s, r);
    return r & Width<Bits>::mask;
}

template <int Bits>
inline uint32_t subFlags(V30State& s, uint32_t a, uint32_t b, uint32_t borrowIn)
{
    uint32_t r = a - b - borrowIn;
    s.carryValue = r & Width<Bits>::carryBit;
    s.overflowValue = (a ^ b) & (a ^ r) & Width<Bits>::signBit;
    s.auxValue = (a ^ b ^ r) & 0x10;
    setSignZeroParity<Bits>(s, r);
    return r & Width<Bits>::mask;
}

template <int Bits>
inline uint32_t logicFlags(V30State& s, uint32_t r)
{
    s.carryValue = 0;
    s.overflowValue = 0;
    s.auxValue = 0;
    setSignZeroParity<Bits>(s, r);
    return r & Width<Bits>::mask;
}

// Returns the result; for CMP the caller does not store it.
template <int Bits>
inline uint32_t alu(V30State& s, int op, uint32_t a, uint32_t b)
{
    switch (op) {
    case aluAdd: return addFlags<Bits>(s, a, b, 0);
    case aluOr: return logicFlags<Bits>(s, a | b);
    case aluAdc: return addFlags<Bits>(s, a, b, s.carryValue ? 1 : 0);
    case aluSbb: return subFlags<Bits>(s, a, b, s.carryValue ? 1 : 0);
    case aluAnd: return logicFlags<Bits>(s, a & b);
    case aluSub: return subFlags<Bits>(s, a, b, 0);
    case aluXor: return logicFlags<Bits>(s, a ^ b);
    default: subFlags<Bits>(s, a, b, 0); return a;
    }
}

// INC and DEC leave CF alone.
template <int Bits>
inline uint32_t increment(V30State& s, uint32_t a)
{
    uint32_t carry = s.carryValue;
    uint32_t r = addFlags<Bits>(s, a, 1, 0);
    s.carryValue = carry;
    return r;
}
template <int Bits>
inline uint32_t decrement(V30State& s, uint32_t a)
{
    uint32_t carry = s.carryValue;
    uint32_t r = subFlags<Bits>(s, a, 1, 0);
    s.carryValue = carry;
    return r;
}

// The shift and rotate group (reg field: ROL ROR RCL RCR SHL SHR SHL SAR). The count is not
// masked, as on the 8086; a count of 0 changes nothing, not even the flags.
template <int Bits>
inline uint32_t shiftRotate(V30State& s, int op, uint32_t v, uint32_t count)
{
    using W = Width<Bits>;
    if (count == 0)
        return v;
    uint32_t cf = s.carryValue ? 1 : 0;
    switch (op) {
    case 0: // ROL
        for (uint32_t i = 0; i < count; ++i) {
            cf = (v & W::signBit) ? 1 : 0;
            v = ((v << 1) | cf) & W::mask;
        }
        s.overflowValue = ((v & W::signBit) ? 1 : 0) ^ cf;
        break;
    case 1: // ROR
        for (uint32_t i = 0; i < count; ++i) {
            cf = v & 1;
            v = (v >> 1) | (cf ? W::signBit : 0);
        }
        s.overflowValue = (v ^ (v << 1)) & W::signBit;
        break;
    case 2: // RCL
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t out = (v & W::signBit) ? 1 : 0;
            v = ((v << 1) | cf) & W::mask;
            cf = out;
        }
        s.overflowValue = ((v & W::signBit) ? 1 : 0) ^ cf;
        break;
    case 3: // RCR
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t out = v & 1;
            v = (v >> 1) | (cf ? W::signBit : 0);
            cf = out;
        }
        s.overflowValue = (v ^ (v << 1)) & W::signBit;
        break;
    case 4:
    case 6: // SHL (6 is its undocumented twin)
        for (uint32_t i = 0; i < count; ++i) {
            cf = (v & W::signBit) ? 1 : 0;
            v = (v << 1) & W::mask;
        }
        s.overflowValue = ((v & W::signBit) ? 1 : 0) ^ cf;
        s.auxValue = 0;
        setSignZeroParity<Bits>(s, v);
        break;
    case 5:                               // SHR
        s.overflowValue = v & W::signBit; // the sign before the first step
        for (uint32_t i = 0; i < count; ++i) {
            cf = v & 1;
            v >>= 1;
        }
        s.auxValue = 0;
        setSignZeroParity<Bits>(s, v);
        break;
    default: // SAR
        for (uint32_t i = 0; i < count; ++i) {
            cf = v & 1;
            v = (v >> 1) | (v & W::signBit);
        }
        s.overflowValue = 0;
        s.auxValue = 0;
        setSignZeroParity<Bits>(s, v);
        break;
    }
    s.carryValue = cf;
    return v;
}

// --- decimal adjustments of AL (8086 behaviour, including its thresholds after a half carry)

inline void decimalAdjustAdd(V30State& s) // DAA
{
    uint8_t al = s.reg8(0), oldAl = al;
    bool oldCarry = s.carryValue != 0, oldAux = s.auxValue != 0;
    bool carry = false;
    if ((al & 0x0F) > 9 || oldAux) {
        al = uint8_t(al + 6);
        s.auxValue = 1;
    } else {
        s.auxValue = 0;
    }
    if (oldAl > (oldAux ? 0x9F : 0x99) || oldCarry) {
        al = uint8_t(al + 0x60);
        carry = true;
    }
    s.carryValue = carry;
    s.overflowValue = (~oldAl & al & 0x80);
    setSignZeroParity<8>(s, al);
    s.reg8(0) = al;
}

inline void decimalAdjustSubtract(V30State& s) // DAS
{
    uint8_t al = s.reg8(0), oldAl = al;
    bool oldCarry = s.carryValue != 0, oldAux = s.auxValue != 0;
    bool carry = false;
    if ((al & 0x0F) > 9 || oldAux) {
        al = uint8_t(al - 6);
        s.auxValue = 1;
    } else {
        s.auxValue = 0;
    }
    if (oldAl > (oldAux ? 0x9F : 0x99) || oldCarry) {
        al = uint8_t(al - 0x60);
        carry = true;
    }
    s.carryValue = carry;
    s.overflowValue = (oldAl & ~al & 0x80);
    setSignZeroParity<8>(s, al);
    s.reg8(0) = al;
}

// AAA (add = true) and AAS: the adjustment of AL, a carry into or borrow from AH.
inline void asciiAdjust(V30State& s, bool add)
{
    uint8_t al = s.reg8(0);
    if ((al & 0x0F) > 9 || s.auxValue) {
        s.reg8(0) = uint8_t(add ? al + 6 : al - 6);
        s.reg8(4) = uint8_t(add ? s.reg8(4) + 1 : s.reg8(4) - 1);
        s.auxValue = s.carryValue = 1;
    } else {
        s.auxValue = s.carryValue = 0;
    }
    s.reg8(0) &= 0x0F;
    setSignZeroParity<8>(s, s.reg8(0));
    s.overflowValue = 0;
}

} // namespace vortastr::v30
