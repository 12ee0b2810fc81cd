#pragma once
// Constant tables of the motion-decoder picture format: scan order, quantisation, the integer
// cosine transform and the variable-length codes.

#include <array>
#include <cstdint>

namespace reelcast {

struct RunLevel {
    uint8_t run;
    int16_t level;
};

// clang-format off
// Scan position -> natural (row-major) position.
inline constexpr uint8_t kZigzag[64] = {
     0,  1,  8, 16,  9,  2,  3, 10,
    17, 24, 32, 25, 18, 11,  4,  5,
    12, 19, 26, 33, 40, 48, 41, 34,
    27, 20, 13,  6,  7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46,
    53, 60, 61, 54, 47, 55, 62, 63,
};

// Natural order: the MPEG-1 default intra matrix with 16 as its first entry.
inline constexpr uint8_t kQuantMatrix[64] = {
    16, 16, 19, 22, 26, 27, 29, 34,
    16, 16, 22, 24, 27, 29, 34, 37,
    19, 22, 26, 27, 29, 34, 34, 38,
    22, 22, 26, 27, 29, 34, 37, 40,
    22, 26, 27, 29, 32, 35, 40, 48,
    26, 27, 29, 32, 35, 40, 48, 58,
    26, 27, 29, 34, 38, 46, 56, 69,
    27, 29, 35, 38, 46, 56, 69, 83,
};

// T[x][k] = trunc(16384 cos((2x + 1) k pi / 16)).
inline constexpr int32_t kCosine[8][8] = {
    { 16384,  16069,  15136,  13622,  11585,   9102,   6269,   3196},
    { 16384,  13622,   6269,  -3196, -11585, -16069, -15136,  -9102},
    { 16384,   9102,  -6269, -16069, -11585,   3196,  15136,  13622},
    { 16384,   3196, -15136,  -9102,  11585,  13622,  -6269, -16069},
    { 16384,  -3196, -15136,   9102,  11585, -13622,  -6269,  16069},
    { 16384,  -9102,  -6269,  16069, -11585,  -3196,  15136, -13622},
    { 16384, -13622,   6269,   3196, -11585,  16069, -15136,   9102},
    { 16384, -16069,  15136, -13622,  11585,  -9102,   6269,  -3196},
};

// kCosine by input: kCosineByInput[k][x] = T[x][k], the eight outputs of one input side by side.
alignas(32) inline constexpr auto kCosineByInput = [] {
    std::array<std::array<int32_t, 8>, 8> t{};
    for (int x = 0; x < 8; ++x)
        for (int k = 0; k < 8; ++k) t[k][x] = kCosine[x][k];
    return t;
}();

// N[k].
inline constexpr int32_t kNormalisation[8] = {8191, 11585, 11585, 11585, 11585, 11585, 11585, 11585};

// clang-format on

// Coefficient code subtables, by the number z of leading zeros; each is indexed by the code bits
// after the first 1 followed by the sign bit (positive level first).
extern const RunLevel kCoeffZ1[4];          // 010xs
extern const RunLevel kCoeffZ2[8];          // 001xxs (first two entries unused)
extern const RunLevel kCoeffZ2Long[16];     // 00100xxxs
extern const RunLevel kCoeffZ3[8];          // 0001xxs
extern const RunLevel kCoeffZ4[8];          // 00001xxs
extern const RunLevel kCoeffZ6[16];         // 0000001xxxs
extern const RunLevel* const kCoeffLong[5]; // z = 7 to 11: 32 entries each, xxxxs

// DC size codes: the size (0 to 11) and code length for the code at the top of 10 peeked bits.
struct DcSize {
    uint8_t size;
    uint8_t length;
};
DcSize dcSizeLuminance(uint32_t top10);
DcSize dcSizeChrominance(uint32_t top10);

} // namespace reelcast
