#pragma once
// Dequantisation and the separable integer inverse transform of one 8 x 8 block, with every
// division truncating toward zero as the format fixes it.

#include <cstdint>

namespace reelcast {

// src: 64 coefficients in scan order; dst: natural order.
void dequantise(const int16_t* src, int16_t* dst, int scale);
// Separable integer inverse transform of a natural-order block.
void idct(const int16_t* in, int16_t* out);

// The same two steps knowing where the coefficients are: positions lists the scan positions (1 to
// 63) that may be non-zero; colRows[c] gets bit k set for each non-zero dst[k * 8 + c].
void dequantiseSparse(const int16_t* src, const uint8_t* positions, int count, int scale, int16_t* dst,
                      uint8_t* colRows);
void idctSparse(const int16_t* in, const uint8_t* colRows, int16_t* out);
// The transform's output value for a block holding only its DC value.
int16_t flatBlockValue(int16_t dc);
// idctSparse takes its AVX2 path where available (on by default); tests turn it off to check the other.
extern bool useAvx2Transform;

} // namespace reelcast
