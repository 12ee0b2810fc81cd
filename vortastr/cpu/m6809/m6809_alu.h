#pragma once
// Condition codes and arithmetic of the 6809 engine. While executing, the engine keeps each
// flag in its own byte (0 or 1) so that results set them with plain stores; the published CC
// byte (E F H I N Z V C, bit 7 to bit 0) is built only where it leaves the engine.
#include <cstdint>

namespace vortastr::m6809 {

struct Flags {
    uint8_t e = 0, f = 1, h = 0, i = 1, n = 0, z = 0, v = 0, c = 0;
};

constexpr uint8_t packCc(const Flags& fl)
{
    return uint8_t(fl.e << 7 | fl.f << 6 | fl.h << 5 | fl.i << 4 | fl.n << 3 | fl.z << 2 | fl.v << 1 | fl.c);
}

constexpr Flags unpackCc(uint8_t cc)
{
    Flags fl;
    fl.e = cc >> 7 & 1;
    fl.f = cc >> 6 & 1;
    fl.h = cc >> 5 & 1;
    fl.i = cc >> 4 & 1;
    fl.n = cc >> 3 & 1;
    fl.z = cc >> 2 & 1;
    fl.v = cc >> 1 & 1;
    fl.c = cc & 1;
    return fl;
}

inline void setNz8(Flags& fl, uint8_t r)
{
    fl.n = r >> 7;
    fl.z = r == 0;
}

inline void setNz16(Flags& fl, uint16_t r)
{
    fl.n = r >> 15;
    fl.z = r == 0;
}

// Loads, stores and logic: N Z from the value, V cleared.
inline uint8_t logic8(Flags& fl, uint8_t r)
{
    setNz8(fl, r);
    fl.v = 0;
    return r;
}

inline uint16_t logic16(Flags& fl, uint16_t r)
{
    setNz16(fl, r);
    fl.v = 0;
    return r;
}

inline uint8_t add8(Flags& fl, uint8_t a, uint8_t b, unsigned carry)
{
    const unsigned r = a + b + carry;
    fl.h = ((a ^ b ^ r) >> 4) & 1;
    fl.n = (r >> 7) & 1;
    fl.z = (r & 0xFF) == 0;
    fl.v = ((~(a ^ b) & (a ^ r)) >> 7) & 1;
    fl.c = (r >> 8) & 1;
    return uint8_t(r);
}

// SUB, SBC, CMP and NEG; H is left alone.
inline uint8_t sub8(Flags& fl, uint8_t a, uint8_t b, unsigned borrow)
{
    const unsigned r = unsigned(a) - b - borrow;
    fl.n = (r >> 7) & 1;
    fl.z = (r & 0xFF) == 0;
    fl.v = (((a ^ b) & (a ^ r)) >> 7) & 1;
    fl.c = (r >> 8) & 1;
    return uint8_t(r);
}

inline uint16_t add16(Flags& fl, uint16_t a, uint16_t b)
{
    const uint32_t r = uint32_t(a) + b;
    fl.n = (r >> 15) & 1;
    fl.z = (r & 0xFFFF) == 0;
    fl.v = ((~(a ^ b) & (a ^ r)) >> 15) & 1;
    fl.c = (r >> 16) & 1;
    return uint16_t(r);
}

inline uint16_t sub16(Flags& fl, uint16_t a, uint16_t b)
{
    const uint32_t r = uint32_t(a) - b;
    fl.n = (r >> 15) & 1;
    fl.z = (r & 0xFFFF) == 0;
    fl.v = (((a ^ b) & (a ^ r)) >> 15) & 1;
    fl.c = (r >> 16) & 1;
    return uint16_t(r);
}

// The read-modify-write group (memory, A or B).
inline uint8_t neg8(Flags& fl, uint8_t m) { return sub8(fl, 0, m, 0); }

inline uint8_t com8(Flags& fl, uint8_t m)
{
    fl.c = 1;
    return logic8(fl, uint8_t(~m));
}

inline uint8_t lsr8(Flags& fl, uint8_t m)
{
    fl.c = m & 1;
    m >>= 1;
    setNz8(fl, m);
    return m;
}

inline uint8_t ror8(Flags& fl, uint8_t m)
{
    const uint8_t r = uint8_t(fl.c << 7 | m >> 1);
    fl.c = m & 1;
    setNz8(fl, r);
    return r;
}

inline uint8_t asr8(Flags& fl, uint8_t m)
{
    const uint8_t r = uint8_t((m & 0x80) | m >> 1);
    fl.c = m & 1;
    setNz8(fl, r);
    return r;
}

inline uint8_t asl8(Flags& fl, uint8_t m)
{
    const uint8_t r = uint8_t(m << 1);
    fl.c = m >> 7;
    fl.v = ((m ^ r) >> 7) & 1;
    setNz8(fl, r);
    return r;
}

inline uint8_t rol8(Flags& fl, uint8_t m)
{
    const uint8_t r = uint8_t(m << 1 | fl.c);
    fl.c = m >> 7;
    fl.v = ((m ^ r) >> 7) & 1;
    setNz8(fl, r);
    return r;
}

inline uint8_t dec8(Flags& fl, uint8_t m)
{
    const uint8_t r = uint8_t(m - 1);
    fl.v = m == 0x80;
    setNz8(fl, r);
    return r;
}

inline uint8_t inc8(Flags& fl, uint8_t m)
{
    const uint8_t r = uint8_t(m + 1);
    fl.v = m == 0x7F;
    setNz8(fl, r);
    return r;
}

inline uint8_t clr8(Flags& fl)
{
    fl.n = 0;
    fl.z = 1;
    fl.v = 0;
    fl.c = 0;
    return 0;
}

// Decimal adjust of A after a BCD addition.
inline uint8_t daa8(Flags& fl, uint8_t a)
{
    unsigned adjust = 0;
    const unsigned low = a & 0x0F, high = a >> 4;
    if (fl.h || low > 9)
        adjust |= 0x06;
    if (fl.c || high > 9 || (high > 8 && low > 9))
        adjust |= 0x60;
    const unsigned r = a + adjust;
    fl.c |= (r >> 8) & 1;
    fl.v = 0;
    setNz8(fl, uint8_t(r));
    return uint8_t(r);
}

// Condition of the branch opcodes x0..xF (BRA BRN BHI BLS BCC BCS BNE BEQ BVC BVS BPL BMI BGE BLT BGT BLE).
inline bool branchTaken(const Flags& fl, unsigned condition)
{
    bool result;
    switch (condition >> 1) {
    case 0: result = true; break;
    case 1: result = !(fl.c | fl.z); break;
    case 2: result = !fl.c; break;
    case 3: result = !fl.z; break;
    case 4: result = !fl.v; break;
    case 5: result = !fl.n; break;
    case 6: result = !(fl.n ^ fl.v); break;
    default: result = !((fl.n ^ fl.v) | fl.z); break;
    }
    return (condition & 1) ? !result : result;
}

} // namespace vortastr::m6809
