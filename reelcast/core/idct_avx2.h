#pragma once
// AVX2 version of the inverse transform for blocks whose sums fit in 32 bits (nearly all of them).

#include <cstdint>

namespace reelcast {

// True when this build has the AVX2 transform and the processor runs it.
bool avx2TransformAvailable();

// The transform of idctSparse with eight 32-bit lanes. Returns false, without a result, when a sum
// might leave 32 bits; the caller then takes the 64-bit path.
bool idctNarrowAvx2(const int16_t* in, const uint8_t* colRows, int16_t* out);

} // namespace reelcast
