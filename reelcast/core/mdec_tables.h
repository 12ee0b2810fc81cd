#pragma once
// Constant tables of the motion-decoder picture format: scan order, quantisation, the integer
// cosine transform and the variable-length codes.

#include <cstdint>

namespace reelcast {

struct RunLevel {
    uint8_t run;
    int16_t level;
};

extern const uint8_t kZigzag[64];            // scan position -> natural (row-major) position
extern const uint8_t kQuantMatrix[64];       // natural order
extern const int32_t kCosine[8][8];          // T[x][k] = trunc(16384 cos((2x+1) k pi / 16))
extern const int32_t kNormalisation[8];      // N[k]

// Coefficient code subtables, by the number z of leading zeros; each is indexed by the code bits
// after the first 1 followed by the sign bit (positive level first).
extern const RunLevel kCoeffZ1[4];     // 010xs
extern const RunLevel kCoeffZ2[8];     // 001xxs (first two entries unused)
extern const RunLevel kCoeffZ2Long[16];  // 00100xxxs
extern const RunLevel kCoeffZ3[8];     // 0001xxs
extern const RunLevel kCoeffZ4[8];     // 00001xxs
extern const RunLevel kCoeffZ6[16];    // 0000001xxxs
extern const RunLevel* const kCoeffLong[5];  // z = 7 to 11: 32 entries each, xxxxs

// DC size codes: the size (0 to 11) and code length for the code at the top of 10 peeked bits.
struct DcSize {
    uint8_t size;
    uint8_t length;
};
DcSize dcSizeLuminance(uint32_t top10);
DcSize dcSizeChrominance(uint32_t top10);

}  // namespace reelcast
