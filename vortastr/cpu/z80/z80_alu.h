#pragma once
// Flag results of the Z80's arithmetic, logic, rotate and bit operations. F keeps the
// published layout S Z - H - P/V N C; bits 5 and 3 are not modelled and stay 0 in every
// result computed here.
#include <array>
#include <cstdint>

namespace vortastr::z80 {

constexpr uint8_t flagS = 0x80;
constexpr uint8_t flagZ = 0x40;
constexpr uint8_t flagH = 0x10;
constexpr uint8_t flagPV = 0x04;
constexpr uint8_t flagN = 0x02;
constexpr uint8_t flagC = 0x01;

struct FlagTables {
    std::array<uint8_t, 256> sz{};  // S and Z of a result
    std::array<uint8_t, 256> szp{}; // S, Z and even parity
};

constexpr FlagTables makeFlagTables()
{
    FlagTables t;
    for (int v = 0; v < 256; ++v) {
        uint8_t f = uint8_t((v & 0x80) | (v == 0 ? flagZ : 0));
        int bits = 0;
        for (int b = 0; b < 8; ++b)
            bits += (v >> b) & 1;
        t.sz[v] = f;
        t.szp[v] = uint8_t(f | ((bits & 1) == 0 ? flagPV : 0));
    }
    return t;
}

inline constexpr FlagTables flagTables = makeFlagTables();

inline uint8_t sz(uint8_t v) { return flagTables.sz[v]; }
inline uint8_t szp(uint8_t v) { return flagTables.szp[v]; }

// ADD/ADC (carry 0 or 1).
inline void add8(uint8_t& a, uint8_t& f, uint8_t v, unsigned carry)
{
    unsigned r = unsigned(a) + v + carry;
    f = uint8_t(sz(uint8_t(r)) | ((a ^ v ^ r) & flagH) | ((((a ^ r) & (v ^ r)) >> 5) & flagPV) | (r >> 8));
    a = uint8_t(r);
}

// The flags of SUB/SBC/CP; returns the 8-bit result.
inline uint8_t sub8Flags(uint8_t a, uint8_t& f, uint8_t v, unsigned carry)
{
    unsigned r = unsigned(a) - v - carry;
    f = uint8_t(sz(uint8_t(r)) | ((a ^ v ^ r) & flagH) | ((((a ^ v) & (a ^ r)) >> 5) & flagPV) | flagN |
                ((r >> 8) & flagC));
    return uint8_t(r);
}

inline void sub8(uint8_t& a, uint8_t& f, uint8_t v, unsigned carry) { a = sub8Flags(a, f, v, carry); }

inline void and8(uint8_t& a, uint8_t& f, uint8_t v)
{
    a &= v;
    f = uint8_t(szp(a) | flagH);
}

inline void xor8(uint8_t& a, uint8_t& f, uint8_t v)
{
    a ^= v;
    f = szp(a);
}

inline void or8(uint8_t& a, uint8_t& f, uint8_t v)
{
    a |= v;
    f = szp(a);
}

inline uint8_t inc8(uint8_t& f, uint8_t v)
{
    uint8_t r = uint8_t(v + 1);
    f = uint8_t((f & flagC) | sz(r) | ((r & 0x0F) == 0 ? flagH : 0) | (r == 0x80 ? flagPV : 0));
    return r;
}

inline uint8_t dec8(uint8_t& f, uint8_t v)
{
    uint8_t r = uint8_t(v - 1);
    f = uint8_t((f & flagC) | sz(r) | flagN | ((r & 0x0F) == 0x0F ? flagH : 0) | (r == 0x7F ? flagPV : 0));
    return r;
}

// ADD rr,rr: S, Z and P/V kept.
inline uint16_t add16(uint8_t& f, uint16_t a, uint16_t v)
{
    unsigned r = unsigned(a) + v;
    f = uint8_t((f & (flagS | flagZ | flagPV)) | (((a ^ v ^ r) >> 8) & flagH) | (r >> 16));
    return uint16_t(r);
}

inline uint16_t adc16(uint8_t& f, uint16_t a, uint16_t v)
{
    unsigned r = unsigned(a) + v + (f & flagC);
    f = uint8_t(((r >> 8) & flagS) | ((r & 0xFFFF) == 0 ? flagZ : 0) | (((a ^ v ^ r) >> 8) & flagH) |
                ((((a ^ r) & (v ^ r)) >> 13) & flagPV) | (r >> 16));
    return uint16_t(r);
}

inline uint16_t sbc16(uint8_t& f, uint16_t a, uint16_t v)
{
    unsigned r = unsigned(a) - v - (f & flagC);
    f = uint8_t(((r >> 8) & flagS) | ((r & 0xFFFF) == 0 ? flagZ : 0) | (((a ^ v ^ r) >> 8) & flagH) |
                ((((a ^ v) & (a ^ r)) >> 13) & flagPV) | flagN | ((r >> 16) & flagC));
    return uint16_t(r);
}

inline void daa(uint8_t& a, uint8_t& f)
{
    uint8_t correction = 0;
    uint8_t carry = f & flagC;
    if ((f & flagH) || (a & 0x0F) > 9)
        correction |= 0x06;
    if (carry || a > 0x99) {
        correction |= 0x60;
        carry = flagC;
    }
    uint8_t half;
    uint8_t r;
    if (f & flagN) {
        half = (f & flagH) && (a & 0x0F) < 6 ? flagH : 0;
        r = uint8_t(a - correction);
    } else {
        half = (a & 0x0F) > 9 ? flagH : 0;
        r = uint8_t(a + correction);
    }
    f = uint8_t(szp(r) | half | (f & flagN) | carry);
    a = r;
}

// The CB-page shifts and rotates: result with S, Z, P/V from it, H and N cleared, C out.
// `kind` is bits 5-3 of the operation byte: RLC RRC RL RR SLA SRA SLL SRL.
inline uint8_t shiftRotate(uint8_t& f, unsigned kind, uint8_t v)
{
    uint8_t r;
    uint8_t carry;
    switch (kind) {
    case 0:
        carry = v >> 7;
        r = uint8_t(v << 1 | carry);
        break;
    case 1:
        carry = v & 1;
        r = uint8_t(v >> 1 | carry << 7);
        break;
    case 2:
        carry = v >> 7;
        r = uint8_t(v << 1 | (f & flagC));
        break;
    case 3:
        carry = v & 1;
        r = uint8_t(v >> 1 | (f & flagC) << 7);
        break;
    case 4:
        carry = v >> 7;
        r = uint8_t(v << 1);
        break;
    case 5:
        carry = v & 1;
        r = uint8_t((v >> 1) | (v & 0x80));
        break;
    case 6:
        carry = v >> 7;
        r = uint8_t(v << 1 | 1);
        break;
    default:
        carry = v & 1;
        r = uint8_t(v >> 1);
        break;
    }
    f = uint8_t(szp(r) | carry);
    return r;
}

// BIT n: Z and P/V set when the bit is clear, S only for a set bit 7, H set, C kept.
inline void bitTest(uint8_t& f, unsigned bit, uint8_t v)
{
    uint8_t tested = uint8_t(v & (1u << bit));
    f = uint8_t((f & flagC) | flagH | (tested ? (tested & flagS) : (flagZ | flagPV)));
}

} // namespace vortastr::z80
