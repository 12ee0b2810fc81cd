#pragma once
// Flag arithmetic of the NMOS 6502: N and Z from a table, ADC and SBC in binary and decimal mode,
// compares, shifts and BIT.
#include "m6502_context.h"

#include <array>
#include <cstdint>

namespace vortastr::m6502 {

#if defined(__GNUC__)
#define M6502_INLINE inline __attribute__((always_inline))
#else
#define M6502_INLINE inline
#endif

// N and Z of every possible result.
constexpr std::array<uint8_t, 256> nzFlags = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
        t[v] = uint8_t((v & 0x80 ? m6502N : 0) | (v == 0 ? m6502Z : 0));
    return t;
}();

M6502_INLINE uint8_t setNz(uint8_t p, uint8_t value) { return uint8_t((p & ~(m6502N | m6502Z)) | nzFlags[value]); }

M6502_INLINE uint8_t setFlag(uint8_t p, uint8_t flag, bool on) { return on ? uint8_t(p | flag) : uint8_t(p & ~flag); }

// Binary addition with carry; sets N V Z C.
M6502_INLINE uint8_t addBinary(uint8_t a, uint8_t m, uint8_t& p)
{
    unsigned sum = unsigned(a) + m + (p & m6502C);
    uint8_t result = uint8_t(sum);
    uint8_t flags = uint8_t(p & ~(m6502N | m6502V | m6502Z | m6502C));
    flags |= nzFlags[result];
    if (~(a ^ m) & (a ^ result) & 0x80)
        flags |= m6502V;
    if (sum > 0xFF)
        flags |= m6502C;
    p = flags;
    return result;
}

// ADC: in decimal mode the NMOS part adjusts each nibble; Z still follows the binary sum and
// N and V come from the sum after the low-nibble adjustment, before the high one.
M6502_INLINE uint8_t add(uint8_t a, uint8_t m, uint8_t& p)
{
    if (!(p & m6502D))
        return addBinary(a, m, p);
    unsigned carry = p & m6502C;
    unsigned low = (a & 0x0F) + (m & 0x0F) + carry;
    unsigned high = (a & 0xF0) + (m & 0xF0);
    if (low > 0x09)
        low += 0x06;
    if (low > 0x0F)
        high += 0x10;
    uint8_t flags = uint8_t(p & ~(m6502N | m6502V | m6502Z | m6502C));
    if (uint8_t(a + m + carry) == 0)
        flags |= m6502Z;
    if (high & 0x80)
        flags |= m6502N;
    if (~(a ^ m) & (a ^ high) & 0x80)
        flags |= m6502V;
    if (high > 0x90)
        high += 0x60;
    if (high > 0xFF)
        flags |= m6502C;
    p = flags;
    return uint8_t((high & 0xF0) | (low & 0x0F));
}

// SBC: the flags are those of the binary subtraction in both modes; decimal mode only adjusts
// the result.
M6502_INLINE uint8_t subtract(uint8_t a, uint8_t m, uint8_t& p)
{
    uint8_t borrow = uint8_t(~p & m6502C);
    uint8_t binary = addBinary(a, uint8_t(~m), p);
    if (!(p & m6502D))
        return binary;
    int low = (a & 0x0F) - (m & 0x0F) - borrow;
    int high = (a & 0xF0) - (m & 0xF0);
    if (low < 0) {
        low -= 0x06;
        high -= 0x10;
    }
    if (high < 0)
        high -= 0x60;
    return uint8_t((high & 0xF0) | (low & 0x0F));
}

// CMP, CPX, CPY: N Z from register - operand, C when no borrow.
M6502_INLINE uint8_t compare(uint8_t reg, uint8_t m, uint8_t p)
{
    p = setNz(p, uint8_t(reg - m));
    return setFlag(p, m6502C, reg >= m);
}

M6502_INLINE uint8_t bitTest(uint8_t a, uint8_t m, uint8_t p)
{
    p = uint8_t(p & ~(m6502N | m6502V | m6502Z));
    p |= m & (m6502N | m6502V);
    if ((a & m) == 0)
        p |= m6502Z;
    return p;
}

M6502_INLINE uint8_t shiftLeft(uint8_t v, uint8_t& p)
{
    uint8_t result = uint8_t(v << 1);
    p = setFlag(setNz(p, result), m6502C, v & 0x80);
    return result;
}

M6502_INLINE uint8_t shiftRight(uint8_t v, uint8_t& p)
{
    uint8_t result = uint8_t(v >> 1);
    p = setFlag(setNz(p, result), m6502C, v & 0x01);
    return result;
}

M6502_INLINE uint8_t rotateLeft(uint8_t v, uint8_t& p)
{
    uint8_t result = uint8_t((v << 1) | (p & m6502C));
    p = setFlag(setNz(p, result), m6502C, v & 0x80);
    return result;
}

M6502_INLINE uint8_t rotateRight(uint8_t v, uint8_t& p)
{
    uint8_t result = uint8_t((v >> 1) | ((p & m6502C) << 7));
    p = setFlag(setNz(p, result), m6502C, v & 0x01);
    return result;
}

} // namespace vortastr::m6502
