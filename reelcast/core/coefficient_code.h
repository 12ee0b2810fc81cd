#pragma once
// The DCT coefficient codes after a block's DC value: the MPEG-1 table with end of block "10", run 0
// level 1 as "11s", and an escape of "000001", a 6-bit run and a signed 10-bit level.

#include <array>
#include <bit>
#include <cstdint>

#include "core/mdec_tables.h"

namespace reelcast {

// A 10-bit two's-complement field (escape levels, version-2 DC values).
inline int16_t signed10(uint32_t raw) { return int16_t(raw & 0x200 ? int(raw) - 1024 : int(raw)); }

struct CoefficientCode {
    enum Kind : uint8_t { kPair, kEndOfBlock, kInvalid };
    int16_t level = 0;
    uint8_t run = 0;
    uint8_t length = 0; // bits the code takes (for an invalid code: the bits read before giving up)
    Kind kind = kPair;
};

// The code at the top of w: the zeros before the first 1 are counted (at most 14 bits read), and
// their number picks the subtable; 12 zeros or more are an invalid code.
CoefficientCode readCoefficientCode(uint32_t w);

// Every code of at most 11 bits (all but the escape and the rare long codes) by one look-up of the
// next 11 bits, packed in one word for the decoding loop: the length in bits 0-7 (0: not a short
// code), the run in bits 8-15 (kEndOfBlockRun for the end of block), the level in bits 16-31.
inline constexpr int kShortCodeBits = 11;
inline constexpr uint32_t kEndOfBlockRun = 0xFF;
extern const std::array<uint32_t, 1 << kShortCodeBits> kShortCodeWords;

// The codes the short table leaves out.
inline CoefficientCode longCoefficientCode(uint32_t w)
{
    if ((w >> 26) == 1) // the escape, frequent in finely quantised pictures
        return {signed10((w >> 10) & 1023), uint8_t((w >> 20) & 63), 22, CoefficientCode::kPair};
    const int z = std::countl_zero(w);
    if (z >= 7 && z <= 11) { // the long codes: z zeros, a 1, four code bits and the sign
        const RunLevel e = kCoeffLong[z - 7][(w << (z + 1)) >> 27];
        return {e.level, e.run, uint8_t(z + 6), CoefficientCode::kPair};
    }
    return readCoefficientCode(w);
}

} // namespace reelcast
