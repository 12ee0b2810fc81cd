#include "core/mdec_tables.h"

#include <bit>

namespace reelcast {

// clang-format off
#define P(run, level) {run, level}, {run, -(level)}
#define NONE {0, 0}, {0, 0}

const RunLevel kCoeffZ1[4] = {P(0, 2), P(2, 1)};
const RunLevel kCoeffZ2[8] = {NONE, P(0, 3), P(4, 1), P(3, 1)};
const RunLevel kCoeffZ2Long[16] = {P(13, 1), P(0, 6), P(12, 1), P(11, 1), P(3, 2), P(1, 3), P(0, 5), P(10, 1)};
const RunLevel kCoeffZ3[8] = {P(7, 1), P(6, 1), P(1, 2), P(5, 1)};
const RunLevel kCoeffZ4[8] = {P(2, 2), P(9, 1), P(0, 4), P(8, 1)};
const RunLevel kCoeffZ6[16] = {P(16, 1), P(5, 2), P(0, 7), P(2, 3), P(1, 4), P(15, 1), P(14, 1), P(4, 2)};

static const RunLevel kCoeffZ7[32] = {
    P(0, 11), P(8, 2), P(4, 3), P(0, 10), P(2, 4), P(7, 2), P(21, 1), P(20, 1),
    P(0, 9), P(19, 1), P(18, 1), P(1, 5), P(3, 3), P(0, 8), P(6, 2), P(17, 1),
};
static const RunLevel kCoeffZ8[32] = {
    P(10, 2), P(9, 2), P(5, 3), P(3, 4), P(2, 5), P(1, 7), P(1, 6), P(0, 15),
    P(0, 14), P(0, 13), P(0, 12), P(26, 1), P(25, 1), P(24, 1), P(23, 1), P(22, 1),
};
static const RunLevel kCoeffZ9[32] = {
    P(0, 31), P(0, 30), P(0, 29), P(0, 28), P(0, 27), P(0, 26), P(0, 25), P(0, 24),
    P(0, 23), P(0, 22), P(0, 21), P(0, 20), P(0, 19), P(0, 18), P(0, 17), P(0, 16),
};
static const RunLevel kCoeffZ10[32] = {
    P(0, 40), P(0, 39), P(0, 38), P(0, 37), P(0, 36), P(0, 35), P(0, 34), P(0, 33),
    P(0, 32), P(1, 14), P(1, 13), P(1, 12), P(1, 11), P(1, 10), P(1, 9), P(1, 8),
};
static const RunLevel kCoeffZ11[32] = {
    P(1, 18), P(1, 17), P(1, 16), P(1, 15), P(6, 3), P(16, 2), P(15, 2), P(14, 2),
    P(13, 2), P(12, 2), P(11, 2), P(31, 1), P(30, 1), P(29, 1), P(28, 1), P(27, 1),
};
// clang-format on

#undef P
#undef NONE

const RunLevel* const kCoeffLong[5] = {kCoeffZ7, kCoeffZ8, kCoeffZ9, kCoeffZ10, kCoeffZ11};

// Luminance: 00 -> 1, 01 -> 2, 100 -> 0, 101 -> 3, 110 -> 4, then k ones and a zero -> k + 2,
// nine ones -> 11.
DcSize dcSizeLuminance(uint32_t top10)
{
    int ones = std::countl_one(uint16_t(top10 << 6));
    switch (ones) {
    case 0: return {uint8_t(1 + ((top10 >> 8) & 1)), 2};
    case 1: return {uint8_t((top10 >> 7) & 1 ? 3 : 0), 3};
    case 2: return {4, 3};
    default: return ones >= 9 ? DcSize{11, 9} : DcSize{uint8_t(ones + 2), uint8_t(ones + 1)};
    }
}

// Chrominance: 00 -> 0, 01 -> 1, 10 -> 2, then k ones and a zero -> k + 1, ten ones -> 11.
DcSize dcSizeChrominance(uint32_t top10)
{
    int ones = std::countl_one(uint16_t(top10 << 6));
    switch (ones) {
    case 0: return {uint8_t((top10 >> 8) & 1), 2};
    case 1: return {2, 2};
    default: return ones >= 10 ? DcSize{11, 10} : DcSize{uint8_t(ones + 1), uint8_t(ones + 1)};
    }
}

} // namespace reelcast
