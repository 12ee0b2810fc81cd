#pragma once
// Straightforward dequantisation and inverse transform, written from the format's arithmetic without
// any shortcut, to check the decoder's fast versions byte for byte.

#include <cstdint>

#include "core/mdec_tables.h"

namespace reelcast::test {

inline void referenceDequantise(const int16_t* src, int16_t* dst, int scale)
{
    for (int i = 0; i < 64; ++i)
        dst[i] = 0;
    dst[0] = int16_t(src[0] * int(kQuantMatrix[0]) / 16);
    for (int i = 1; i < 64; ++i) {
        const int z = kZigzag[i];
        dst[z] = int16_t(int64_t(kQuantMatrix[z]) * src[i] * scale / 16);
    }
}

inline void referenceIdct(const int16_t* in, int16_t* out)
{
    int64_t t[8][8];
    for (int c = 0; c < 8; ++c)
        for (int x = 0; x < 8; ++x) {
            int64_t sum = 0;
            for (int k = 0; k < 8; ++k)
                sum += (int64_t(in[k * 8 + c]) * kNormalisation[k] / 4096) * kCosine[x][k];
            t[x][c] = sum / 16384;
        }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int64_t sum = 0;
            for (int j = 0; j < 8; ++j)
                sum += (t[y][j] * kNormalisation[j] / 4096) * kCosine[x][j];
            out[y * 8 + x] = int16_t(sum / 262144);
        }
}

} // namespace reelcast::test
